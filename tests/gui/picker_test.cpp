// The screen picker: the start sequence, sampling the frozen image on two screens of different
// pixel ratios, picking into the chosen palette, Stop, and a capture that fails.
#include "MainWindowFixture.h"
#include "palette/PaletteCell.h"
#include "palette/PaletteView.h"
#include "picker/PickingRun.h"
#include "picker/frmGetColor.h"
#include "picker/frmpick.h"
#include "platform/DesktopCapture.h"
#include "platform/ScreenshotPortal.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

using namespace bascommon;

namespace
{

// Screen A (primary) at (0, 0), 800 x 600 at ratio 1; screen B to its right and 200 higher,
// 400 x 300 logical at ratio 2. Each screen keeps its top-left as its device top-left, so the
// desktop in device pixels is A (0, 0, 800 x 600) and B (800, -200, 800 x 600).
const char* const twoScreens =
    R"({"screens":[{"name":"A","x":0,"y":0,"width":800,"height":600,"logicalDpi":96,)"
    R"("logicalBaseDpi":96,"dpr":1},{"name":"B","x":800,"y":-200,"width":400,"height":300,)"
    R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":2}]})";
const QPoint desktopOrigin(0, -200);
const QSize desktopSize(1600, 800);

// Every pixel of the frozen desktop has a color of its own, so a sample tells where it was read:
// red and green are the low bytes of x and y, blue holds their high bits.
QImage frozenDesktop()
{
    static const QImage image = [] {
        QImage made(desktopSize, QImage::Format_RGB32);
        for (int y = 0; y < made.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(made.scanLine(y));
            for (int x = 0; x < made.width(); ++x)
                line[x] = qRgb(x & 0xFF, y & 0xFF, (x >> 8) | ((y >> 8) << 4));
        }
        return made;
    }();
    return image;
}

QString fileTail(const std::string& bytes, std::size_t count)
{
    return QString::fromStdString(bytes.size() < count ? bytes
                                                       : bytes.substr(bytes.size() - count));
}

} // namespace

class PickerTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainWindowFixture> f;

    PickingRun* run() { return f->window().findChild<PickingRun*>(); }

    frmpick* pick() { return run()->pickWindow(); }

    frmGetColor* overlayOn(int screen)
    {
        for (const auto& overlay : run()->overlays())
            if (overlay->frozenScreen() == QGuiApplication::screens().at(screen))
                return overlay.get();
        qFatal("no overlay on screen %d", screen);
    }

    bool startPicker()
    {
        f->window().show();
        if (!QTest::qWaitForWindowExposed(&f->window()))
            return false;
        f->find<QAction>("pickcolor")->trigger();
        if (!run())
            return false;
        for (const auto& overlay : run()->overlays())
            if (!QTest::qWaitForWindowExposed(overlay.get()))
                return false;
        return true;
    }

    QColor sampleBackground() { return pick()->lblcor->palette().color(QPalette::Window); }

private slots:
    void init()
    {
        f = std::make_unique<MainWindowFixture>();
        f->fakes.screenCapture.result = {DesktopImage{frozenDesktop(), desktopOrigin, 1.0}, {}};
        f->fakes.clipboard.setText("held by the user");
    }
    void cleanup() { f.reset(); }

    void startHidesTheWindowFreezesEveryScreenAndShowsPickSave()
    {
        QVERIFY(startPicker());
        QVERIFY(!f->window().isVisible());
        QCOMPARE(f->fakes.screenCapture.captures, 1);
        QCOMPARE(f->fakes.clipboard.text(), QString());
        QCOMPARE(run()->overlays().size(), std::size_t(2));
        for (int screen : {0, 1}) {
            frmGetColor* overlay = overlayOn(screen);
            QVERIFY(overlay->isVisible());
            QCOMPARE(overlay->geometry(), QGuiApplication::screens().at(screen)->geometry());
            QVERIFY(!overlay->shpshow().isVisible());
            QCOMPARE(overlay->cursor().hotSpot(), QPoint(11, 20));
        }
        QVERIFY(pick()->isVisible());
        QCOMPARE(pick()->windowTitle(), QString("Pick&Save"));
        QCOMPARE(pick()->size(), QSize(211, 76));
        QCOMPARE(f->fakes.stayOnTop.calls.size(), std::size_t(1));
        QCOMPARE(f->fakes.stayOnTop.calls[0].window, pick());
        QVERIFY(f->fakes.stayOnTop.calls[0].onTop);
        QCOMPARE(sampleBackground(), QColor(Qt::white));
        QCOMPARE(pick()->txthex->text(), QString());
        QCOMPARE(pick()->cmbSaveTo->currentIndex(), 0);
        QCOMPARE(pick()->SaveToFile(), std::string("mycolor.rgb"));
    }

    void indicatorSitsAboveRightOfTheCursor_data()
    {
        QTest::addColumn<QPoint>("mouse");
        QTest::addColumn<QPoint>("indicator");
        QTest::newRow("middle") << QPoint(100, 200) << QPoint(110, 164);
        QTest::newRow("near the top edge, partly above the screen")
            << QPoint(5, 10) << QPoint(15, -26);
        QTest::newRow("top row") << QPoint(1, 0) << QPoint(11, -36);
    }
    void indicatorSitsAboveRightOfTheCursor()
    {
        QFETCH(QPoint, mouse);
        QFETCH(QPoint, indicator);
        QVERIFY(startPicker());
        frmGetColor* overlay = overlayOn(0);
        QTest::mouseMove(overlay, mouse);
        QTRY_VERIFY(overlay->shpshow().isVisible());
        QCOMPARE(overlay->shpshow().geometry(), QRect(indicator, QSize(17, 25)));
    }

    // What the overlay shows is the frozen image, one image pixel per device pixel, with the
    // indicator drawn over it in the sampled color.
    void overlayShowsTheFrozenImageAtItsDevicePixels_data()
    {
        QTest::addColumn<int>("screen");
        QTest::addColumn<QPoint>("screenInImage");
        QTest::newRow("A, ratio 1") << 0 << QPoint(0, 200);
        QTest::newRow("B, ratio 2") << 1 << QPoint(800, 0);
    }
    void overlayShowsTheFrozenImageAtItsDevicePixels()
    {
        QFETCH(int, screen);
        QFETCH(QPoint, screenInImage);
        QVERIFY(startPicker());
        frmGetColor* overlay = overlayOn(screen);
        QTest::mouseMove(overlay, QPoint(100, 100));
        QTRY_VERIFY(overlay->shpshow().isVisible());
        const QImage shown = overlay->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const qreal ratio = overlay->frozenScreen()->devicePixelRatio();
        QCOMPARE(shown.size(), QSize(800, 600));
        const QImage frozen = frozenDesktop();
        const QRect indicator(QPoint(110, 64) * ratio, QSize(17, 25) * ratio);
        for (int y = 0; y < shown.height(); y += 7)
            for (int x = 0; x < shown.width(); x += 5)
                if (!indicator.contains(x, y))
                    QCOMPARE(shown.pixel(x, y), frozen.pixel(screenInImage + QPoint(x, y)));
        const QRgb sample = frozen.pixel(screenInImage + QPoint(100, 100) * ratio);
        QCOMPARE(shown.pixel(indicator.center()), sample);
        QCOMPARE(shown.pixel(indicator.topLeft()), qRgb(0, 0, 0));
    }

    void samplesTheFrozenPixelUnderTheCursor_data()
    {
        QTest::addColumn<int>("screen");
        QTest::addColumn<QPoint>("mouse");
        QTest::addColumn<QString>("hex");
        // Image pixel (x, y) holds red x & 255, green y & 255, blue (x >> 8) | (y >> 8) << 4.
        QTest::newRow("A (100, 200): image (100, 400)") << 0 << QPoint(100, 200) << "#649010";
        QTest::newRow("A (1, 0): image (1, 200)") << 0 << QPoint(1, 0) << "#01C800";
        QTest::newRow("A (799, 599): image (799, 799)") << 0 << QPoint(799, 599) << "#1F1F33";
        QTest::newRow("B (0, 1): image (800, 2)") << 1 << QPoint(0, 1) << "#200203";
        QTest::newRow("B (100, 50): image (1000, 100)") << 1 << QPoint(100, 50) << "#E86403";
        QTest::newRow("B (399, 299): image (1598, 598)") << 1 << QPoint(399, 299) << "#3E5626";
    }
    void samplesTheFrozenPixelUnderTheCursor()
    {
        QFETCH(int, screen);
        QFETCH(QPoint, mouse);
        QFETCH(QString, hex);
        QVERIFY(startPicker());
        frmGetColor* overlay = overlayOn(screen);
        QTest::mouseMove(overlay, mouse);
        QTRY_COMPARE(pick()->txthex->text(), hex);
        QCOMPARE(QString::fromStdString(HexRGB(run()->lastSample())), hex);
        QCOMPARE(QString::fromStdString(HexRGB(overlay->shpshow().color())), hex);
        QCOMPARE(sampleBackground(), QColor(hex));
    }

    void releaseAppendsTheLastSample()
    {
        QVERIFY(startPicker());
        const std::string before = f->readFile("mycolor.rgb");
        frmGetColor* overlay = overlayOn(0);
        // Before any movement the sample is black.
        QTest::mouseRelease(overlay, Qt::LeftButton, {}, QPoint(100, 200));
        QCOMPARE(f->readFile("mycolor.rgb"), before + "000000");
        QTest::mouseMove(overlay, QPoint(100, 200));
        QTRY_COMPARE(pick()->txthex->text(), QString("#649010"));
        QTest::mouseRelease(overlay, Qt::RightButton, {}, QPoint(100, 200));
        QTest::mouseRelease(overlayOn(1), Qt::MiddleButton, {}, QPoint(3, 3));
        QCOMPARE(f->readFile("mycolor.rgb"), before + "000000" + "649010" + "649010");
    }

    void chooserOffersPermanentAndUserPalettesOnly()
    {
        f->writeFile("colorchart.cci", "mycolor.rgb\r\nFirst\r\n0\r\n"
                                       "recent.rgb\r\nSecond\r\n2\r\n"
                                       "c50.rgb\r\nThird\r\n 1 \r\n"
                                       "c51.rgb\r\nFourth\r\n1\r\n");
        QVERIFY(startPicker());
        QComboBox* chooser = pick()->cmbSaveTo;
        QStringList titles;
        for (int i = 0; i < chooser->count(); ++i)
            titles << chooser->itemText(i);
        QCOMPARE(titles, QStringList({"First", "Third", "Fourth"}));
        chooser->setCurrentIndex(1);
        QCOMPARE(pick()->SaveToFile(), std::string("c50.rgb"));
        QTest::mouseMove(overlayOn(1), QPoint(100, 50));
        QTRY_COMPARE(pick()->txthex->text(), QString("#E86403"));
        QTest::mouseRelease(overlayOn(1), Qt::LeftButton, {}, QPoint(100, 50));
        QCOMPARE(QString::fromStdString(f->readFile("c50.rgb")), QString("E86403"));
        QVERIFY(f->readFile("recent.rgb").empty());
    }

    void stopShowsTheFirstPaletteAtPageOne()
    {
        f->window();
        QComboBox* chart = f->window().paletteView()->cmbChart;
        chart->setCurrentIndex(chart->count() - 1);
        QVERIFY(startPicker());
        QTest::mouseMove(overlayOn(0), QPoint(100, 200));
        QTest::mouseRelease(overlayOn(0), Qt::LeftButton, {}, QPoint(100, 200));
        QTest::mouseClick(pick()->cmdStop, Qt::LeftButton);
        QVERIFY(f->window().isVisible());
        QTRY_VERIFY(!run());
        for (QWidget* top : QApplication::topLevelWidgets())
            QVERIFY(top->objectName() != "frmGetColor" && top->objectName() != "frmpick");
        PaletteView* view = f->window().paletteView();
        QCOMPARE(view->currentFile(), std::string("mycolor.rgb"));
        QCOMPARE(chart->currentIndex(), 0);
        QCOMPARE(view->page(), 1);
        QCOMPARE(view->lblcor[0]->color(), RGB(0x64, 0x90, 0x10));
    }

    // Closing Pick&Save, or Escape, must not strand the user behind a frozen screen (Stop is
    // covered above).
    void everyWayOutEndsTheRun_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("closing Pick&Save") << 0;
        QTest::newRow("Escape on the overlay") << 1;
        QTest::newRow("Escape on Pick&Save") << 2;
    }
    void everyWayOutEndsTheRun()
    {
        QFETCH(int, way);
        QVERIFY(startPicker());
        if (way == 0)
            pick()->close();
        else
            QTest::keyClick(way == 1 ? static_cast<QWidget*>(overlayOn(0)) : pick(),
                            Qt::Key_Escape);
        QVERIFY(f->window().isVisible());
        QTRY_VERIFY(!run());
    }

    void indicatorLeavesWithThePointer()
    {
        QVERIFY(startPicker());
        frmGetColor* a = overlayOn(0);
        frmGetColor* b = overlayOn(1);
        QTest::mouseMove(a, QPoint(100, 100));
        QTRY_VERIFY(a->shpshow().isVisible());
        // The offscreen platform does not stack windows, so the pointer enters Pick&Save here.
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), pick()->mapToGlobal(QPointF(5, 5)));
        QApplication::sendEvent(pick(), &enter);
        QVERIFY(!a->shpshow().isVisible());
        QTest::mouseMove(a, QPoint(200, 100));
        QTRY_VERIFY(a->shpshow().isVisible());
        QCOMPARE(a->shpshow().pos(), QPoint(210, 64));
        QTest::mouseMove(b, QPoint(50, 50));
        QTRY_VERIFY(b->shpshow().isVisible());
        QVERIFY(!a->shpshow().isVisible());
    }

    void failedCaptureTellsWhyAndGivesTheWindowBack_data()
    {
        QTest::addColumn<QString>("error");
        QTest::addColumn<bool>("emptyImage");
        QTest::addColumn<QString>("shown");
        QTest::newRow("no capture") << "Wayland says no." << false << "Wayland says no.";
        QTest::newRow("an empty image") << "" << true << "The screen could not be captured.";
    }
    void failedCaptureTellsWhyAndGivesTheWindowBack()
    {
        QFETCH(QString, error);
        QFETCH(bool, emptyImage);
        QFETCH(QString, shown);
        f->fakes.screenCapture.result = {std::nullopt, error};
        if (emptyImage)
            f->fakes.screenCapture.result.desktop = DesktopImage{};
        f->window().show();
        f->find<QAction>("pickcolor")->trigger();
        QVERIFY(f->window().isVisible());
        QVERIFY(!run());
        QCOMPARE(f->fakes.questions.errors.size(), std::size_t(1));
        QCOMPARE(f->fakes.questions.errors[0].text, shown);
        for (QWidget* top : QApplication::topLevelWidgets())
            QVERIFY(top->objectName() != "frmGetColor");
        // Nothing was picked, so nothing of the user's is lost.
        QCOMPARE(f->fakes.clipboard.text(), QString("held by the user"));
    }

    void failedAppendIsShownAndPickingGoesOn()
    {
        QVERIFY(startPicker());
        std::filesystem::remove(f->folder() / "mycolor.rgb");
        std::filesystem::create_directory(f->folder() / "mycolor.rgb");
        QTest::mouseRelease(overlayOn(0), Qt::LeftButton, {}, QPoint(1, 1));
        QCOMPARE(f->fakes.questions.errors.size(), std::size_t(1));
        QVERIFY(f->fakes.questions.errors[0].text.contains("mycolor.rgb"));
        QVERIFY(run());
        QVERIFY(pick()->isVisible());
    }

    void captureRouteFollowsTheSessionType_data()
    {
        QTest::addColumn<QByteArray>("sessionType");
        QTest::addColumn<QByteArray>("waylandDisplay");
        QTest::addColumn<bool>("portal");
        QTest::newRow("X11 session") << QByteArray("x11") << QByteArray() << false;
        QTest::newRow("X11 session, stray Wayland socket")
            << QByteArray("x11") << QByteArray("wayland-0") << false;
        QTest::newRow("Wayland session, XWayland") << QByteArray("wayland") << QByteArray() << true;
        QTest::newRow("no session type, Wayland socket")
            << QByteArray() << QByteArray("wayland-1") << true;
        QTest::newRow("no session type, no Wayland") << QByteArray() << QByteArray() << false;
    }
    void captureRouteFollowsTheSessionType()
    {
        QFETCH(QByteArray, sessionType);
        QFETCH(QByteArray, waylandDisplay);
        QFETCH(bool, portal);
        const QByteArray oldType = qgetenv("XDG_SESSION_TYPE");
        const QByteArray oldDisplay = qgetenv("WAYLAND_DISPLAY");
        qputenv("XDG_SESSION_TYPE", sessionType);
        qputenv("WAYLAND_DISPLAY", waylandDisplay);
        const CaptureRoute route = captureRoute();
        qputenv("XDG_SESSION_TYPE", oldType);
        qputenv("WAYLAND_DISPLAY", oldDisplay);
        QCOMPARE(route == CaptureRoute::Portal, portal);
    }

    // A portal screenshot maps the logical desktop onto the whole picture; each screen's part
    // must land at the screen's device rectangle, so that sampling reads it like a grab.
    void portalShotLandsAtEachScreensDevicePixels()
    {
        // Logical desktop: A (0, 0, 800 x 600) and B (800, -200, 400 x 300) give 1200 x 800.
        QImage shot(1200, 800, QImage::Format_RGB32);
        shot.fill(Qt::black);
        shot.setPixel(10, 220, qRgb(1, 2, 3)); // A (10, 20)
        shot.setPixel(810, 10, qRgb(4, 5, 6)); // B (10, 10), at ratio 2 device (20, 20)
        const CaptureResult result = desktopFromPortalShot(shot);
        QVERIFY(result.desktop);
        QCOMPARE(result.desktop->origin, desktopOrigin);
        const QImage& image = result.desktop->image;
        QCOMPARE(image.size(), desktopSize);
        QCOMPARE(image.pixel(10, 220), qRgb(1, 2, 3));
        for (const QPoint device :
             {QPoint(820, 20), QPoint(821, 20), QPoint(820, 21), QPoint(821, 21)})
            QCOMPARE(image.pixel(device), qRgb(4, 5, 6));
        QCOMPARE(image.pixel(822, 20), qRgb(0, 0, 0));
        QCOMPARE(image.pixel(819, 20), qRgb(0, 0, 0));
    }
};

int main(int argc, char** argv)
{
    // The offscreen platform takes its screens from a file: two screens of different ratios.
    QTemporaryDir dir;
    const QString config = dir.filePath("screens.json");
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly) || file.write(twoScreens) < 0)
        return 1;
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toLocal8Bit());
    QApplication app(argc, argv);
    PickerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "picker_test.moc"
