#include "picker/FrozenDesktop.h"

#include "platform/DesktopCapture.h"

FrozenDesktop::FrozenDesktop(DesktopImage desktop)
    : m_image(std::move(desktop.image)), m_origin(desktop.origin)
{
    // Samples read the pixels as 32-bit words; convert once here, never per sample.
    switch (m_image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        break;
    default:
        m_image.convertTo(QImage::Format_RGB32);
    }
    m_image.setDevicePixelRatio(1.0);
}

QRect FrozenDesktop::screenRect(const QScreen& screen) const
{
    return screenDeviceRect(screen).translated(-m_origin);
}
