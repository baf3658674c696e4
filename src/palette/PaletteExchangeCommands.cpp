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

QString filterOf(bool written)
{
    return QString::fromStdString(fileDialogFilter(written));
}

} // namespace

void PaletteView::onImportPalette()
{
    const auto name =
        m_services.fileOpenDialog.getOpenFileName(window(), importCaption, filterOf(false));
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
            failure = "Nothing was imported from " + path.filename().string() + ".\n\n" + e.what();
        }
    }
    if (result.fault)
        failure = faultMessage(path, *result.fault, "\n\n");
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
    const auto chosen = m_services.fileSaveDialog.getSaveFileName(
        window(), exportCaption, QString::fromStdString(paletteSlug(entry.title) + ".gpl"),
        filterOf(true));
    if (!chosen)
        return;
    auto path = localPath(chosen->name);
    auto format = formatOfFile(path);
    if (!format || !canWrite(*format)) {
        // A name without a known extension takes the chosen type's; that file has not been asked
        // about yet.
        format = formatOfFilter(chosen->filter.toStdString());
        for (const auto& info : paletteFormats())
            if (!format && info.write)
                format = info.format; // the dialog's first entry

        path += std::string(formatInfo(*format).extensions.front());
        const QString shown = QString::fromStdString(path.filename().string());
        if (std::filesystem::exists(path) &&
            !m_services.questions.askYesNo(window(), exportCaption,
                                           shown + " already exists.\nDo you want to replace it?",
                                           false))
            return;
    }
    guarded([&] { saveAs(path, m_store.ExportPalette(entry, *format)); }, exportCaption,
            "The palette was not exported.\n\n");
}
