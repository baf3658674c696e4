// The screen picker's costs: freezing the desktop once per run, and sampling, with the loupe,
// on every mouse movement or arrow key over the frozen overlay.
//
// Needs a display. Measure on a 4K screen under Xvfb:
//   Xvfb :97 -screen 0 3840x2160x24 -nolisten tcp &
//   DISPLAY=:97 ./capture_bench
// The sampling benchmarks also run without a display, on an offscreen screen of that size:
//   QT_QPA_PLATFORM=offscreen:configfile=4k.json ./capture_bench --benchmark_filter=Move/Nudge
// with 4k.json {"screens":[{"name":"4k","x":0,"y":0,"width":3840,"height":2160}]}
// they freeze a synthetic image of the primary screen's size.
#include "picker/FrozenDesktop.h"
#include "picker/frmGetColor.h"
#include "picker/frmpick.h"
#include "palette/PaletteStore.h"
#include "platform/DesktopCapture.h"
#include "platform/Services.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

// Counts heap allocations, so that the sampling benchmarks can report how many one movement
// makes (the picker's own code makes none when the color stays the same).
namespace
{
std::atomic<long> allocations{0};
}

void* operator new(std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace
{

// Grabbing every screen into one image: what a picker start costs beyond its settle time.
void BM_GrabScreens(benchmark::State& state)
{
    const QRect desktop = desktopDeviceRect();
    for (auto _ : state) {
        CaptureResult result = grabScreens();
        if (!result.desktop) {
            state.SkipWithError(result.error.toStdString().c_str());
            return;
        }
        benchmark::DoNotOptimize(result.desktop->image.constBits());
    }
    state.counters["pixels"] = double(desktop.width()) * desktop.height();
    state.SetLabel(QString("%1x%2").arg(desktop.width()).arg(desktop.height()).toStdString());
}
BENCHMARK(BM_GrabScreens)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// An image of the desktop's size: one color throughout, or a different color in every pixel.
DesktopImage syntheticDesktop(bool uniform = false)
{
    const QRect desktop = desktopDeviceRect();
    QImage image(desktop.size(), QImage::Format_RGB32);
    image.fill(qRgb(0x12, 0x34, 0x56));
    for (int y = 0; !uniform && y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = qRgb(x & 0xFF, y & 0xFF, ((x >> 8) << 4) | (y >> 8));
    }
    return DesktopImage{std::move(image), desktop.topLeft()};
}

// Reading one pixel of the frozen image.
void BM_ColorAt(benchmark::State& state)
{
    const FrozenDesktop desktop(syntheticDesktop());
    const QSize size = desktop.image().size();
    int x = 0, y = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(desktop.colorAt(QPoint(x, y)));
        x = (x + 7) % size.width();
        y = (y + 3) % size.height();
    }
}
BENCHMARK(BM_ColorAt);

// Services that the pick-and-save window may touch; none is used while sampling.
struct NoServices final : Clipboard,
                          ScreenCapture,
                          Questions,
                          FileSaveDialog,
                          ColorDialog,
                          ShellOpen,
                          StayOnTop,
                          FileOpenDialog {
    void setText(const QString&) override {}
    QString text() const override { return {}; }
    void clear() override {}
    CaptureResult captureDesktop() override { return {}; }
    bool askYesNo(QWidget*, const QString&, const QString&, bool) override { return false; }
    void showError(QWidget*, const QString&, const QString&) override {}
    void showMessage(QWidget*, const QString&, const QString&) override {}
    std::optional<QString> getOpenFileName(QWidget*, const QString&, const QString&) override
    {
        return {};
    }
    std::optional<QString> getSaveFileName(QWidget*, const QString&, const QString&,
                                           const QString&) override
    {
        return {};
    }
    QColor getColor(QWidget*, const QColor& initial) override { return initial; }
    void openUrl(const QUrl&) override {}
    void setTopMost(QWidget*, bool) override {}
    Services services() { return {*this, *this, *this, *this, *this, *this, *this, *this}; }
};

// One mouse movement over the overlay, as the window system delivers it: the pixel is read from
// the frozen image, the indicator and the loupe move and Pick&Save shows the color. The pointer
// walks a 200 x 100 rectangle, one pixel a step. newColor:0 freezes a one-color image, so that
// Pick&Save has nothing new to show; newColor:1 meets a new color on every step. repaint:1 also
// lets the overlay and the loupe repaint, as the event loop does between movements.
void BM_SampleOnMove(benchmark::State& state)
{
    const bool newColors = state.range(0) != 0;
    const bool repaint = state.range(1) != 0;
    QTemporaryDir folder;
    PaletteStore store(folder.path().toStdString());
    NoServices none;
    Services services = none.services();
    const FrozenDesktop desktop(syntheticDesktop(!newColors));
    frmGetColor overlay(desktop, QGuiApplication::primaryScreen(),
                        LoupeOptions{int(state.range(2)), 1});
    frmpick pick(store, services, &overlay);
    QObject::connect(&overlay, &frmGetColor::colorSampled, &pick, &frmpick::showSample);
    overlay.show();
    pick.show();
    // The overlay has the keyboard during a run, as it takes it on the first movement.
    overlay.activateWindow();
    overlay.setFocus();
    QCoreApplication::processEvents();

    int step = 0;
    const long allocationsBefore = allocations.load();
    for (auto _ : state) {
        const QPointF at(100 + step % 200, 300 + step / 200 % 100);
        QMouseEvent move(QEvent::MouseMove, at, overlay.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(&overlay, &move);
        if (repaint)
            QCoreApplication::processEvents();
        ++step;
    }
    state.counters["allocs/move"] =
        double(allocations.load() - allocationsBefore) / double(state.iterations());
}
BENCHMARK(BM_SampleOnMove)
    ->ArgsProduct({{0, 1}, {0, 1}, {8, 32}})
    ->ArgNames({"newColor", "repaint", "zoom"})
    ->Unit(benchmark::kMicrosecond);

// One arrow key on the overlay: the sampling point moves one device pixel, right then left.
void BM_NudgeByKey(benchmark::State& state)
{
    const bool repaint = state.range(0) != 0;
    QTemporaryDir folder;
    PaletteStore store(folder.path().toStdString());
    NoServices none;
    Services services = none.services();
    const FrozenDesktop desktop(syntheticDesktop());
    frmGetColor overlay(desktop, QGuiApplication::primaryScreen(),
                        LoupeOptions{int(state.range(1)), 1});
    frmpick pick(store, services, &overlay);
    QObject::connect(&overlay, &frmGetColor::colorSampled, &pick, &frmpick::showSample);
    overlay.show();
    pick.show();
    // The overlay has the keyboard during a run, as it takes it on the first movement.
    overlay.activateWindow();
    overlay.setFocus();
    QCoreApplication::processEvents();
    overlay.sampleAt(QPoint(600, 400), false);

    int step = 0;
    const long allocationsBefore = allocations.load();
    for (auto _ : state) {
        QKeyEvent key(QEvent::KeyPress, step % 2 ? Qt::Key_Left : Qt::Key_Right, Qt::NoModifier);
        QCoreApplication::sendEvent(&overlay, &key);
        if (repaint)
            QCoreApplication::processEvents();
        ++step;
    }
    state.counters["allocs/key"] =
        double(allocations.load() - allocationsBefore) / double(state.iterations());
}
BENCHMARK(BM_NudgeByKey)
    ->ArgsProduct({{0, 1}, {8, 32}})
    ->ArgNames({"repaint", "zoom"})
    ->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
