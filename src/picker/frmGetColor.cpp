#include "picker/frmGetColor.h"
#include "platform/Widgets.h"

#include "picker/FrozenDesktop.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QScreen>

#include <cmath>

using namespace bascommon;

namespace
{

int rounded(qreal value)
{
    return int(std::lrint(value));
}

} // namespace

void SampleIndicator::paint(QPainter& painter) const
{
    // A black and a white ring keep the shape visible on any background, black and white too.
    const QRect area = geometry();
    painter.fillRect(area, Qt::black);
    painter.fillRect(area.adjusted(1, 1, -1, -1), Qt::white);
    painter.fillRect(area.adjusted(2, 2, -2, -2), toQColor(m_color));
}

QCursor eyedropperCursor()
{
    constexpr int size = 32;
    constexpr QPoint hotSpot(11, 20);
    QPixmap image(size, size);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    // Two colours and hard edges, as a cursor image is; drawn along the dropper's axis, which
    // runs from the tip at the hot spot up to the right.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.translate(hotSpot);
    painter.rotate(-45);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    QPainterPath glass;
    glass.moveTo(1, 0);
    glass.lineTo(4, -2);
    glass.lineTo(13, -2);
    glass.lineTo(13, 2);
    glass.lineTo(4, 2);
    glass.closeSubpath();
    painter.drawPath(glass);
    painter.drawLine(QPointF(0, 0), QPointF(2, 0));
    painter.setBrush(Qt::black);
    painter.drawRect(QRectF(13, -3.5, 2.5, 7));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(15.5, -3, 9, 6), 3, 3);
    painter.resetTransform();
    painter.setPen(Qt::black);
    painter.drawPoint(hotSpot);
    painter.end();
    return QCursor(image, hotSpot.x(), hotSpot.y());
}

frmGetColor::frmGetColor(const FrozenDesktop& desktop, QScreen* screen)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_desktop(desktop), m_screen(screen), m_screenInImage(desktop.screenRect(*screen)),
      m_ratio(screen->devicePixelRatio())
{
    setObjectName("frmGetColor");
    setScreen(screen);
    setGeometry(screen->geometry());
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setCursor(eyedropperCursor());
}

QPoint frmGetColor::imageTopLeft() const
{
    // Normally the window lies exactly on its screen; should the window manager have placed it
    // elsewhere, painting and sampling still agree with each other.
    const QPoint offset = geometry().topLeft() - m_screen->geometry().topLeft();
    return m_screenInImage.topLeft() +
           QPoint(rounded(offset.x() * m_ratio), rounded(offset.y() * m_ratio));
}

QPoint frmGetColor::imagePixelAt(QPointF position) const
{
    // Pointer positions are whole device pixels divided by the ratio, so this is exact.
    return imageTopLeft() +
           QPoint(rounded(position.x() * m_ratio), rounded(position.y() * m_ratio));
}

void frmGetColor::hideIndicator()
{
    if (!m_shpshow.m_visible)
        return;
    m_shpshow.m_visible = false;
    update(m_shpshow.geometry());
}

void frmGetColor::placeIndicator(QPoint topLeft, ColorValue color)
{
    SampleIndicator& shape = m_shpshow;
    if (shape.m_visible && shape.m_topLeft == topLeft && shape.m_color == color)
        return;
    // Two small areas, where it was and where it goes; never the stretch between them.
    if (shape.m_visible)
        update(shape.geometry());
    shape.m_topLeft = topLeft;
    shape.m_color = color;
    shape.m_visible = true;
    update(shape.geometry());
}

void frmGetColor::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QPoint topLeft = imageTopLeft();
    const QRectF image(m_desktop.image().rect());
    for (const QRect& area : event->region()) {
        const QRectF source(topLeft.x() + area.x() * m_ratio, topLeft.y() + area.y() * m_ratio,
                            area.width() * m_ratio, area.height() * m_ratio);
        if (!image.contains(source))
            painter.fillRect(area, Qt::black);
        painter.drawImage(QRectF(area), m_desktop.image(), source);
    }
    if (m_shpshow.m_visible && event->region().intersects(m_shpshow.geometry()))
        m_shpshow.paint(painter);
}

void frmGetColor::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF position = event->position();
    const ColorValue color = m_desktop.colorAt(imagePixelAt(position));
    placeIndicator(QPoint(rounded(position.x()) + 10, rounded(position.y()) - 36), color);
    emit colorSampled(color);
}

void frmGetColor::mouseReleaseEvent(QMouseEvent*)
{
    emit picked();
}

void frmGetColor::keyPressEvent(QKeyEvent* event)
{
    // The one way out should the pick-and-save window ever end up out of reach.
    if (event->key() == Qt::Key_Escape)
        emit stopRequested();
    else
        QWidget::keyPressEvent(event);
}
