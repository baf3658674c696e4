#pragma once

#include <QFontMetrics>
#include <QWidget>

// The layout is measured for a narrow UI font; where the system font is wider, a caption that
// would be cut off gets a smaller font, half a point at a time down to `minimum`.
inline void fitFontToWidth(QWidget* widget, const QString& text, int width, qreal minimum = 6.5)
{
    QFont font = widget->font();
    while (QFontMetrics(font).horizontalAdvance(text) > width && font.pointSizeF() > minimum)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    widget->setFont(font);
}
