// The screen picker on screens of ratios 1, 1.25, 1.5 and 2.
#include "MainWindowFixture.h"
#include "palette/PaletteCell.h"
#include "palette/PaletteView.h"
#include "picker/PickingRun.h"
#include "picker/frmGetColor.h"
#include "picker/frmpick.h"
#include "platform/DesktopCapture.h"
#include "platform/ScreenshotPortal.h"

#include <QComboBox>
#include <QPushButton>
#include <QScreen>
#include <QSettings>

using namespace bascommon;

namespace
{

// Screen A (primary) at (0, 0), 800 x 600 at ratio 1; screen B to its right and 200 higher,
// 400 x 300 logical at ratio 2; below A, C at ratio 1.25 and D at ratio 1.5. Each screen keeps its
// top-left as its device top-left, so the desktop in device pixels is A (0, 0, 800 x 600),
// B (800, -200, 800 x 600), C (0, 600, 500 x 400) and D (600, 600, 600 x 450).
const char* const screensJson =
    R"({"screens":[{"name":"A","x":0,"y":0,"width":800,"height":600,"logicalDpi":96,)"
    R"("logicalBaseDpi":96,"dpr":1},{"name":"B","x":800,"y":-200,"width":400,"height":300,)"
    R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":2},{"name":"C","x":0,"y":600,"width":400,)"
    R"("height":320,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1.25},{"name":"D","x":600,)"
    R"("y":600,"width":400,"height":300,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1.5}]})";
const QPoint desktopOrigin(0, -200);
const QSize desktopSize(1600, 1250);
enum Screen { A, B, C, D };

// Each pixel's color encodes its place (low bytes of x and y, then their high bits).
QRgb pattern(QPoint at)
{
    return qRgb(at.x() & 0xFF, at.y() & 0xFF, (at.x() >> 8) | ((at.y() >> 8) << 4));
}

QImage patterned(QSize size)
{
    QImage made(size, QImage::Format_RGB32);
    for (int y = 0; y < made.height(); ++y)
        for (int x = 0; x < made.width(); ++x)
            made.setPixel(x, y, pattern({x, y}));
    return made;
}
} // namespace

class PickerTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainWindowFixture> f;

    PickingRun* run() { return f->window().findChild<PickingRun*>(); }

    frmpick* pick() { return run()->pickWindow(); }

    // The overlays stand in the order of the screens.
    frmGetColor* overlayOn(int screen) { return run()->overlays().at(screen).get(); }

    bool startPicker()
    {
        f->window().show();
        f->find<QAction>("pickcolor")->trigger();
        return run() &&
               std::all_of(run()->overlays().begin(), run()->overlays().end(),
                           [](const auto& o) { return QTest::qWaitForWindowExposed(o.get()); });
    }

    // A pointer event at a logical point with its fraction, as a Wayland compositor sends it.
    static void send(QWidget* overlay, QEvent::Type type, QPointF at)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, overlay->mapToGlobal(at), button, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(overlay, &event);
    }
    static void wheel(QWidget* overlay, int delta, Qt::KeyboardModifiers modifiers = {})
    {
        QWheelEvent event(QPointF(1, 1), overlay->mapToGlobal(QPointF(1, 1)), {}, QPoint(0, delta),
                          Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(overlay, &event);
    }
    // A key to whatever has the keyboard, as the window system delivers it.
    static void key(Qt::Key k, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(static_cast<QWidget*>(nullptr), k, modifiers);
    }

private slots:
    void init()
    {
        static const QImage frozen = patterned(desktopSize);
        QSettings(QSettings::NativeFormat, QSettings::UserScope, "huebench", "huebench").clear();
        f = std::make_unique<MainWindowFixture>();
        f->fakes.screenCapture.result = {DesktopImage{frozen, desktopOrigin}, {}};
        f->fakes.clipboard.setText("held by the user");
    }
    void cleanup() { f.reset(); }

    // Start hides the window, freezes every screen once, empties the clipboard, shows Pick&Save.
    void startFreezesEveryScreenAtItsDevicePixels()
    {
        const QRect d = QGuiApplication::screens().at(D)->geometry();
        f->window().move(d.topLeft() + QPoint(10, 10));
        QVERIFY(startPicker());
        QVERIFY(!f->window().isVisible());
        QCOMPARE(f->fakes.screenCapture.captures, 1);
        QCOMPARE(f->fakes.clipboard.text(), QString());
        QCOMPARE(run()->overlays().size(), std::size_t(4));
        for (int screen : {A, B, C, D}) {
            frmGetColor* overlay = overlayOn(screen);
            QVERIFY(overlay->isVisible() && !overlay->shpshow().isVisible());
            QCOMPARE(overlay->frozenScreen(), QGuiApplication::screens().at(screen));
            QCOMPARE(overlay->geometry(), QGuiApplication::screens().at(screen)->geometry());
        }
        QVERIFY(pick()->isVisible());
        QCOMPARE(pick()->parentWidget(), overlayOn(D));
        QVERIFY((pick()->geometry().center() - d.center()).manhattanLength() <= 4);
        QCOMPARE(f->fakes.stayOnTop.calls.size(), std::size_t(1));
        QVERIFY(f->fakes.stayOnTop.calls[0].window == pick() && f->fakes.stayOnTop.calls[0].onTop);
        QCOMPARE(QApplication::focusWidget(), overlayOn(D));
        // The indicator stands above right of the pointer, partly above the screen near its top.
        QTest::mouseMove(overlayOn(A), QPoint(5, 10));
        QTRY_COMPARE(overlayOn(A)->shpshow().geometry(), QRect(15, -26, 17, 25));
        QVERIFY(overlayOn(A)->shpshow().isVisible());
        // B shows one image pixel per device pixel, the indicator over it in the sampled color.
        frmGetColor* b = overlayOn(B);
        QTest::mouseMove(b, QPoint(100, 100));
        QTRY_VERIFY(b->shpshow().isVisible());
        QVERIFY(!overlayOn(A)->shpshow().isVisible());
        const QImage shown = b->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRect indicator(220, 128, 34, 50), loupe = b->loupe()->geometry();
        const QRect loupeDevice(loupe.topLeft() * 2, loupe.size() * 2);
        for (int y = 0; y < shown.height(); y += 7)
            for (int x = 0; x < shown.width(); x += 5)
                if (!indicator.contains(x, y) && !loupeDevice.contains(x, y))
                    QCOMPARE(shown.pixel(x, y), pattern({800 + x, y}));
        QCOMPARE(shown.pixel(indicator.center()), pattern({1000, 200}));
        QCOMPARE(shown.pixel(indicator.topLeft()), qRgb(0, 0, 0));
        // The offscreen platform does not stack windows, so the pointer enters Pick&Save here.
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), pick()->mapToGlobal(QPointF(5, 5)));
        QApplication::sendEvent(pick(), &enter);
        QVERIFY(!b->shpshow().isVisible());
    }

    // The chooser lists permanent and user palettes, takes keys only while open; picks go there.
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
        for (const Qt::Key k : {Qt::Key_Down, Qt::Key_PageDown})
            key(k);
        QCOMPARE(chooser->currentIndex(), 0);
        QTest::mouseClick(chooser, Qt::LeftButton);
        QTRY_VERIFY(QApplication::activePopupWidget());
        key(Qt::Key_Down);
        key(Qt::Key_Return);
        QTRY_VERIFY(!QApplication::activePopupWidget());
        QCOMPARE(QApplication::focusWidget(), overlayOn(A));
        key(Qt::Key_Down);
        QCOMPARE(chooser->currentIndex(), 1);
        QTest::mouseRelease(overlayOn(B), Qt::LeftButton, {}, QPoint(100, 50));
        QCOMPARE(QString::fromStdString(f->readFile("c50.rgb")), QString("E86403"));
        QVERIFY(f->readFile("recent.rgb").empty());
        chooser->setCurrentIndex(0);
        QCOMPARE(pick()->SaveToFile(), std::string("mycolor.rgb"));
        // A record that cannot be saved is told, and picking goes on.
        std::filesystem::remove(f->folder() / "mycolor.rgb");
        std::filesystem::create_directory(f->folder() / "mycolor.rgb");
        QTest::mouseRelease(overlayOn(A), Qt::LeftButton, {}, QPoint(1, 1));
        QCOMPARE(f->fakes.questions.errors.size(), std::size_t(1));
        QVERIFY(f->fakes.questions.errors[0].text.contains("mycolor.rgb"));
        QVERIFY(run() && pick()->isVisible());
    }

    // Every way out gives the window back on the first palette at page one, with what was saved.
    void everyWayOutEndsTheRun_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("Stop") << 0;
        QTest::newRow("closing Pick&Save") << 1;
        QTest::newRow("Escape on the overlay") << 2;
        QTest::newRow("Escape on Pick&Save") << 3;
    }
    void everyWayOutEndsTheRun()
    {
        QFETCH(int, way);
        QComboBox* chart = f->window().paletteView()->cmbChart;
        chart->setCurrentIndex(chart->count() - 1);
        QVERIFY(startPicker());
        const std::string saved = f->readFile("mycolor.rgb") + "649010" + "200203";
        QTest::mouseMove(overlayOn(A), QPoint(100, 200));
        QTest::mouseRelease(overlayOn(A), Qt::RightButton, {}, QPoint(100, 200));
        QTest::mouseRelease(overlayOn(B), Qt::MiddleButton, {}, QPoint(0, 1));
        if (way == 0)
            QTest::mouseClick(pick()->cmdStop, Qt::LeftButton);
        else if (way == 1)
            pick()->close();
        else
            QTest::keyClick(way == 2 ? static_cast<QWidget*>(overlayOn(A)) : pick(),
                            Qt::Key_Escape);
        emit overlayOn(A)->picked(); // a pick still on its way when the run ends saves nothing
        QVERIFY(f->window().isVisible());
        QTRY_VERIFY(!run());
        PaletteView* view = f->window().paletteView();
        QCOMPARE(view->currentFile(), std::string("mycolor.rgb"));
        QCOMPARE(chart->currentIndex(), 0);
        QCOMPARE(view->page(), 1);
        QCOMPARE(view->lblcor[0]->color(), RGB(0x20, 0x02, 0x03));
        QCOMPARE(view->lblcor[1]->color(), RGB(0x64, 0x90, 0x10));
        QCOMPARE(f->readFile("mycolor.rgb"), saved);
    }

    // A capture that fails is told and the user's clipboard kept.
    void failedCaptureIsToldAndLosesNothing()
    {
        f->window().show();
        const struct {
            CaptureResult result;
            QString shown;
        } failures[] = {{{std::nullopt, "Wayland says no."}, "Wayland says no."},
                        {{DesktopImage{}, ""}, "The screen could not be captured."}};
        for (const auto& failure : failures) {
            f->fakes.questions.errors.clear();
            f->fakes.screenCapture.result = failure.result;
            f->find<QAction>("pickcolor")->trigger();
            QVERIFY(f->window().isVisible());
            QVERIFY(!run());
            QCOMPARE(f->fakes.questions.errors.size(), std::size_t(1));
            QCOMPARE(f->fakes.questions.errors[0].text, failure.shown);
            QCOMPARE(f->fakes.clipboard.text(), QString("held by the user"));
        }
    }

    void captureRouteFollowsTheSessionType()
    {
        const QByteArray oldType = qgetenv("XDG_SESSION_TYPE");
        const QByteArray oldDisplay = qgetenv("WAYLAND_DISPLAY");
        const struct {
            const char *sessionType, *waylandDisplay;
            bool portal;
        } rows[] = {{"x11", "wayland-0", false},
                    {"wayland", "", true},
                    {"", "wayland-1", true},
                    {"", "", false}};
        for (const auto& row : rows) {
            qputenv("XDG_SESSION_TYPE", row.sessionType);
            qputenv("WAYLAND_DISPLAY", row.waylandDisplay);
            QCOMPARE(captureRoute() == CaptureRoute::Portal, row.portal);
        }
        qputenv("XDG_SESSION_TYPE", oldType);
        qputenv("WAYLAND_DISPLAY", oldDisplay);
    }

    // The pixel read is floor(pointer x ratio), or a portal picture's at its scale; arrow keys move
    // one device pixel (of the picture where it is coarser than the toolkit's), ten with Shift. The
    // loupe stays on the screen, clear of the point.
    void samplesExactDevicePixelsBesideTheLoupe()
    {
        const struct {
            Screen screen;
            QPointF pointer;
            QPoint pixel;          // of the frozen image, or of the portal's picture
            qreal portalScale = 0; // 0: a capture in device pixels
            const char* keys = "";
            int zoom = 8;
            bool magnified = false; // the loupe's view around the pixel is checked
        } rows[] = {
            {B, {68.5, 76.5}, {937, 153}, 0, "", 8, true},
            {B, {68.49, 0.25}, {936, 0}}, // just short of odd
            {C, {10.4, 20.8}, {13, 826}},
            {D, {137 / 1.5, 153 / 1.5}, {737, 953}, 0, "", 8, true},
            // The loupe at the edges of a screen.
            {A, {795.5, 300}, {795, 500}},
            {A, {799.9, 599.9}, {799, 799}},
            {A, {3, 590}, {3, 790}},
            // Portal pictures of the logical layout, (0, -200) to (1200, 920).
            {B, {100.5, 50}, {1801, 100}, 2},
            {A, {10, 20}, {21, 441}, 2},
            {D, {137 / 1.5, 1}, {1383, 1602}, 2},
            // A 1.5 output that the toolkit draws at 2: the pointer's fraction and the keys work
            // in the picture's own pixels, each reachable and one per key.
            {B, {1.336, 1.336}, {1202, 2}, 1.5},
            {B, {100, 50}, {1362, 74}, 1.5, "rrRu"},
            {B, {68, 76}, {937, 154}, 0, "rdd"},
            {B, {68, 76}, {956, 151}, 0, "RRu"},
            {D, {10, 10}, {614, 805}, 0, "lU"},
            {A, {0, 0}, {0, 200}, 0, "lLuU"}, // held at the corner
            // Too tall for above or below: level with the point, beside it.
            {B, {395, 150}, {1590, 300}, 0, "", 32},
            {B, {3, 150}, {806, 300}, 0, "", 32},
        };
        const QMap<QChar, Qt::Key> arrows{
            {'l', Qt::Key_Left}, {'r', Qt::Key_Right}, {'u', Qt::Key_Up}, {'d', Qt::Key_Down}};
        for (const auto& row : rows) {
            cleanup();
            init();
            LoupeOptions{row.zoom, 1}.save();
            if (row.portalScale)
                f->fakes.screenCapture.result =
                    desktopFromPortalShot(patterned(QSize(1200, 1120) * row.portalScale));
            QVERIFY(startPicker());
            const std::string before = f->readFile("mycolor.rgb");
            frmGetColor* overlay = overlayOn(row.screen);
            const QString hex = QColor(pattern(row.pixel)).name().toUpper();
            const bool nudged = *row.keys;
            if (!nudged)
                send(overlay, QEvent::MouseButtonRelease, row.pointer); // before any movement
            send(overlay, QEvent::MouseMove, row.pointer);
            QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(overlay));
            for (const QChar k : QString(row.keys))
                key(arrows[k.toLower()], k.isUpper() ? Qt::ShiftModifier : Qt::NoModifier);
            QCOMPARE(pick()->txthex->text(), hex);
            QCOMPARE(pick()->lblcor->palette().color(QPalette::Window), QColor(hex));
            for (const ColorValue shown :
                 {run()->lastSample(), overlay->loupe()->color(), overlay->shpshow().color()})
                QCOMPARE(QString::fromStdString(HexRGB(shown)), hex);
            const QRect loupe = overlay->loupe()->geometry();
            QVERIFY(overlay->loupe()->isVisible() && overlay->rect().contains(loupe));
            QVERIFY(!loupe.intersects(overlay->shpshow().geometry()));
            QVERIFY(!loupe.contains(row.pointer.toPoint()));
            // Drawn for every row: at a screen's edge the view reads no pixel beyond it (ASan).
            const QImage view =
                overlay->loupe()->grab().toImage().convertToFormat(QImage::Format_RGB32);
            if (row.magnified) {
                // Inside the middle image pixel of the view, 8 x 8 device pixels.
                const Loupe* magnifier = overlay->loupe();
                const QPoint middle = magnifier->viewRect().topLeft() +
                                      QPoint(1, 1) * (magnifier->span() / 2 * 8 + 4);
                for (const QPoint step : {QPoint(0, 0), QPoint(1, 0), QPoint(-2, 3)})
                    QCOMPARE(view.pixel(middle + step * 8), pattern(row.pixel + step));
            }
            if (nudged)
                key(Qt::Key_Return);
            else
                send(overlay, QEvent::MouseButtonRelease, row.pointer);
            QCOMPARE(QString::fromStdString(f->readFile("mycolor.rgb")),
                     QString::fromStdString(before) + hex.mid(1) + (nudged ? "" : hex.mid(1)));
        }
        // Once shown, the loupe still gets out of the pointer's way, even at 32x with no room left.
        frmGetColor* overlay = overlayOn(A);
        send(overlay, QEvent::MouseMove, {400, 300});
        const QPoint onLoupe = overlay->loupe()->geometry().center();
        send(overlay, QEvent::MouseMove, onLoupe);
        QVERIFY(!overlay->loupe()->geometry().contains(onLoupe));
    }

    // The keys' crosshair: black arms edged in white around the toolkit's device pixel that
    // shows the sampled pixel, also where the picture's pixels are coarser than the toolkit's
    // (a 1.5 picture on screen B at 2: picture pixel (162, 74) lies under device pixel (216, 99)).
    void crosshairMarksTheSampledPixel()
    {
        f->fakes.screenCapture.result = desktopFromPortalShot(patterned(QSize(1800, 1680)));
        QVERIFY(startPicker());
        frmGetColor* overlay = overlayOn(B);
        send(overlay, QEvent::MouseMove, {100, 50});
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(overlay));
        for (const Qt::Key k : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Up})
            key(k);
        QCOMPARE(*overlay->samplePoint(), QPoint(153, 74));
        const QImage shown = overlay->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QPoint c(204, 99); // floor((153.5, 74.5) x 2 / 1.5)
        for (const QPoint arm : {QPoint(5, 0), QPoint(-5, 0), QPoint(0, 5), QPoint(0, -5)}) {
            QCOMPARE(shown.pixel(c + arm), qRgb(0, 0, 0));
            const QPoint edge = c + arm + QPoint(arm.y() != 0, arm.x() != 0);
            QCOMPARE(shown.pixel(edge), qRgb(255, 255, 255));
        }
        QCOMPARE(shown.pixel(c), QColor(pick()->txthex->text()).rgb());
    }

    // Keys 1, 3, 5 and Ctrl+wheel set the sample size, the wheel the zoom; both outlive the run.
    void optionsFollowWheelAndKeysAndAreRemembered()
    {
        QVERIFY(startPicker());
        frmGetColor* overlay = overlayOn(A);
        send(overlay, QEvent::MouseMove, QPointF(256, 200)); // image (256, 400) across x 255 | 256
        QCOMPARE(pick()->txthex->text(), QString("#009011"));
        key(Qt::Key_3);
        QCOMPARE(pick()->txthex->text(), QString("#559011"));
        wheel(overlay, 120, Qt::ControlModifier);
        QCOMPARE(pick()->txthex->text(), QString("#669011"));
        wheel(overlay, 120, Qt::ControlModifier);
        QCOMPARE(LoupeOptions::load().sampleSize, 5);
        key(Qt::Key_1);
        QCOMPARE(pick()->txthex->text(), QString("#009011"));
        const int width8 = overlay->loupe()->width();
        // Whole notches step the zoom, half ones add up, and it stays within 2 to 32.
        const std::pair<int, int> steps[] = {{120, 12}, {60, 12}, {60, 16}, {1200, 32}, {-2400, 2}};
        for (const auto& [delta, zoom] : steps) {
            wheel(overlay, delta);
            QCOMPARE(LoupeOptions::load().zoom, zoom);
        }
        key(Qt::Key_3);
        // At the screen's corner only the four pixels on the screen count, and 0.5 rounds up.
        send(overlay, QEvent::MouseMove, QPointF(0, 0));
        QCOMPARE(pick()->txthex->text(), QString("#01C900"));
        QTest::mouseClick(pick()->cmdStop, Qt::LeftButton);
        QTRY_VERIFY(!run());
        QVERIFY(startPicker());
        send(overlayOn(A), QEvent::MouseMove, QPointF(256, 200));
        QCOMPARE(pick()->txthex->text(), QString("#559011"));
        QVERIFY(overlayOn(A)->loupe()->width() < width8);
    }

    // An area at the edge of a picture smaller than its screen averages the picture's pixels only.
    void areaMeanStaysInsideAPictureSmallerThanItsScreen()
    {
        QImage picture(4, 4, QImage::Format_RGB32);
        picture.fill(qRgb(10, 20, 30));
        const FrozenDesktop desktop(DesktopImage{picture, QPoint(0, 0)});
        QCOMPARE(desktop.averageAt({3, 3}, 5, QRect(0, 0, 100, 100)), RGB(10, 20, 30));
        QCOMPARE(desktop.averageAt({9, 9}, 3, QRect(0, 0, 100, 100)), RGB(0, 0, 0)); // beyond it
    }
};

int main(int argc, char** argv)
{
    // The offscreen platform takes its screens from a file.
    QTemporaryDir dir;
    const QString config = dir.filePath("screens.json");
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly) || file.write(screensJson) < 0)
        return 1;
    file.close();
    // The picker's options go to a settings file of the test's own, never the user's.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.filePath("config"));
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toLocal8Bit());
    QApplication app(argc, argv);
    PickerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "picker_test.moc"
