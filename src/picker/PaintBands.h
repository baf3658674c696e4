#pragma once

#include <QRect>

#include <algorithm>

// Qt's raster engine hands a fill or blend of more than about 96 rows over a clip that is not
// one rectangle (as a paint event's region often is) to its thread pool, which allocates on
// every call and waits for the threads. Painting a large area in bands of at most this many
// device rows keeps every call on the painting thread and allocation-free.
constexpr int paintBandRows = 32;

// Calls `paint` with the bands of `rows` rows (at least one) that make up `area`, top down.
template <typename Paint> void forEachBand(const QRect& area, int rows, Paint&& paint)
{
    rows = std::max(1, rows);
    for (int top = area.top(); top <= area.bottom(); top += rows)
        paint(QRect(area.left(), top, area.width(), std::min(rows, area.bottom() + 1 - top)));
}
