#include "picker/PickingRun.h"

#include "app/frmshowcolor.h"
#include "picker/frmGetColor.h"
#include "picker/frmpick.h"
#include "platform/Services.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

#include <stdexcept>

using namespace bascommon;

void startColorPicker(frmshowcolor& main, PaletteStore& store, Services& services)
{
    // The main window must be gone from the screen before it is copied: let the hide and the
    // repaints it causes run first.
    main.hide();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    CaptureResult capture = services.screenCapture.captureDesktop();
    if (!capture.desktop || capture.desktop->image.isNull()) {
        // Never a black overlay that would save black: say why, and give the window back.
        main.show();
        const QString reason =
            capture.error.isEmpty()
                ? QCoreApplication::translate("PickingRun", "The screen could not be captured.")
                : capture.error;
        services.questions.showError(&main, "Hue Bench", reason);
        return;
    }
    // The clipboard is emptied only once the run is sure to start, so that a failed capture
    // costs the user nothing.
    services.clipboard.clear();
    auto* run = new PickingRun(main, store, services, std::move(*capture.desktop));
    run->start();
}

PickingRun::PickingRun(frmshowcolor& main, PaletteStore& store, Services& services,
                       DesktopImage desktop)
    : QObject(&main), m_main(main), m_store(store), m_services(services),
      m_desktop(std::move(desktop))
{
    setObjectName("pickingRun");
}

PickingRun::~PickingRun() = default;

void PickingRun::start()
{
    frmGetColor* primary = nullptr;
    for (QScreen* screen : QGuiApplication::screens()) {
        auto overlay = std::make_unique<frmGetColor>(m_desktop, screen);
        frmGetColor* raw = overlay.get();
        connect(raw, &frmGetColor::colorSampled, this,
                [this, raw](ColorValue color) { onSampled(raw, color); });
        connect(raw, &frmGetColor::picked, this, &PickingRun::onPicked);
        connect(raw, &frmGetColor::stopRequested, this, &PickingRun::stop);
        if (!primary || screen == QGuiApplication::primaryScreen())
            primary = raw;
        m_overlays.push_back(std::move(overlay));
    }
    for (const auto& overlay : m_overlays)
        overlay->showFullScreen();

    // A child window of an overlay stays above it, also where the window manager raises an
    // active full-screen window over every window that is merely kept on top.
    m_pick = new frmpick(m_store, m_services, primary);
    connect(m_pick, &frmpick::pointerEntered, this, &PickingRun::hideIndicators);
    connect(m_pick, &frmpick::stopRequested, this, &PickingRun::stop);
    m_services.stayOnTop.setTopMost(m_pick, true);
    m_pick->ShowSaveChart();
    const QRect screen = primary->frozenScreen()->geometry();
    m_pick->move(screen.center() - m_pick->rect().center());
    m_pick->show();
    m_pick->activateWindow();
}

void PickingRun::stop()
{
    if (m_stopped)
        return;
    m_stopped = true;
    m_pick->hide();
    for (const auto& overlay : m_overlays)
        overlay->hide();
    m_main.pickerStopped();
    // Stop arrives from a handler of one of the windows: delete them once it has returned.
    deleteLater();
}

void PickingRun::onSampled(const frmGetColor* from, ColorValue color)
{
    m_lastSample = color;
    // Moving onto another screen leaves no indicator behind on the one the mouse left.
    for (const auto& overlay : m_overlays)
        if (overlay.get() != from)
            overlay->hideIndicator();
    m_pick->showSample(color);
}

void PickingRun::onPicked()
{
    if (m_stopped || m_pick->SaveToFile().empty())
        return;
    try {
        m_store.AppendColorRecord(m_pick->SaveToFile(), HexRGB(m_lastSample));
    } catch (const std::runtime_error& e) {
        m_services.questions.showError(m_pick, "Hue Bench", QString::fromUtf8(e.what()));
    }
}

void PickingRun::hideIndicators()
{
    for (const auto& overlay : m_overlays)
        overlay->hideIndicator();
}
