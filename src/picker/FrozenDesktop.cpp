#include "picker/FrozenDesktop.h"

#include "platform/DesktopCapture.h"

#include <QScreen>

#include <cmath>

FrozenDesktop::FrozenDesktop(DesktopImage desktop)
    : m_image(std::move(desktop.image)), m_origin(desktop.origin),
      m_layoutScale(desktop.layoutScale)
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

FrozenDesktop::Placement FrozenDesktop::placementOf(const QScreen& screen) const
{
    if (m_layoutScale <= 0)
        return {screenDeviceRect(screen).translated(-m_origin), screen.devicePixelRatio()};
    return {scaledRect(screen.geometry().translated(-m_origin), m_layoutScale), m_layoutScale};
}

QPoint FrozenDesktop::desktopPixelOf(QPoint pixel) const
{
    if (m_layoutScale <= 0)
        return m_origin + pixel;
    return pixel + QPoint(int(std::lrint(m_origin.x() * m_layoutScale)),
                          int(std::lrint(m_origin.y() * m_layoutScale)));
}

bascommon::ColorValue FrozenDesktop::averageAt(QPoint center, int size, QRect within) const
{
    const int half = size / 2;
    const QRect area = QRect(center.x() - half, center.y() - half, size, size)
                           .intersected(within)
                           .intersected(m_image.rect());
    if (area.isEmpty())
        return 0;
    int red = 0, green = 0, blue = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(m_image.constScanLine(y));
        for (int x = area.left(); x <= area.right(); ++x) {
            red += qRed(line[x]);
            green += qGreen(line[x]);
            blue += qBlue(line[x]);
        }
    }
    const int count = area.width() * area.height();
    const auto mean = [count](int sum) { return (2 * sum + count) / (2 * count); };
    return bascommon::RGB(mean(red), mean(green), mean(blue));
}
