#include "palette/PaletteView.h"

// Placeholder: the palette view is being written.
PaletteView::PaletteView(frmshowcolor& main, PaletteStore& store, Services& services,
                         QWidget* clientArea)
    : QWidget(clientArea), m_main(main), m_store(store), m_services(services)
{
    setObjectName("PaletteView");
    setGeometry(120, 24, 356, 190);
}

void PaletteView::attachMenus(const PaletteMenus&) {}
void PaletteView::startUp() {}
void PaletteView::ShowChartMenu() {}
void PaletteView::ShowColorChart(const std::string&, int&) {}
void PaletteView::ShowAddTo() {}
void PaletteView::applyRecentRule(bascommon::ColorValue) {}
void PaletteView::clearCellSelection() {}
void PaletteView::showFirstPalette() {}
