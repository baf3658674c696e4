#include "platform/ScreenshotPortal.h"

#include "platform/DesktopCapture.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDateTime>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QScreen>
#include <QUrl>

namespace
{

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString screenshotInterface = QStringLiteral("org.freedesktop.portal.Screenshot");
const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");

PortalShot failed(const QString& reason)
{
    return {PortalShot::Outcome::Failed, {}, reason};
}

bool portalPresent(const QDBusConnection& bus)
{
    const QDBusConnectionInterface* names = bus.interface();
    if (!names)
        return false;
    const QDBusReply<bool> running = names->isServiceRegistered(portalService);
    if (running.isValid() && running.value())
        return true;
    const QDBusReply<QStringList> startable = names->activatableServiceNames();
    return startable.isValid() && startable.value().contains(portalService);
}

// The request object the portal creates for a call of ours with `token`, known before the call
// so that its Response can be awaited before it can possibly be sent.
QString requestPath(const QDBusConnection& bus, const QString& token)
{
    QString sender = bus.baseService().mid(1);
    sender.replace(u'.', u'_');
    return portalPath + QStringLiteral("/request/") + sender + u'/' + token;
}

// A screenshot the portal saved for us alone: read it, then take it away again, but only a
// plain file that came into being after the request was made.
QImage readAndRemove(const QString& uri, const QDateTime& requested)
{
    const QUrl url(uri);
    if (!url.isLocalFile())
        return {};
    const QString path = url.toLocalFile();
    QImage image(path);
    const QFileInfo info(path);
    if (!image.isNull() && info.isFile() && info.lastModified() >= requested.addSecs(-2))
        QFile::remove(path);
    return image;
}

} // namespace

// Receives the portal's Response signal; D-Bus delivers signals to named slots only.
class PortalResponse : public QObject
{
    Q_OBJECT
public:
    bool answered = false;
    uint code = 2;
    QVariantMap results;

signals:
    void arrived();

public slots:
    void onResponse(uint response, const QVariantMap& values)
    {
        answered = true;
        code = response;
        results = values;
        emit arrived();
    }
};

PortalShot takePortalScreenshot(QDBusConnection bus)
{
    if (!bus.isConnected())
        return failed(QObject::tr("There is no connection to the desktop's message bus (D-Bus)."));
    if (!portalPresent(bus))
        return failed(
            QObject::tr("The desktop's screenshot service (xdg-desktop-portal) is not available."));

    const QString token =
        QStringLiteral("huebench%1")
            .arg(uint(QRandomGenerator::global()->generate()), 8, 16, QChar(u'0'));
    QString handle = requestPath(bus, token);
    PortalResponse response;
    const char* slot = SLOT(onResponse(uint, QVariantMap));
    if (!bus.connect(portalService, handle, requestInterface, "Response", &response, slot))
        return failed(QObject::tr("The screenshot service's answer cannot be received."));

    QDBusMessage call = QDBusMessage::createMethodCall(portalService, portalPath,
                                                       screenshotInterface, "Screenshot");
    call << QString()
         << QVariantMap{{"handle_token", token}, {"interactive", false}, {"modal", true}};
    const QDateTime requested = QDateTime::currentDateTime();
    QDBusPendingCallWatcher reply(bus.asyncCall(call));

    // Wait for both the reply (the request's handle) and the Response, in either order, for as
    // long as the portal is there to answer.
    QEventLoop loop;
    bool portalLeft = false;
    QDBusServiceWatcher watcher(portalService, bus, QDBusServiceWatcher::WatchForUnregistration);
    QObject::connect(&watcher, &QDBusServiceWatcher::serviceUnregistered, &loop, [&] {
        portalLeft = true;
        loop.quit();
    });
    QObject::connect(&reply, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
    QObject::connect(&response, &PortalResponse::arrived, &loop, &QEventLoop::quit);
    bool handleChecked = false;
    while (!portalLeft) {
        if (reply.isFinished() && reply.isError())
            break;
        if (reply.isFinished() && !handleChecked) {
            handleChecked = true;
            // A portal older than handle tokens names its own request object.
            const QString given = QDBusPendingReply<QDBusObjectPath>(reply).value().path();
            if (!given.isEmpty() && given != handle && !response.answered) {
                bus.disconnect(portalService, handle, requestInterface, "Response", &response,
                               slot);
                handle = given;
                bus.connect(portalService, handle, requestInterface, "Response", &response, slot);
            }
        }
        if (handleChecked && response.answered)
            break;
        loop.exec();
    }
    bus.disconnect(portalService, handle, requestInterface, "Response", &response, slot);

    if (reply.isFinished() && reply.isError())
        return failed(
            QObject::tr("The screenshot service failed: %1").arg(reply.error().message()));
    if (!response.answered)
        return failed(QObject::tr("The screenshot service stopped before it answered."));
    // A request without a dialog is ended by the user or the desktop only by saying no: 1 where
    // the user dismissed the permission question, 2 where the answer was no.
    if (response.code == 1 || response.code == 2)
        return {PortalShot::Outcome::Refused,
                {},
                QObject::tr("The desktop did not allow Hue Bench to read the screen.")};
    if (response.code != 0)
        return failed(
            QObject::tr("The screenshot service gave an unknown answer (%1).").arg(response.code));
    QImage image = readAndRemove(response.results.value("uri").toString(), requested);
    if (image.isNull())
        return failed(QObject::tr("The screenshot service gave no readable picture."));
    return {PortalShot::Outcome::Taken, std::move(image), {}};
}

CaptureResult desktopFromPortalShot(const QImage& shot)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (shot.isNull() || screens.isEmpty())
        return {std::nullopt, QObject::tr("The screen could not be captured.")};
    // The portal's one picture covers the logical layout of all screens at one scale of its
    // own. Each screen is found in it by its logical geometry times that scale; a device size
    // added to a logical corner would reach into the neighbouring screen.
    const QRect logical = screens.front()->virtualGeometry();
    const qreal scale = qreal(shot.width()) / logical.width();
    return {DesktopImage{shot, logical.topLeft(), scale}, {}};
}

#include "ScreenshotPortal.moc"
