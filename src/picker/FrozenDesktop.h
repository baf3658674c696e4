#pragma once

#include "color/bascommon.h"
#include "platform/Services.h"

#include <QImage>
#include <QPoint>
#include <QRect>

class QScreen;

// The desktop as it was when the picker started. Every sample is read from this image, never
// from the screen again, so that the overlay picks exactly what it shows.
class FrozenDesktop
{
public:
    explicit FrozenDesktop(DesktopImage desktop);

    // Where a screen's pixels lie within the image, and how many image pixels one logical pixel
    // of the screen spans (the screen's device pixel ratio for a grab; the image's own scale for
    // a picture of the logical layout, which may differ from the screen's ratio).
    struct Placement {
        QRect area;
        qreal scale = 1.0;
    };
    Placement placementOf(const QScreen& screen) const;

    // The desktop device pixel an image pixel holds: the pixel a pick there reads, counted from
    // the top-left of the desktop's device pixels (for a picture of the logical layout, at the
    // picture's own scale, which is the screens' real one where the toolkit rounds it).
    QPoint desktopPixelOf(QPoint pixel) const;
    // The color of an image pixel; black outside the image (a point no screen covered).
    // Reads one word of the image and allocates nothing.
    bascommon::ColorValue colorAt(QPoint pixel) const
    {
        if (!m_image.valid(pixel))
            return 0;
        const QRgb rgb = reinterpret_cast<const QRgb*>(m_image.constScanLine(pixel.y()))[pixel.x()];
        return bascommon::RGB(qRed(rgb), qGreen(rgb), qBlue(rgb));
    }
    // The mean color of the size x size pixels centred on `center`, per channel, rounded half
    // up; only the pixels inside `within` (and the image) count. Black when none does.
    bascommon::ColorValue averageAt(QPoint center, int size, QRect within) const;
    const QImage& image() const { return m_image; }

private:
    QImage m_image; // Format_RGB32 or one of the 32-bit ARGB formats, read as QRgb
    QPoint m_origin;
    qreal m_layoutScale;
};
