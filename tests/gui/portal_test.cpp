// The screenshot portal client against a portal of our own on a private message bus.
#include "platform/QtServices.h"
#include "platform/ScreenshotPortal.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

namespace
{
const QString portalService = "org.freedesktop.portal.Desktop";
const QString portalPath = "/org/freedesktop/portal/desktop";
} // namespace

// A stand-in for the desktop's screenshot portal, scripted per test.
class FakePortal : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Screenshot")

public:
    // Late: answers after a user's long look at a permission question. Silent: leaves the bus
    // without an answer. Gone: the picture named is not there. Absent: no portal on the bus.
    // NoBus: no bus at all.
    enum Mode { Answer, Early, OwnPath, Late, Cancel, Refuse, Error, Silent, Gone, Absent, NoBus };

    explicit FakePortal(QDBusConnection bus) : m_bus(bus) {}

    Mode mode = Answer;
    QString pictureUri;
    QVariantMap options;

public slots:
    QDBusObjectPath Screenshot(const QString&, const QVariantMap& given, const QDBusMessage& call)
    {
        options = given;
        QString sender = call.service().mid(1);
        sender.replace('.', '_');
        const QString token = mode == OwnPath ? "portal7" : given["handle_token"].toString();
        const QString request = portalPath + "/request/" + sender + "/" + token;
        switch (mode) {
        case Error:
            call.setDelayedReply(true);
            m_bus.send(call.createErrorReply("org.freedesktop.portal.Error.Failed",
                                             "no screenshots today"));
            return {};
        case Early:
            call.setDelayedReply(true);
            respond(request, 0);
            m_bus.send(call.createReply(QVariant::fromValue(QDBusObjectPath(request))));
            return {};
        case Silent:
            QTimer::singleShot(300, this, [this] { m_bus.unregisterService(portalService); });
            break;
        case Late:
            QTimer::singleShot(1500, this, [this, request] { respond(request, 0); });
            break;
        default:
            // After the reply, as a portal answers once the user or the compositor has acted.
            QTimer::singleShot(50, this, [this, request] {
                respond(request, mode == Cancel ? 1u : mode == Refuse ? 2u : 0u);
            });
        }
        return QDBusObjectPath(request);
    }

private:
    void respond(const QString& request, uint code)
    {
        QDBusMessage signal =
            QDBusMessage::createSignal(request, "org.freedesktop.portal.Request", "Response");
        QVariantMap results;
        if (code == 0)
            results["uri"] = mode == Gone ? pictureUri + ".gone" : pictureUri;
        signal << code << results;
        m_bus.send(signal);
    }

    QDBusConnection m_bus;
};

class PortalTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_busDir;
    QProcess m_daemon;
    QString m_address;
    std::unique_ptr<FakePortal> m_portal;
    QString m_picture;

    QDBusConnection client() { return QDBusConnection::connectToBus(m_address, "client"); }
    QDBusConnection portalBus() { return QDBusConnection::connectToBus(m_address, "portal"); }

    static QImage picture()
    {
        QImage image(64, 48, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, qRgb(x * 4, y * 5, 0x5A));
        return image;
    }

private slots:
    void initTestCase()
    {
        // A bus of our own: it starts no service of this machine, whose real portal would answer.
        QFile config(m_busDir.filePath("bus.conf"));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write(QString("<busconfig><type>session</type><listen>unix:dir=%1</listen>"
                             "<auth>EXTERNAL</auth><servicedir>%1</servicedir><policy "
                             "context=\"default\"><allow send_destination=\"*\"/><allow "
                             "receive_sender=\"*\"/><allow own=\"*\"/></policy></busconfig>\n")
                         .arg(m_busDir.path())
                         .toUtf8());
        config.close();
        m_daemon.start("dbus-daemon",
                       {"--config-file=" + config.fileName(), "--nofork", "--print-address"});
        QVERIFY2(m_daemon.waitForStarted(), "dbus-daemon is needed for this test");
        QTRY_VERIFY(m_daemon.canReadLine());
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        // The real capture service talks to the session bus: make ours the session bus.
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_address.toUtf8());
        QVERIFY(client().isConnected());
        m_picture = m_busDir.filePath("Screenshot.png");
        m_portal = std::make_unique<FakePortal>(portalBus());
        m_portal->pictureUri = QUrl::fromLocalFile(m_picture).toString();
        QVERIFY(portalBus().registerService(portalService));
        QVERIFY(portalBus().registerObject(portalPath, m_portal.get(),
                                           QDBusConnection::ExportAllSlots));
    }
    void cleanupTestCase()
    {
        QDBusConnection::disconnectFromBus("client");
        QDBusConnection::disconnectFromBus("portal");
        m_daemon.kill();
        m_daemon.waitForFinished();
    }

    // Answered after the reply, before it, late, or by an old portal on its own request path:
    // the picture is read and its file removed, and the program went on meanwhile. Anything
    // else ends with a reason, the file kept.
    void eachAnswerOfThePortal()
    {
        using Outcome = PortalShot::Outcome;
        const struct {
            FakePortal::Mode mode;
            Outcome outcome;
            const char* reason;
        } answers[] = {
            {FakePortal::Answer, Outcome::Taken, ""},
            {FakePortal::Early, Outcome::Taken, ""},
            {FakePortal::OwnPath, Outcome::Taken, ""},
            {FakePortal::Late, Outcome::Taken, ""},
            {FakePortal::Cancel, Outcome::Refused, "did not allow Hue Bench to read the screen"},
            {FakePortal::Refuse, Outcome::Refused, "did not allow Hue Bench to read the screen"},
            {FakePortal::Error, Outcome::Failed, "no screenshots today"},
            {FakePortal::Silent, Outcome::Failed, "stopped before it answered"},
            {FakePortal::Gone, Outcome::Failed, "no readable picture"},
            {FakePortal::NoBus, Outcome::Failed, "no connection"},
            {FakePortal::Absent, Outcome::Failed, "not available"},
        };
        for (const auto& answer : answers) {
            m_portal->mode = answer.mode;
            QVERIFY(picture().save(m_picture));
            if (answer.mode == FakePortal::Absent)
                portalBus().unregisterService(portalService);
            const QDBusConnection bus =
                answer.mode == FakePortal::NoBus
                    ? QDBusConnection::connectToBus("unix:path=/nonexistent/bus", "nowhere")
                    : client();
            int ticks = 0;
            QTimer ticker;
            connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
            ticker.start(100);
            const PortalShot shot = takePortalScreenshot(bus);
            ticker.stop();
            if (answer.mode == FakePortal::Late)
                QVERIFY2(ticks >= 10, qPrintable(QString("%1 ticks while waiting").arg(ticks)));
            if (answer.mode == FakePortal::Silent)
                QVERIFY(portalBus().registerService(portalService));
            const bool taken = answer.outcome == Outcome::Taken;
            QCOMPARE(int(shot.outcome), int(answer.outcome));
            QVERIFY2(shot.reason.contains(answer.reason) && shot.reason.isEmpty() == taken,
                     qPrintable(shot.reason));
            QCOMPARE(shot.image.convertToFormat(QImage::Format_RGB32),
                     taken ? picture() : QImage());
            QCOMPARE(QFile::exists(m_picture), !taken);
        }
        QVERIFY(portalBus().registerService(portalService));
        QCOMPARE(m_portal->options["interactive"].toBool(), false);
        QVERIFY(m_portal->options["handle_token"].toString().startsWith("huebench"));
    }

    // In a Wayland session the capture goes through the portal; a refusal says just that, a
    // failure what to install.
    void waylandCaptureGoesThroughThePortal()
    {
        const QRect desktop = QGuiApplication::primaryScreen()->virtualGeometry();
        QImage whole(desktop.size(), QImage::Format_RGB32);
        whole.fill(qRgb(0x2E, 0x8B, 0x57));
        QVERIFY(whole.save(m_picture));
        m_portal->mode = FakePortal::Answer;
        const QByteArray session = qgetenv("XDG_SESSION_TYPE");
        qputenv("XDG_SESSION_TYPE", "wayland");
        QtScreenCapture capture;
        const CaptureResult taken = capture.captureDesktop();
        m_portal->mode = FakePortal::Refuse;
        const CaptureResult refused = capture.captureDesktop();
        m_portal->mode = FakePortal::Error;
        const CaptureResult failed = capture.captureDesktop();
        qputenv("XDG_SESSION_TYPE", session);
        QVERIFY2(taken.desktop, qPrintable(taken.error));
        QCOMPARE(taken.desktop->image.size(), desktop.size());
        QCOMPARE(taken.desktop->image.pixel(7, 9), qRgb(0x2E, 0x8B, 0x57));
        QVERIFY(!refused.desktop && !failed.desktop);
        QCOMPARE(refused.error, "The desktop did not allow Hue Bench to read the screen.");
        QVERIFY2(failed.error.contains("no screenshots today") &&
                     failed.error.contains("xdg-desktop-portal-wlr"),
                 qPrintable(failed.error));
    }
};

QTEST_MAIN(PortalTest)
#include "portal_test.moc"
