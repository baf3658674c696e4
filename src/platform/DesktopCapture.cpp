#include "platform/DesktopCapture.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

#include <xcb/xcb.h>

#include <cmath>
#include <cstdlib>
#include <memory>

QRect screenDeviceRect(const QScreen& screen)
{
    const QRect logical = screen.geometry();
    const qreal ratio = screen.devicePixelRatio();
    return QRect(logical.topLeft(), QSize(int(std::lrint(logical.width() * ratio)),
                                          int(std::lrint(logical.height() * ratio))));
}

QRect scaledRect(const QRect& logical, qreal scale)
{
    const auto edge = [scale](int at) { return int(std::lrint(at * scale)); };
    return QRect(QPoint(edge(logical.left()), edge(logical.top())),
                 QPoint(edge(logical.left() + logical.width()) - 1,
                        edge(logical.top() + logical.height()) - 1));
}

std::optional<QPoint> nativePointerPosition()
{
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return std::nullopt;
    const xcb_screen_t* root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (!root)
        return std::nullopt;
    const std::unique_ptr<xcb_query_pointer_reply_t, decltype(&std::free)> reply(
        xcb_query_pointer_reply(connection, xcb_query_pointer(connection, root->root), nullptr),
        &std::free);
    if (!reply || !reply->same_screen)
        return std::nullopt;
    return QPoint(reply->root_x, reply->root_y);
}

bool windowsCanBePlaced()
{
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

QRect desktopDeviceRect()
{
    QRect desktop;
    for (const QScreen* screen : QGuiApplication::screens())
        desktop = desktop.united(screenDeviceRect(*screen));
    return desktop;
}

CaptureRoute captureRoute()
{
    const QByteArray session = qgetenv("XDG_SESSION_TYPE").trimmed().toLower();
    if (session == "wayland")
        return CaptureRoute::Portal;
    if (session.isEmpty() && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return CaptureRoute::Portal;
    return CaptureRoute::Grab;
}

namespace
{

// One screen's pixels in device pixels (Format_RGB32, ratio 1), or a null image.
QImage grabScreen(QScreen& screen)
{
    QImage shot = screen.grabWindow(0).toImage();
    if (shot.isNull())
        return {};
    shot.setDevicePixelRatio(1.0);
    if (shot.format() != QImage::Format_RGB32)
        shot.convertTo(QImage::Format_RGB32);
    return shot;
}

} // namespace

CaptureResult grabScreens()
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (screens.isEmpty())
        return {std::nullopt, QObject::tr("There is no screen to capture.")};
    const QRect desktop = desktopDeviceRect();

    // One screen, the common case: its grab is the desktop image, without a second copy.
    if (screens.size() == 1) {
        QImage shot = grabScreen(*screens.front());
        if (shot.isNull())
            return {std::nullopt, QObject::tr("The screen could not be captured.")};
        return {DesktopImage{std::move(shot), desktop.topLeft()}, {}};
    }

    QImage image(desktop.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (QScreen* screen : screens) {
        const QRect place = screenDeviceRect(*screen).translated(-desktop.topLeft());
        const QImage shot = grabScreen(*screen);
        if (shot.isNull())
            return {std::nullopt,
                    QObject::tr("The screen %1 could not be captured.").arg(screen->name())};
        painter.drawImage(place.topLeft(), shot);
    }
    painter.end();
    return {DesktopImage{std::move(image), desktop.topLeft()}, {}};
}
