#pragma once

#include "color/bascommon.h"
#include "picker/FrozenDesktop.h"

#include <QObject>

#include <memory>
#include <vector>

class PaletteStore;
class frmGetColor;
class frmpick;
class frmshowcolor;
struct Services;

// One run of the screen picker, from the frozen screen to Stop: an overlay on every screen,
// the pick-and-save window above them and the last sampled color. A child of the main window;
// it deletes itself, with its windows, when the run stops.
class PickingRun : public QObject
{
    Q_OBJECT
public:
    PickingRun(frmshowcolor& main, PaletteStore& store, Services& services, DesktopImage desktop);
    ~PickingRun() override;

    // Shows the overlays, then the pick-and-save window on top, its "Save To:" filled.
    void start();
    // Takes both windows away and gives the main window back, showing the first palette.
    void stop();

    const std::vector<std::unique_ptr<frmGetColor>>& overlays() const { return m_overlays; }
    frmpick* pickWindow() const { return m_pick; }
    // Black until the mouse first moves over an overlay.
    bascommon::ColorValue lastSample() const { return m_lastSample; }

private:
    void onSampled(const frmGetColor* from, bascommon::ColorValue color);
    void onPicked();
    void hideIndicators();

    frmshowcolor& m_main;
    PaletteStore& m_store;
    Services& m_services;
    FrozenDesktop m_desktop;
    std::vector<std::unique_ptr<frmGetColor>> m_overlays;
    frmpick* m_pick = nullptr; // a child window of the overlay on the primary screen
    bascommon::ColorValue m_lastSample = 0;
    bool m_stopped = false;
};
