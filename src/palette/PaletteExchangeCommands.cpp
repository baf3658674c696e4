// File > "Import Palette..." and "Export Palette...": palettes of other programs in and out.
#include "palette/PaletteView.h"

#include "palette/PaletteFormats.h"
#include "palette/PaletteStore.h"
#include "storage/SaveAs.h"
#include "platform/Services.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>

#include <algorithm>
#include <stdexcept>

namespace
{

const QString importCaption = "Import Palette";
const QString exportCaption = "Export Palette";
const QString importFilter =
    "Palettes (*.gpl *.ase *.aco *.txt);;GIMP palette (*.gpl);;Adobe swatch exchange (*.ase);;"
    "Photoshop swatches (*.aco);;Text, one color a line (*.txt);;All files (*)";
const QString exportFilter =
    "GIMP palette (*.gpl);;Adobe swatch exchange (*.ase);;CSS custom properties (*.css);;"
    "Design tokens (*.json);;Text, one color a line (*.txt)";

// A large file takes a moment to read and write: the cursor says so meanwhile.
class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

std::filesystem::path localPath(const QString& name)
{
    return std::filesystem::path(QFile::encodeName(name).toStdString());
}

} // namespace

void PaletteView::onImportPalette()
{
    const auto name =
        m_services.fileOpenDialog.getOpenFileName(window(), importCaption, importFilter);
    if (!name)
        return;
    const auto path = localPath(*name);
    PaletteReadResult result;
    std::string file, failure;
    {
        const WaitCursor waiting;
        try {
            result = readPaletteFile(path);
            std::vector<bascommon::ColorValue> colors;
            colors.reserve(result.colors.size());
            for (const auto& swatch : result.colors)
                colors.push_back(swatch.color);
            if (!result.fault)
                file = m_store.ImportPalette(result.title, colors);
        } catch (const std::runtime_error& e) {
            failure = e.what();
        }
    }
    if (result.fault)
        failure = faultMessage(path, *result.fault);
    if (!failure.empty()) {
        m_services.questions.showError(window(), importCaption, QString::fromStdString(failure));
        return;
    }

    ShowChartMenu();
    const auto listed = std::find(m_files.rbegin(), m_files.rend(), file);
    if (listed != m_files.rend()) {
        const auto index = static_cast<int>(m_files.rend() - listed) - 1;
        selectChart(index);
        m_page = 1;
        ShowColorChart(currentFile(), m_page);
        result.title = m_titles[static_cast<std::size_t>(index)];
    }
    m_services.questions.showMessage(window(), importCaption,
                                     QString::fromStdString(importSummary(result, result.title)));
}

void PaletteView::onExportPalette()
{
    const int index = cmbChart->currentIndex();
    if (index < 0 || index >= static_cast<int>(m_files.size()))
        return;
    const auto at = static_cast<std::size_t>(index);
    const ChartEntry entry{m_files[at], m_titles[at], m_kinds[at]};
    const auto name = m_services.fileSaveDialog.getSaveFileName(
        window(), exportCaption, QString::fromStdString(paletteSlug(entry.title) + ".gpl"),
        exportFilter);
    if (!name)
        return;
    const auto path = localPath(*name);
    const auto format = formatOfFile(path);
    if (!format || *format == PaletteFormat::Aco) {
        m_services.questions.showError(
            window(), exportCaption,
            *name + ": the file name must end in .gpl, .ase, .css, .json or .txt");
        return;
    }
    guarded([&] { saveAs(path, m_store.ExportPalette(entry, *format)); });
}
