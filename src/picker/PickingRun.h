#pragma once

#include "color/bascommon.h"
#include "picker/FrozenDesktop.h"
#include "picker/Loupe.h"

#include <QObject>

#include <memory>
#include <string>
#include <vector>

class PaletteStore;
class QKeyEvent;
class QScreen;
class QWidget;
class frmGetColor;
class frmpick;
struct Services;

// One run of the screen picker, from the frozen screen to Stop: an overlay on every screen,
// the pick-and-save window above them and the last sampled color. A child of the window that
// started it; it deletes itself, with its windows, when the run stops.
class PickingRun : public QObject
{
    Q_OBJECT
public:
    PickingRun(QObject* owner, PaletteStore& store, Services& services, DesktopImage desktop);
    ~PickingRun() override;

    // Shows the overlays, the one on `home` with the keyboard, then the pick-and-save window
    // on top of that one, its "Save To:" filled.
    void start(QScreen* home);
    // For a pick from the command line: the overlays alone, without the pick-and-save window,
    // the one on `home` with the keyboard. Each pick is reported by colorPicked() and appended
    // to the palette file `saveTo`, unless that is empty.
    void startAlone(QScreen* home, std::string saveTo);
    // Takes both windows away and reports stopped().
    void stop();

    const std::vector<std::unique_ptr<frmGetColor>>& overlays() const { return m_overlays; }
    frmpick* pickWindow() const { return m_pick; }
    // Black until the first sample.
    bascommon::ColorValue lastSample() const { return m_lastSample; }

signals:
    // A color was picked (a click, Enter or Space), before it is saved.
    void colorPicked(bascommon::ColorValue color);
    // A picked color was appended to the palette file `file`.
    void colorSaved(bascommon::ColorValue color, const QString& file);
    // The run has ended; its windows are gone.
    void stopped();

private:
    void showOverlays(QScreen* home);
    void onSampled(frmGetColor* from, bascommon::ColorValue color);
    void onPicked();
    void onOptionsChosen(const LoupeOptions& options);
    void hideIndicators();
    void giveKeysBack(QKeyEvent* event);

    PaletteStore& m_store;
    Services& m_services;
    FrozenDesktop m_desktop;
    LoupeOptions m_options;
    std::vector<std::unique_ptr<frmGetColor>> m_overlays;
    frmGetColor* m_current = nullptr; // the overlay that has the keyboard
    frmpick* m_pick = nullptr;        // a child of the overlay on the home screen; none alone
    std::string m_saveTo;             // the palette file of a run without m_pick
    bascommon::ColorValue m_lastSample = 0;
    bool m_stopped = false;
};

// Starts the screen picker for `main`: hides it, freezes the screen and shows the overlays and
// the pick-and-save window on the screen `main` was on. Returns the run, whose stopped() the
// caller connects to showing `main` again. When the screen cannot be captured, the user is told
// why, `main` comes back and there is no run.
PickingRun* startColorPicker(QWidget& main, PaletteStore& store, Services& services);
