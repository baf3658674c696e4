#pragma once

#include "color/bascommon.h"
#include "platform/Services.h"

#include <QImage>
#include <QPoint>
#include <QRect>

class QScreen;

// The desktop as it was when the picker started, in device pixels. Every sample is read from
// this image, never from the screen again, so that the overlay picks exactly what it shows.
class FrozenDesktop
{
public:
    explicit FrozenDesktop(DesktopImage desktop);

    // Where the screen's pixels lie within the image.
    QRect screenRect(const QScreen& screen) const;
    // The color of an image pixel; black outside the image (a point no screen covered).
    // Reads one word of the image and allocates nothing.
    bascommon::ColorValue colorAt(QPoint pixel) const
    {
        if (!m_image.valid(pixel))
            return 0;
        const QRgb rgb = reinterpret_cast<const QRgb*>(m_image.constScanLine(pixel.y()))[pixel.x()];
        return bascommon::RGB(qRed(rgb), qGreen(rgb), qBlue(rgb));
    }
    const QImage& image() const { return m_image; }

private:
    QImage m_image; // Format_RGB32 or one of the 32-bit ARGB formats, read as QRgb
    QPoint m_origin;
};
