#include "app/frmshowcolor.h"

#include "storage/DataFolder.h"
#include "app/frmabout.h"
#include "color/frmConversion.h"
#include "color/RampWindow.h"
#include "color/frmpreview.h"
#include "palette/PaletteView.h"
#include "picker/PickingRun.h"
#include "platform/Services.h"
#include "platform/Widgets.h"
#include "web/SchemeEditor.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QToolBar>
#include <QUrl>

#include <stdexcept>

using namespace bascommon;

namespace
{
const QString webSiteAddress = QStringLiteral("https://huebench.example.org/");
const QString supportAddress = QStringLiteral("support@huebench.example.org");
} // namespace

frmshowcolor::frmshowcolor(Services& services, std::filesystem::path dataFolder, QWidget* parent)
    : QMainWindow(parent), m_services(services), m_dataFolder(std::move(dataFolder)),
      m_paletteStore(m_dataFolder), m_schemeStore(m_dataFolder)
{
    setObjectName("frmshowcolor");
    setWindowTitle("Hue Bench");
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    // The layout is laid out in pixels for a small UI font; keep the system family.
    QFont small = font();
    small.setPointSizeF(8.25);
    setFont(small);

    m_client = new QWidget(this);
    m_client->setObjectName("clientArea");
    setCentralWidget(m_client);
    createToolBar(m_client);
    m_editor = new ColorEditor(m_client);
    m_palette = new PaletteView(m_paletteStore, m_services, m_client);
    m_scheme = new SchemeEditor(m_schemeStore, m_services, m_client);
    createMenus();
    setClientHeight(clientHeightFull);

    connect(m_editor, &ColorEditor::committed, this, &frmshowcolor::CurrentColorChanged);
    connect(m_editor->lblcolor, &ColorSwatch::released, this, &frmshowcolor::onPreviewReleased);
    connect(m_editor->lblcolor, &ColorSwatch::doubleClicked, this, &frmshowcolor::showColorDetails);
    openPopupByKeyboard(m_editor->lblcolor, [this] {
        onPreviewReleased(Qt::RightButton, globalCenterOf(m_editor->lblcolor));
    });
    connect(m_palette, &PaletteView::selectionStarted, this, &frmshowcolor::ClearSchemeSelection);
    connect(m_palette, &PaletteView::colorChosen, this, &frmshowcolor::CurrentColorChanged);
    connect(m_palette, &PaletteView::detailsWanted, this, &frmshowcolor::showColorDetails);
    connect(m_palette, &PaletteView::popupAboutToShow, this, &frmshowcolor::ChangeCopyMenu);
    connect(m_scheme, &SchemeEditor::colorChosen, this, &frmshowcolor::CurrentColorChanged);
    connect(m_scheme, &SchemeEditor::selectionStarted, this, &frmshowcolor::clearCellSelection);
    m_palette->attachMenus({mnuEdit, mnuAddto, mnuNew, mnuDelCor, mnuDelChart, mnuCleanDup,
                            mnuCleanAll, mnuViewColor, editsep2, editsep4, addnew, prevpage,
                            nextpage, m_importPalette, m_exportPalette, m_paletteFromImage});

    // Start-up. The current color starts as white without a run of CurrentColorChanged.
    m_instanceLock = std::make_unique<InstanceLock>(m_dataFolder);
    try {
        m_paletteStore.CountColorRecords(std::string(PaletteStore::recentName)); // creates it
    } catch (const std::runtime_error& e) {
        m_services.questions.showError(this, "Hue Bench", QString::fromStdString(e.what()));
    }
    m_scheme->startUp();
    mnuWebsafe->setEnabled(false);
    makewebsafe->setEnabled(false);
    m_scheme->selectNone();
    m_palette->startUp();
}

frmshowcolor::~frmshowcolor() = default;

void frmshowcolor::CurrentColorChanged(ColorValue color)
{
    // The order matters: the recent-colors rule compares with the last clicked cell before the
    // views change, and the copy captions read the boxes after they are rewritten.
    const bool webSafe = IsWebSafe(color);
    mnuWebsafe->setEnabled(!webSafe);
    makewebsafe->setEnabled(!webSafe);
    m_palette->applyRecentRule(color);
    m_editor->showColor(color);
    HtmlColor(color);
    ChangeCopyMenu();
    if (m_rampWindow)
        m_rampWindow->followColor(color);
}

void frmshowcolor::ShowChartMenu()
{
    m_palette->ShowChartMenu();
}

void frmshowcolor::ShowColorChart(const std::string& curChartfile, int& page)
{
    m_palette->ShowColorChart(curChartfile, page);
}

void frmshowcolor::ShowAddTo()
{
    m_palette->ShowAddTo();
}
void frmshowcolor::HtmlColor(ColorValue curcor)
{
    m_scheme->HtmlColor(curcor, isCompact());
}
void frmshowcolor::ClearSchemeSelection()
{
    m_scheme->ClearSchemeSelection();
}
void frmshowcolor::clearCellSelection()
{
    m_palette->clearCellSelection();
}

ColorValue frmshowcolor::currentColor() const
{
    return m_editor->currentColor();
}
CurrentColorTexts frmshowcolor::currentColorTexts() const
{
    return m_editor->texts();
}
bool frmshowcolor::isCompact() const
{
    return mnuSwap->isChecked();
}
bool frmshowcolor::isOnTop() const
{
    return mnuOnTop->isChecked();
}

void frmshowcolor::showColorDetails()
{
    frmpreview window(currentColorTexts(), m_services, this);
    window.exec();
}

void frmshowcolor::showConversion()
{
    frmConversion dialog(
        currentColorTexts(), m_services, [this](ColorValue color) { CurrentColorChanged(color); },
        this);
    dialog.exec();
}

void frmshowcolor::showRampWindow()
{
    if (!m_rampWindow) {
        m_rampWindow = new RampWindow(m_services, currentColor(), this);
        m_rampWindow->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_rampWindow, &RampWindow::colorChosen, this, [this](ColorValue color) {
            ClearSchemeSelection();
            CurrentColorChanged(color);
        });
        connect(m_rampWindow, &RampWindow::paletteWanted, m_palette, &PaletteView::addPalette);
    }
    m_rampWindow->show();
    m_rampWindow->raise();
    m_rampWindow->activateWindow();
}

RampWindow* frmshowcolor::rampWindow() const
{
    return m_rampWindow;
}

void frmshowcolor::startPicker()
{
    if (PickingRun* run = startColorPicker(*this, m_paletteStore, m_services))
        connect(run, &PickingRun::stopped, this, &frmshowcolor::pickerStopped);
}

void frmshowcolor::pickerStopped()
{
    show();
    m_palette->showFirstPalette();
}

void frmshowcolor::setClientHeight(int height)
{
    // The width and the top-left corner stay; only the lower band is cut off or restored.
    m_client->setFixedSize(clientWidth, height);
    setFixedSize(clientWidth, menuBar()->sizeHint().height() + height);
}

void frmshowcolor::onMakeWebSafe()
{
    ClearSchemeSelection();
    CurrentColorChanged(MakeWebSafe(currentColor()));
}

void frmshowcolor::onShowWinColor()
{
    ClearSchemeSelection();
    const ColorValue current = currentColor();
    const QColor initial(GetRed(current), GetGreen(current), GetBlue(current));
    const QColor chosen = m_services.colorDialog.getColor(this, initial);
    CurrentColorChanged(chosen.isValid() ? RGB(chosen.red(), chosen.green(), chosen.blue())
                                         : current);
}

void frmshowcolor::onSwap()
{
    const bool compact = !isCompact();
    setClientHeight(compact ? clientHeightCompact : clientHeightFull);
    mnuSwap->setChecked(compact);
    colorchart->setChecked(compact);
}

void frmshowcolor::onOnTop()
{
    const bool onTop = !isOnTop();
    m_services.stayOnTop.setTopMost(this, onTop);
    mnuOnTop->setChecked(onTop);
    ontop->setChecked(onTop);
}

void frmshowcolor::onHelpTopics()
{
    const auto page = m_dataFolder / dataFiles::helpPage;
    const QString shown = QString::fromStdString(page.string());
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(page, ignored)) {
        m_services.questions.showError(
            this, "Help Topics",
            "The help page cannot be shown: " + shown +
                " is missing.\n\nCopy huebench.html from the installed factory data into the "
                "data folder, or reinstall Hue Bench.");
        return;
    }
    // A window that stays on top would cover the browser showing the help page.
    const bool minimize = isOnTop();
    if (minimize)
        showMinimized();
    if (!m_services.shellOpen.openUrl(QUrl::fromLocalFile(shown))) {
        if (minimize)
            showNormal();
        m_services.questions.showError(this, "Help Topics",
                                       "The help page cannot be shown: no web browser was found "
                                       "to open it.\n\nOpen " +
                                           shown + " in a browser yourself.");
    }
}

void frmshowcolor::onWeb()
{
    if (!m_services.shellOpen.openUrl(QUrl(webSiteAddress)))
        m_services.questions.showError(this, "Visit Our Website",
                                       "Our website cannot be opened: no web browser was found."
                                       "\n\nIts address is " +
                                           webSiteAddress);
}
void frmshowcolor::onEmail()
{
    if (!m_services.shellOpen.openUrl(QUrl("mailto:" + supportAddress)))
        m_services.questions.showError(this, "E-mail To Support",
                                       "No e-mail program was found to write to us.\n\nOur "
                                       "address is " +
                                           supportAddress);
}

void frmshowcolor::onAbout()
{
    frmabout about(m_services, webSiteAddress, supportAddress, this);
    about.exec();
}

void frmshowcolor::onExit()
{
    close();
}

void frmshowcolor::closeEvent(QCloseEvent* event)
{
    // The recent colors live for one run, of the copy that owns them.
    if (!m_recentRemoved && ownsRecentColors()) {
        m_recentRemoved = true;
        try {
            m_paletteStore.ClearChartFile(std::string(PaletteStore::recentName));
        } catch (const std::runtime_error&) {
            // Leaving the program is not stopped by a recent palette that cannot be removed.
        }
        m_instanceLock->release();
    }
    event->accept();
    QApplication::closeAllWindows();
}
