// The screen picker's costs: freezing the desktop once per run, and on every pointer movement
// or arrow key over the frozen overlay, the sample and the repaint of the loupe and indicator.
//
// Grabbing needs a display. Measure on a 4K screen under Xvfb:
//   Xvfb :97 -screen 0 3840x2160x24 -nolisten tcp &
//   DISPLAY=:97 ./capture_bench
// Without a display (neither DISPLAY nor QT_QPA_PLATFORM set) the program runs on an offscreen
// screen of 3840 x 2160, where the per-step benchmarks freeze a synthetic image of that size:
//   ./capture_bench --benchmark_filter='PointerMove|ArrowKey'
#include "picker/FrozenDesktop.h"
#include "picker/frmGetColor.h"
#include "platform/DesktopCapture.h"
#include "platform/Services.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QTemporaryDir>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <atomic>
#include <cerrno>
#include <cstddef>

// Counts heap allocations, so that the per-step benchmarks show how many one step makes. Qt's
// containers allocate with malloc and C++ with operator new, which calls malloc: the C allocator
// is replaced by a counting front to glibc's own. Not under the sanitizers, which replace it too.
namespace
{
std::atomic<long> allocations{0};
}

#if defined(__SANITIZE_ADDRESS__)
#define HUEBENCH_COUNT_ALLOCATIONS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer)
#define HUEBENCH_COUNT_ALLOCATIONS 0
#endif
#endif
#ifndef HUEBENCH_COUNT_ALLOCATIONS
#define HUEBENCH_COUNT_ALLOCATIONS 1
#endif

#if HUEBENCH_COUNT_ALLOCATIONS
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* p, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* p);

void* malloc(std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(size);
}
void* calloc(std::size_t count, std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_calloc(count, size);
}
void* realloc(void* p, std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_realloc(p, size);
}
void* memalign(std::size_t alignment, std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_memalign(alignment, size);
}
void* aligned_alloc(std::size_t alignment, std::size_t size)
{
    return memalign(alignment, size);
}
int posix_memalign(void** p, std::size_t alignment, std::size_t size)
{
    *p = memalign(alignment, size);
    return *p || !size ? 0 : ENOMEM;
}
void free(void* p)
{
    __libc_free(p);
}
}
#endif

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

// What one movement or arrow key costs the user, measured as the target states it: on an
// overlay of 3840 x 2160 over an image with a different color in every pixel, the event
// delivered to the overlay's window, the sample, and the repaint of what changed (the indicator,
// the loupe at its old and new place, the keyboard's crosshair) into the window's backing store,
// as the event loop does before the next event. Pick&Save is not shown: its own cost is apart.
// "allocs" counts heap allocations per step, Qt's included; "paints" the paint events the overlay
// and the loupe received, which shows that every step was repainted.
class OverlayOnScreen : public QObject
{
public:
    explicit OverlayOnScreen(int zoom)
        : m_desktop(syntheticDesktop()),
          m_overlay(m_desktop, QGuiApplication::primaryScreen(), LoupeOptions{zoom, 1})
    {
        m_overlay.installEventFilter(this);
        m_overlay.loupe()->installEventFilter(this);
        m_overlay.show();
        // The overlay has the keyboard during a run, as it takes it on the first movement.
        m_overlay.activateWindow();
        m_overlay.setFocus();
        QCoreApplication::processEvents();
    }
    frmGetColor& overlay() { return m_overlay; }
    QWindow& window() { return *m_overlay.windowHandle(); }

    // Starts counting; the loop follows.
    void start()
    {
        m_paints = 0;
        m_allocations = allocations.load();
    }
    void report(benchmark::State& state) const
    {
        const QSize screen = QGuiApplication::primaryScreen()->size();
        state.SetLabel(QString("%1x%2").arg(screen.width()).arg(screen.height()).toStdString());
        const auto perStep = benchmark::Counter::kAvgIterations;
        state.counters["paints"] = benchmark::Counter(double(m_paints), perStep);
        if (HUEBENCH_COUNT_ALLOCATIONS)
            state.counters["allocs"] =
                benchmark::Counter(double(allocations.load() - m_allocations), perStep);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        m_paints += event->type() == QEvent::Paint;
        return false;
    }

private:
    const FrozenDesktop m_desktop;
    frmGetColor m_overlay;
    long m_paints = 0;
    long m_allocations = 0;
};

// The pointer walks a 200 x 100 rectangle, one pixel a step: the loupe follows every few steps.
void BM_PointerMove(benchmark::State& state)
{
    OverlayOnScreen screen(int(state.range(0)));
    int step = 0;
    screen.start();
    for (auto _ : state) {
        const QPointF at(100 + step % 200, 300 + step / 200 % 100);
        QMouseEvent move(QEvent::MouseMove, at, at, screen.overlay().mapToGlobal(at), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&screen.window(), &move);
        QCoreApplication::processEvents();
        ++step;
    }
    screen.report(state);
}

// One arrow key: the sampling point moves one device pixel, right then left; the pointer is
// moved after it and the crosshair drawn.
void BM_ArrowKey(benchmark::State& state)
{
    OverlayOnScreen screen(int(state.range(0)));
    screen.overlay().sampleAt(QPoint(600, 400), false);
    QCoreApplication::processEvents();
    int step = 0;
    screen.start();
    for (auto _ : state) {
        QKeyEvent key(QEvent::KeyPress, step % 2 ? Qt::Key_Left : Qt::Key_Right, Qt::NoModifier);
        QCoreApplication::sendEvent(&screen.window(), &key);
        QCoreApplication::processEvents();
        ++step;
    }
    screen.report(state);
}

// Repeated runs: the machine is shared, so the median is the figure to read.
void perStep(benchmark::internal::Benchmark* benchmark)
{
    benchmark->ArgName("zoom")
        ->Arg(8)
        ->Arg(32)
        ->Unit(benchmark::kMicrosecond)
        ->MinTime(0.5)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
}
BENCHMARK(BM_PointerMove)->Apply(perStep);
BENCHMARK(BM_ArrowKey)->Apply(perStep);

} // namespace

int main(int argc, char** argv)
{
    // No display named: an offscreen screen of the size the per-step targets are set for.
    QTemporaryDir folder;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")) {
        QFile config(folder.filePath("4k.json"));
        if (config.open(QIODevice::WriteOnly))
            config.write(R"({"screens":[{"name":"4k","x":0,"y":0,"width":3840,"height":2160}]})");
        config.close();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
