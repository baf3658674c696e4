#include "picker/frmGetColor.h"
#include "picker/PaintBands.h"
#include "platform/Widgets.h"

#include "platform/DesktopCapture.h"

#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QScreen>

#include <algorithm>
#include <array>
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

frmGetColor::frmGetColor(const FrozenDesktop& desktop, QScreen* screen, const LoupeOptions& options)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_desktop(desktop), m_screen(screen), m_placement(desktop.placementOf(*screen)),
      m_deviceRect(screenDeviceRect(*screen)), m_ratio(screen->devicePixelRatio()),
      m_grid(m_placement.scale < m_ratio - 1e-9 ? m_placement.scale : m_ratio),
      m_gridSize(m_grid < m_ratio ? m_placement.area.size() : m_deviceRect.size()),
      m_options(options), m_loupe(new Loupe(desktop, m_ratio, this))
{
    setObjectName("frmGetColor");
    setScreen(screen);
    setGeometry(screen->geometry());
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(eyedropperCursor());
    m_loupe->setOptions(options);
}

QPoint frmGetColor::windowOffset() const
{
    // Normally the window lies exactly on its screen; should the window manager have placed it
    // elsewhere, painting and sampling still agree with each other.
    return geometry().topLeft() - m_screen->geometry().topLeft();
}

QPoint frmGetColor::imageTopLeft() const
{
    const QPoint offset = windowOffset();
    const qreal scale = m_placement.scale;
    return m_placement.area.topLeft() +
           QPoint(rounded(offset.x() * scale), rounded(offset.y() * scale));
}

QPoint frmGetColor::devicePixelAt(QPointF position) const
{
    // A whole device pixel divided by a ratio such as 1.5 comes back a hair below the whole
    // number when multiplied again; the tolerance is far below any real pointer fraction.
    constexpr qreal tolerance = 1e-6;
    const QPointF onScreen = position + QPointF(windowOffset());
    return QPoint(int(std::floor(onScreen.x() * m_grid + tolerance)),
                  int(std::floor(onScreen.y() * m_grid + tolerance)));
}

QPoint frmGetColor::imagePixelOf(QPoint device) const
{
    const QPoint topLeft = m_placement.area.topLeft();
    if (std::abs(m_placement.scale - m_grid) < 1e-9)
        return topLeft + device;
    // A picture finer than the screen's device pixels (a scale-1 screen in a picture of the
    // layout at 2): the image pixel under the device pixel's centre.
    const qreal factor = m_placement.scale / m_grid;
    return topLeft + QPoint(int(std::floor((device.x() + 0.5) * factor)),
                            int(std::floor((device.y() + 0.5) * factor)));
}

QPoint frmGetColor::pointerDevicePixel(const QSinglePointEvent& event) const
{
    // The overlay is a window of its own, so the position in the window is its own position;
    // unlike position(), which Qt rounds to whole logical pixels on the way from the window to
    // the widget, it keeps the fraction a Wayland compositor sends at a scale above 1.
    const QPoint device = devicePixelAt(event.scenePosition());
    // Where Qt hands out whole logical pixels only, the window system's own position is exact;
    // it is used unless the pointer has moved on since this event.
    if (const std::optional<QPoint> native =
            m_grid == m_ratio ? nativePointerPosition() : std::nullopt) {
        const QPoint exact = *native - m_deviceRect.topLeft();
        const int near = int(std::ceil(m_ratio));
        if (std::abs(exact.x() - device.x()) <= near && std::abs(exact.y() - device.y()) <= near)
            return exact;
    }
    return device;
}

std::optional<QPoint> frmGetColor::samplePoint() const
{
    return m_sample;
}

void frmGetColor::sampleAt(QPoint device, bool fromKeys)
{
    device.setX(std::clamp(device.x(), 0, m_gridSize.width() - 1));
    device.setY(std::clamp(device.y(), 0, m_gridSize.height() - 1));
    // What changes on the overlay itself: the crosshair and the indicator, where they were and
    // where they go.
    QRect dirty;
    if (m_fromKeys || fromKeys)
        addDirty(dirty, crosshairArea());
    m_sample = device;
    m_fromKeys = fromKeys;
    const QPoint pixel = imagePixelOf(device);
    const int size = m_options.sampleSize;
    const ColorValue color =
        size == 1 ? m_desktop.colorAt(pixel) : m_desktop.averageAt(pixel, size, m_placement.area);
    const QPoint anchor(int(std::floor(device.x() / m_grid + 1e-6)),
                        int(std::floor(device.y() / m_grid + 1e-6)));
    const QPoint at = anchor - windowOffset();
    placeIndicator(dirty, at + QPoint(10, -36), color);
    if (fromKeys)
        addDirty(dirty, crosshairArea());
    if (!dirty.isEmpty())
        update(dirty);
    const int reach = size / 2 + 2;
    const QRect keepClear =
        m_shpshow.geometry().united(QRect(at - QPoint(reach, reach), at + QPoint(reach, reach)));
    // The label names the pixel the pick reads, which at a scale the toolkit rounds (a 1.5
    // output drawn at 2) is not the toolkit's device pixel under the pointer.
    m_loupe->showSample(pixel, m_placement.area, color, m_desktop.desktopPixelOf(pixel), at,
                        keepClear);
    emit colorSampled(color);
}

void frmGetColor::addDirty(QRect& dirty, QRect area)
{
    // Areas close together repaint as one rectangle, which keeps Qt's bookkeeping of the
    // window's dirty region to one entry; a jump across the screen repaints the two places and
    // never the stretch between them.
    if (area.isEmpty())
        return;
    const auto pixels = [](QRect r) { return qint64(r.width()) * r.height(); };
    const QRect both = dirty | area;
    if (dirty.isEmpty() || pixels(both) <= 4 * (pixels(dirty) + pixels(area))) {
        dirty = both;
        return;
    }
    update(dirty);
    dirty = area;
}

void frmGetColor::hideIndicator()
{
    m_loupe->hide();
    if (m_fromKeys) {
        m_fromKeys = false;
        update(crosshairArea());
    }
    if (!m_shpshow.m_visible)
        return;
    m_shpshow.m_visible = false;
    update(m_shpshow.geometry());
}

void frmGetColor::setOptions(const LoupeOptions& options)
{
    m_options = options;
    m_loupe->setOptions(options);
    // A new sample size changes the sampled color at once.
    if (m_sample && m_shpshow.m_visible)
        sampleAt(*m_sample, m_fromKeys);
}

void frmGetColor::placeIndicator(QRect& dirty, QPoint topLeft, ColorValue color)
{
    SampleIndicator& shape = m_shpshow;
    if (shape.m_visible && shape.m_topLeft == topLeft && shape.m_color == color)
        return;
    if (shape.m_visible)
        addDirty(dirty, shape.geometry());
    shape.m_topLeft = topLeft;
    shape.m_color = color;
    shape.m_visible = true;
    addDirty(dirty, shape.geometry());
}

// The keyboard's sampling point may lie between the places the pointer can reach (an odd
// device pixel at ratio 2), so a crosshair marks it: four arms around the pixel, black with a
// white edge, in device pixels.
constexpr int crosshairGap = 3;
constexpr int crosshairArm = 8;

QRect frmGetColor::crosshairArea() const
{
    if (!m_sample)
        return {};
    const int reach = int(std::ceil((crosshairGap + crosshairArm + 2) / m_ratio)) + 1;
    const QPoint at(int(m_sample->x() / m_grid), int(m_sample->y() / m_grid));
    return QRect(at - windowOffset() - QPoint(reach, reach), QSize(2 * reach + 1, 2 * reach + 1));
}

void frmGetColor::paintCrosshair(QPainter& painter) const
{
    // In device pixels; a scale and a reset, not save() and restore(), which copy the state.
    painter.scale(1 / m_ratio, 1 / m_ratio);
    const QPoint offset = windowOffset();
    // The toolkit's device pixel under the sampled pixel's centre, where the two grids differ.
    const QPoint sample = m_grid == m_ratio
                              ? *m_sample
                              : QPoint(int(std::floor((m_sample->x() + 0.5) * m_ratio / m_grid)),
                                       int(std::floor((m_sample->y() + 0.5) * m_ratio / m_grid)));
    const QPoint c = sample - QPoint(rounded(offset.x() * m_ratio), rounded(offset.y() * m_ratio));
    const int near = crosshairGap, far = crosshairGap + crosshairArm;
    const std::array arms{QRect(QPoint(c.x() - far, c.y()), QPoint(c.x() - near, c.y())),
                          QRect(QPoint(c.x() + near, c.y()), QPoint(c.x() + far, c.y())),
                          QRect(QPoint(c.x(), c.y() - far), QPoint(c.x(), c.y() - near)),
                          QRect(QPoint(c.x(), c.y() + near), QPoint(c.x(), c.y() + far))};
    for (const QRect& arm : arms)
        painter.fillRect(arm.adjusted(-1, -1, 1, 1), Qt::white);
    for (const QRect& arm : arms)
        painter.fillRect(arm, Qt::black);
    painter.resetTransform();
}

void frmGetColor::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    // The frozen image is drawn in device pixels, so that the bands meet on whole pixels.
    painter.scale(1 / m_ratio, 1 / m_ratio);
    const QPointF topLeft = imageTopLeft();
    const qreal factor = m_placement.scale / m_ratio; // image pixels per device pixel
    const QRectF image(m_desktop.image().rect());
    for (const QRect& area : event->region()) {
        const QRect device =
            QRectF(QPointF(area.topLeft()) * m_ratio, QSizeF(area.size()) * m_ratio)
                .toAlignedRect();
        forEachBand(device, paintBandRows, [&](QRect band) {
            const QRectF source(topLeft + QPointF(band.topLeft()) * factor,
                                QSizeF(band.size()) * factor);
            if (!image.contains(source))
                painter.fillRect(band, Qt::black);
            painter.drawImage(QRectF(band), m_desktop.image(), source);
        });
    }
    painter.resetTransform();
    if (m_fromKeys && m_sample && event->region().intersects(crosshairArea()))
        paintCrosshair(painter);
    if (m_shpshow.m_visible && event->region().intersects(m_shpshow.geometry()))
        m_shpshow.paint(painter);
}

bool frmGetColor::pointerIsWhereKeysPutIt(QPointF global) const
{
    return m_warpedTo && std::abs(global.x() - m_warpedTo->x()) < 1 &&
           std::abs(global.y() - m_warpedTo->y()) < 1;
}

void frmGetColor::mouseMoveEvent(QMouseEvent* event)
{
    // The keyboard has the sampling point until the pointer really moves away from where the
    // keys put it.
    if (pointerIsWhereKeysPutIt(event->globalPosition()))
        return;
    m_warpedTo.reset();
    // The keys work on the screen the pointer is on.
    if (!isActiveWindow())
        activateWindow();
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    sampleAt(pointerDevicePixel(*event), false);
}

void frmGetColor::mouseReleaseEvent(QMouseEvent* event)
{
    // The pixel under the pointer, even when the pointer has not moved since the run started.
    if (!pointerIsWhereKeysPutIt(event->globalPosition()) || !m_sample)
        sampleAt(pointerDevicePixel(*event), false);
    emit picked();
}

void frmGetColor::nudge(QPoint by)
{
    QPoint from;
    if (m_sample) {
        from = *m_sample;
    } else {
        // The first key starts at the pointer when it is on this screen, else at the centre.
        const QPoint pointer = mapFromGlobal(QCursor::pos(m_screen));
        from = rect().contains(pointer) ? devicePixelAt(pointer)
                                        : QPoint(m_gridSize.width() / 2, m_gridSize.height() / 2);
    }
    sampleAt(from + by, true);
    // The pointer follows where the window system lets a program move it, to the logical pixel
    // that holds the sampling point; the crosshair marks the exact device pixel.
    const QPoint logical = m_screen->geometry().topLeft() +
                           QPoint(int(m_sample->x() / m_grid), int(m_sample->y() / m_grid));
    m_warpedTo = QPointF(logical);
    QCursor::setPos(m_screen, logical);
}

void frmGetColor::keyPressEvent(QKeyEvent* event)
{
    const int step = event->modifiers() & Qt::ShiftModifier ? 10 : 1;
    LoupeOptions options = m_options;
    switch (event->key()) {
    case Qt::Key_Escape:
        // The one way out should the pick-and-save window ever end up out of reach.
        emit stopRequested();
        return;
    case Qt::Key_Left:
        return nudge(QPoint(-step, 0));
    case Qt::Key_Right:
        return nudge(QPoint(step, 0));
    case Qt::Key_Up:
        return nudge(QPoint(0, -step));
    case Qt::Key_Down:
        return nudge(QPoint(0, step));
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!m_sample)
            nudge(QPoint(0, 0));
        emit picked();
        return;
    case Qt::Key_1:
    case Qt::Key_3:
    case Qt::Key_5:
        options.sampleSize = event->key() - Qt::Key_0;
        emit optionsChosen(options);
        return;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
    case Qt::Key_Minus:
        options.zoom = m_options.steppedZoom(event->key() == Qt::Key_Minus ? -1 : 1);
        emit optionsChosen(options);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void frmGetColor::wheelEvent(QWheelEvent* event)
{
    // Whole notches of 120; a fine-grained wheel adds up to them.
    m_wheel += event->angleDelta().y();
    const int steps = m_wheel / 120;
    m_wheel -= steps * 120;
    if (steps == 0)
        return;
    LoupeOptions options = m_options;
    if (event->modifiers() & Qt::ControlModifier)
        options.sampleSize = m_options.steppedSampleSize(steps);
    else
        options.zoom = m_options.steppedZoom(steps);
    emit optionsChosen(options);
}
