// File > "New Palette from Image...": a palette of an image's dominant colors. Decoding and
// clustering a large photo takes a moment, so it runs on a worker thread while a progress
// dialog keeps the window responsive.
#include "palette/PaletteView.h"

#include "palette/ImagePalette.h"
#include "palette/PaletteStore.h"
#include "platform/ImageFile.h"
#include "platform/Services.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>
#include <QThread>

#include <algorithm>
#include <memory>

namespace
{

const QString caption = "New Palette from Image";
const QString filter = "Images (*.png *.jpg *.jpeg *.bmp *.gif *.webp);;PNG (*.png);;"
                       "JPEG (*.jpg *.jpeg);;BMP (*.bmp);;GIF (*.gif);;WebP (*.webp);;"
                       "All files (*)";

} // namespace

bool PaletteView::addPalette(const std::string& title,
                             const std::vector<bascommon::ColorValue>& colors)
{
    std::string file;
    if (!guarded([&] { file = m_store.ImportPalette(title, colors); }))
        return false;
    ShowChartMenu();
    const auto listed = std::find(m_files.rbegin(), m_files.rend(), file);
    if (listed != m_files.rend()) {
        selectChart(static_cast<int>(m_files.rend() - listed) - 1);
        m_page = 1;
        ShowColorChart(currentFile(), m_page);
    }
    return true;
}

void PaletteView::onPaletteFromImage()
{
    const auto name = m_services.fileOpenDialog.getOpenFileName(window(), caption, filter);
    if (!name)
        return;
    const std::string path = QFile::encodeName(*name).toStdString();
    const std::string title = QFileInfo(*name).completeBaseName().toStdString();

    auto result = std::make_shared<ImagePaletteResult>();
    QThread* worker = QThread::create(
        [result, path] { *result = PaletteOfImage(ReadImageFile, path, imageColorsDefault); });
    auto* progress = new QProgressDialog(tr("Finding the colors of %1...").arg(*name), tr("Cancel"),
                                         0, 0, window());
    progress->setWindowTitle(caption);
    progress->setWindowModality(Qt::WindowModal);
    progress->setMinimumDuration(300);
    m_menus.paletteFromImage->setEnabled(false);

    connect(worker, &QThread::finished, this, [this, worker, progress, result, name, title] {
        worker->deleteLater();
        const bool cancelled = progress->wasCanceled();
        progress->deleteLater();
        m_menus.paletteFromImage->setEnabled(true);
        if (cancelled)
            return;
        if (!result->error.empty()) {
            m_services.questions.showError(window(), caption,
                                           *name + ": " + QString::fromStdString(result->error) +
                                               "\nNo palette was added.");
            return;
        }
        std::vector<bascommon::ColorValue> colors;
        for (const DominantColor& dominant : result->colors)
            colors.push_back(dominant.color);
        addPalette(title, colors);
    });
    worker->start();
}
