#pragma once

#include "color/bascommon.h"

#include <QWidget>

#include <string>

class QAction;
class QMenu;
class PaletteStore;
class frmshowcolor;
struct Services;

// The menu items and toolbar buttons of the main window that belong to the palette commands.
struct PaletteMenus {
    QMenu* mnuEdit;
    QMenu* mnuAddto;
    QAction* mnuNew;
    QAction* mnuDelCor;
    QAction* mnuDelChart;
    QAction* mnuCleanDup;
    QAction* mnuCleanAll;
    QAction* mnuViewColor;
    QAction* editsep2;
    QAction* editsep4;
    QAction* addnew;
    QAction* prevpage;
    QAction* nextpage;
};

// The palette chooser, the paged 216-cell grid and the palette commands.
class PaletteView : public QWidget
{
    Q_OBJECT
public:
    PaletteView(frmshowcolor& main, PaletteStore& store, Services& services, QWidget* clientArea);

    // Connects the palette commands of the main window's menus and toolbar.
    void attachMenus(const PaletteMenus& menus);
    // The palette steps of start-up: grid, chooser, first palette at page 1.
    void startUp();

    void ShowChartMenu();
    void ShowColorChart(const std::string& curChartfile, int& page);
    void ShowAddTo();
    // The recent-colors rule, applied to every new current color.
    void applyRecentRule(bascommon::ColorValue color);
    // Hides the selection frame and disables "&Delete Selected Color".
    void clearCellSelection();
    // Selects the first palette of the chooser and shows its page 1.
    void showFirstPalette();

private:
    frmshowcolor& m_main;
    PaletteStore& m_store;
    Services& m_services;
};
