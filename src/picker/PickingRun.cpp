#include "picker/PickingRun.h"

#include "palette/PaletteStore.h"
#include "picker/frmGetColor.h"
#include "picker/frmpick.h"
#include "platform/DesktopCapture.h"
#include "platform/Services.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

#include <stdexcept>

using namespace bascommon;

PickingRun* startColorPicker(QWidget& main, PaletteStore& store, Services& services)
{
    QScreen* home = main.screen();
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
        return nullptr;
    }
    // The clipboard is emptied only once the run is sure to start, so that a failed capture
    // costs the user nothing.
    services.clipboard.clear();
    auto* run = new PickingRun(&main, store, services, std::move(*capture.desktop));
    run->start(home);
    return run;
}

PickingRun::PickingRun(QObject* owner, PaletteStore& store, Services& services,
                       DesktopImage desktop)
    : QObject(owner), m_store(store), m_services(services), m_desktop(std::move(desktop)),
      m_options(LoupeOptions::load())
{
    setObjectName("pickingRun");
}

PickingRun::~PickingRun() = default;

void PickingRun::showOverlays(QScreen* home)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (!screens.contains(home))
        home = QGuiApplication::primaryScreen();
    for (QScreen* screen : screens) {
        auto overlay = std::make_unique<frmGetColor>(m_desktop, screen, m_options);
        frmGetColor* raw = overlay.get();
        connect(raw, &frmGetColor::colorSampled, this,
                [this, raw](ColorValue color) { onSampled(raw, color); });
        connect(raw, &frmGetColor::picked, this, &PickingRun::onPicked);
        connect(raw, &frmGetColor::stopRequested, this, &PickingRun::stop);
        connect(raw, &frmGetColor::optionsChosen, this, &PickingRun::onOptionsChosen);
        if (!m_current || screen == home)
            m_current = raw;
        m_overlays.push_back(std::move(overlay));
    }
    for (const auto& overlay : m_overlays)
        overlay->showFullScreen();
}

void PickingRun::startAlone(QScreen* home, std::string saveTo)
{
    m_saveTo = std::move(saveTo);
    showOverlays(home);
    giveKeysBack(nullptr);
}

void PickingRun::start(QScreen* home)
{
    showOverlays(home);
    home = m_current->frozenScreen();

    // A child window of the home overlay stays above it, also where the window manager raises
    // an active full-screen window over every window that is merely kept on top. Where windows
    // cannot be placed, it becomes a part of that overlay, so it is seen on the right screen.
    m_pick = new frmpick(m_store, m_services, m_current);
    if (!windowsCanBePlaced())
        m_pick->setWindowFlags(Qt::Widget);
    connect(m_pick, &frmpick::pointerEntered, this, &PickingRun::hideIndicators);
    connect(m_pick, &frmpick::stopRequested, this, &PickingRun::stop);
    connect(m_pick, &frmpick::chooserClosed, this, [this] { giveKeysBack(nullptr); });
    connect(m_pick, &frmpick::keyNotForMe, this, &PickingRun::giveKeysBack);
    m_services.stayOnTop.setTopMost(m_pick, true);
    m_pick->ShowSaveChart();
    const QRect area = m_pick->isWindow() ? home->geometry() : m_current->rect();
    m_pick->move(area.center() - m_pick->rect().center());
    m_pick->show();
    giveKeysBack(nullptr);
}

void PickingRun::stop()
{
    if (m_stopped)
        return;
    m_stopped = true;
    if (m_pick)
        m_pick->hide();
    for (const auto& overlay : m_overlays)
        overlay->hide();
    emit stopped();
    // Stop arrives from a handler of one of the windows: delete them once it has returned.
    deleteLater();
}

void PickingRun::onSampled(frmGetColor* from, ColorValue color)
{
    m_lastSample = color;
    m_current = from;
    // Moving onto another screen leaves no indicator behind on the one the mouse left.
    for (const auto& overlay : m_overlays)
        if (overlay.get() != from)
            overlay->hideIndicator();
    if (m_pick)
        m_pick->showSample(color);
}

void PickingRun::onPicked()
{
    if (m_stopped)
        return;
    emit colorPicked(m_lastSample);
    const std::string& file = m_pick ? m_pick->SaveToFile() : m_saveTo;
    if (file.empty())
        return;
    try {
        m_store.AppendColorRecord(file, HexRGB(m_lastSample));
        emit colorSaved(m_lastSample, QString::fromStdString(file));
    } catch (const std::runtime_error& e) {
        QWidget* parent = m_pick ? static_cast<QWidget*>(m_pick) : m_current;
        m_services.questions.showError(parent, "Hue Bench", QString::fromUtf8(e.what()));
    }
}

void PickingRun::onOptionsChosen(const LoupeOptions& options)
{
    m_options = options;
    m_options.save();
    for (const auto& overlay : m_overlays)
        overlay->setOptions(m_options);
}

void PickingRun::hideIndicators()
{
    for (const auto& overlay : m_overlays)
        overlay->hideIndicator();
}

void PickingRun::giveKeysBack(QKeyEvent* event)
{
    // The keys belong to the overlay for the whole run; the chooser has them only while the
    // user works it.
    if (m_stopped)
        return;
    m_current->activateWindow();
    m_current->setFocus(Qt::OtherFocusReason);
    if (event)
        QCoreApplication::sendEvent(m_current, event);
}
