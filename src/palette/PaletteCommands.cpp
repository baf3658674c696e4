// The palette commands of the File and Edit menus and the toolbar.
#include "palette/PaletteView.h"

#include "platform/frmInput.h"
#include "palette/PaletteStore.h"
#include "platform/Services.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>

#include <algorithm>
#include <stdexcept>

void PaletteView::attachMenus(const PaletteMenus& menus)
{
    m_menus = menus;
    QAction* first = menus.mnuAddto->addAction(QString());
    first->setObjectName("mnuAddChart_0");
    connect(first, &QAction::triggered, this, [this] { onAddTo(0); });
    mnuAddChart = {first};

    connect(menus.mnuNew, &QAction::triggered, this, &PaletteView::onNewChart);
    connect(menus.addnew, &QAction::triggered, this, &PaletteView::onNewChart);
    connect(menus.mnuDelCor, &QAction::triggered, this, &PaletteView::onDeleteColor);
    connect(menus.mnuDelChart, &QAction::triggered, this, &PaletteView::onDeleteChart);
    connect(menus.mnuCleanDup, &QAction::triggered, this, &PaletteView::onCleanDuplicates);
    connect(menus.mnuCleanAll, &QAction::triggered, this, &PaletteView::onCleanAll);
    connect(menus.prevpage, &QAction::triggered, this, [this] { onPage(-1); });
    connect(menus.nextpage, &QAction::triggered, this, [this] { onPage(+1); });
    connect(menus.importPalette, &QAction::triggered, this, &PaletteView::onImportPalette);
    connect(menus.exportPalette, &QAction::triggered, this, &PaletteView::onExportPalette);
    connect(menus.paletteFromImage, &QAction::triggered, this, &PaletteView::onPaletteFromImage);
    menus.mnuDelCor->setEnabled(false);
    menus.prevpage->setEnabled(false);
    menus.nextpage->setEnabled(false);
}

bool PaletteView::guarded(const std::function<void()>& command, const QString& caption,
                          const QString& what)
{
    try {
        command();
        return true;
    } catch (const std::runtime_error& e) {
        m_services.questions.showError(window(), caption, what + QString::fromUtf8(e.what()));
        return false;
    }
}

void PaletteView::onPage(int step)
{
    // The buttons are enabled only where the step stays within 1 ... PageCount.
    const int wanted = m_page + step;
    if (wanted < 1 || wanted > m_pageCount)
        return;
    guarded([&] { showPage(currentFile(), wanted); });
}

void PaletteView::onNewChart()
{
    const QString name = ShowInputBox(m_services, window(), "Add a new color palette",
                                      "Please input a name of new color palette:");
    if (name.isEmpty())
        return;
    if (!guarded([&] { m_store.AppendChartEntry(m_newChartFile, name.toStdString()); }))
        return;
    ShowChartMenu();
    selectChart(cmbChart->count() - 1);
    m_page = 1;
    ShowColorChart(currentFile(), m_page);
}

void PaletteView::onAddTo(int item)
{
    if (item < 0 || item >= static_cast<int>(m_addToFiles.size()))
        return;
    const std::string file = m_addToFiles[static_cast<std::size_t>(item)];
    if (!guarded([&] { m_store.AppendColorRecord(file, bascommon::HexRGB(m_currentColor)); }))
        return;
    if (file == currentFile()) {
        m_page = 1;
        ShowColorChart(file, m_page);
    }
}

void PaletteView::onDeleteColor()
{
    const std::string file = currentFile();
    if (!guarded([&] { m_store.DeleteColorRecord(file, m_selectedRecord, m_chartColorCount); }))
        return;
    m_page = 1;
    ShowColorChart(file, m_page);
}

void PaletteView::onDeleteChart()
{
    const QString text = "Are you sure you want to delete \"" + titleOnDisplay() + "\" palette?";
    if (!m_services.questions.askYesNo(window(), "Delete current color palette", text, true))
        return;
    const std::string file = currentFile();
    const int position = cmbChart->currentIndex() + 1;
    if (!guarded([&] { m_store.DeleteChart(position); }))
        return;
    // The entry is gone; a color file that cannot be deleted stays as an unlisted file, which
    // the next new palette's name steps over. A file that another entry still lists keeps its
    // colors for that entry.
    guarded([&] {
        const auto entries = m_store.ReadChartIndex();
        const bool stillListed = std::any_of(entries.begin(), entries.end(),
                                             [&](const ChartEntry& e) { return e.file == file; });
        if (!stillListed)
            m_store.ClearChartFile(file);
    });
    ShowChartMenu();
    m_page = 1;
    ShowColorChart(currentFile(), m_page);
}

void PaletteView::onCleanAll()
{
    const QString text =
        "Are you sure you want to delete all colors of \"" + titleOnDisplay() + "\" palette?";
    if (!m_services.questions.askYesNo(window(), "Clean all colors of current palette", text, true))
        return;
    const std::string file = currentFile();
    if (!guarded([&] { m_store.ClearChartFile(file); }))
        return;
    m_page = 1;
    ShowColorChart(file, m_page);
}

void PaletteView::onCleanDuplicates()
{
    if (m_chartColorCount < 2)
        return;
    const std::string file = currentFile();
    if (!guarded([&] { m_store.RemoveDuplicateRecords(file, m_chartColorCount); }))
        return;
    m_page = 1;
    ShowColorChart(file, m_page);
}
