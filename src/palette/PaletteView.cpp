#include "palette/PaletteView.h"

#include "platform/Widgets.h"
#include "palette/PaletteCell.h"
#include "palette/PaletteStore.h"
#include "palette/RecentColors.h"
#include "platform/Services.h"

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QMenu>
#include <QSignalBlocker>

#include <algorithm>
#include <stdexcept>

using bascommon::ColorValue;

namespace
{

constexpr ColorValue white = 0xFFFFFF;
// Cell 0 of the grid in the client area; the others are copies stepped by one pixel less than
// a cell, so that neighbouring borders overlap.
constexpr int cellLeft = 124, cellTop = 27, cellWidth = 20, cellHeight = 16;
const QPoint viewOrigin(120, 24);

} // namespace

PaletteView::PaletteView(PaletteStore& store, Services& services, QWidget* clientArea)
    : QWidget(clientArea), m_store(store), m_services(services)
{
    setObjectName("PaletteView");
    setGeometry(viewOrigin.x(), viewOrigin.y(), 356, 190);
    // The chooser sits in the top band beside the toolbar, outside this part's band.
    cmbChart = makeNamed<QComboBox>(clientArea, "cmbChart");
    cmbChart->setGeometry(195, 3, 272, 21);
    connect(cmbChart, &QComboBox::currentIndexChanged, this, &PaletteView::onChartChosen);
    createGrid();
    // The grid comes after the chooser in the Tab order; a click leaves the focus where it is.
    setFocusPolicy(Qt::TabFocus);
    setTabOrder(cmbChart, this);
    openPopupByKeyboard(this, [this] {
        onCellReleased(m_keyCell, Qt::RightButton, globalCenterOf(lblcor[std::size_t(m_keyCell)]));
    });
}

void PaletteView::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    lblcor[static_cast<std::size_t>(m_keyCell)]->setFocusMark(true);
}

void PaletteView::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    lblcor[static_cast<std::size_t>(m_keyCell)]->setFocusMark(false);
}

void PaletteView::moveKeyCell(int cell)
{
    if (cell < 0 || cell >= cellCount)
        return;
    lblcor[static_cast<std::size_t>(m_keyCell)]->setFocusMark(false);
    m_keyCell = cell;
    lblcor[static_cast<std::size_t>(m_keyCell)]->setFocusMark(hasFocus());
}

void PaletteView::keyPressEvent(QKeyEvent* event)
{
    // Cells run down the columns: a column holds `rows` cells.
    const int row = m_keyCell % rows;
    switch (event->key()) {
    case Qt::Key_Up:
        moveKeyCell(row > 0 ? m_keyCell - 1 : -1);
        break;
    case Qt::Key_Down:
        moveKeyCell(row < rows - 1 ? m_keyCell + 1 : -1);
        break;
    case Qt::Key_Left:
        moveKeyCell(m_keyCell - rows);
        break;
    case Qt::Key_Right:
        moveKeyCell(m_keyCell + rows);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        onCellReleased(m_keyCell, Qt::LeftButton, {});
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void PaletteView::createGrid()
{
    for (int i = 0; i < cellCount; ++i) {
        auto* cell = new PaletteCell(this);
        cell->setObjectName(QString("lblcor_%1").arg(i));
        placeAt(cell, viewOrigin, cellLeft + (i / rows) * (cellWidth - 1),
                cellTop + (i % rows) * (cellHeight - 1), cellWidth, cellHeight);
        connect(cell, &PaletteCell::released, this,
                [this, i](Qt::MouseButton button, QPoint at) { onCellReleased(i, button, at); });
        connect(cell, &PaletteCell::doubleClicked, this, &PaletteView::detailsWanted);
        lblcor[static_cast<std::size_t>(i)] = cell;
    }
    shpSelect = makeNamed<SelectionFrame>(this, "shpSelect");
    shpSelect->resize(cellWidth + 4, cellHeight + 4);
    shpSelect->hide();
}

void PaletteView::startUp()
{
    ShowChartMenu();
    m_page = 1;
    ShowColorChart(currentFile(), m_page);
}

std::string PaletteView::currentFile() const
{
    const int index = cmbChart->currentIndex();
    if (index < 0 || index >= static_cast<int>(m_files.size()))
        return {};
    return m_files[static_cast<std::size_t>(index)];
}

std::string PaletteView::kindOnDisplay() const
{
    const int index = cmbChart->currentIndex();
    if (index < 0 || index >= static_cast<int>(m_kinds.size()))
        return {};
    return m_kinds[static_cast<std::size_t>(index)];
}

QString PaletteView::titleOnDisplay() const
{
    const int index = cmbChart->currentIndex();
    if (index < 0 || index >= static_cast<int>(m_titles.size()))
        return {};
    return from8BitText(m_titles[static_cast<std::size_t>(index)]);
}

void PaletteView::ShowChartMenu()
{
    // An index that cannot be repaired or read leaves the chooser and the grid as they were.
    const bool read = guarded([this] {
        m_store.RepairFile();
        const auto entries = m_store.ReadChartIndex();
        const std::string next = m_store.NewChartFileName();
        // Nothing is changed before the index has been read whole.
        {
            const QSignalBlocker quiet(cmbChart);
            cmbChart->clear();
            for (const auto& entry : entries)
                cmbChart->addItem(from8BitText(entry.title));
        }
        m_newChartFile = next;
        m_shownIndex = -1;
        m_files.clear();
        m_titles.clear();
        m_kinds.clear();
        for (const auto& entry : entries) {
            m_files.push_back(entry.file);
            m_titles.push_back(entry.title);
            m_kinds.push_back(entry.kind);
        }
    });
    if (!read)
        return;
    selectChart(0);
    ShowAddTo();
}

void PaletteView::selectChart(int index)
{
    if (index < 0 || index >= cmbChart->count())
        return;
    {
        const QSignalBlocker quiet(cmbChart);
        cmbChart->setCurrentIndex(index);
    }
    onChartChosen(index);
}

void PaletteView::onChartChosen(int index)
{
    if (index < 0)
        return;
    if (!guarded([&] { showPage(currentFile(), 1); })) {
        // The palette cannot be shown: the chooser goes back to the one the grid still shows.
        if (m_shownIndex >= 0 && m_shownIndex < cmbChart->count()) {
            const QSignalBlocker quiet(cmbChart);
            cmbChart->setCurrentIndex(m_shownIndex);
        }
        return;
    }
    m_shownIndex = index;
    const ChartKind kind = kindOf({{}, {}, kindOnDisplay()});
    const bool cleanable = kind != ChartKind::Recent;
    m_menus.mnuCleanAll->setEnabled(cleanable);
    m_menus.mnuCleanDup->setEnabled(cleanable);
    m_menus.mnuDelChart->setEnabled(kind != ChartKind::Recent && kind != ChartKind::Permanent);
}

void PaletteView::ShowColorChart(const std::string& curChartfile, int& page)
{
    guarded([&] { showPage(curChartfile, page); });
}

void PaletteView::showPage(const std::string& file, int page)
{
    if (file.empty()) {
        clearCellSelection();
        return;
    }
    // Read first, so that a failure leaves the grid, the selection and the counts as they were.
    const int count = page == 1 ? m_store.CountColorRecords(file) : m_chartColorCount;
    const int first = count - (page - 1) * cellCount;
    const int onPage = std::clamp(first, 0, cellCount);
    const auto colors = m_store.ReadColorRecordsDown(file, first, onPage);

    clearCellSelection();
    m_page = page;
    m_chartColorCount = count;
    m_pageCount = count == 0 ? 1 : (count - 1) / cellCount + 1;
    for (int i = 0; i < cellCount; ++i)
        lblcor[static_cast<std::size_t>(i)]->setColor(
            i < onPage ? colors[static_cast<std::size_t>(i)] : white);
    setPageButtons();
}

void PaletteView::setPageButtons()
{
    m_menus.prevpage->setEnabled(m_pageCount > 1 && m_page > 1);
    m_menus.nextpage->setEnabled(m_pageCount > 1 && m_page < m_pageCount);
}

void PaletteView::onCellReleased(int cell, Qt::MouseButton button, QPoint globalPos)
{
    const int pos = (m_page - 1) * cellCount + cell + 1;
    m_selectedRecord = m_chartColorCount - pos + 1;
    m_menus.mnuDelCor->setEnabled(pos <= m_chartColorCount &&
                                  kindOf({{}, {}, kindOnDisplay()}) != ChartKind::Recent);
    emit selectionStarted();
    const QWidget* target = lblcor[static_cast<std::size_t>(cell)];
    shpSelect->move(target->x() - 2, target->y() - 2);
    shpSelect->show();
    shpSelect->raise();
    m_lastCellColor = lblcor[static_cast<std::size_t>(cell)]->color();
    emit colorChosen(m_lastCellColor);

    if (button != Qt::RightButton)
        return;
    const QList<QAction*> popupOnly{m_menus.editsep4, m_menus.mnuViewColor,
                                    m_menus.mnuAddto->menuAction(), m_menus.editsep2};
    for (QAction* item : popupOnly)
        item->setVisible(true);
    emit popupAboutToShow();
    m_menus.mnuEdit->exec(globalPos);
    for (QAction* item : popupOnly)
        item->setVisible(false);
}

void PaletteView::ShowAddTo()
{
    for (std::size_t k = 1; k < mnuAddChart.size(); ++k)
        delete mnuAddChart[k];
    mnuAddChart.resize(std::min<std::size_t>(mnuAddChart.size(), 1));
    guarded([this] {
        m_store.RepairFile();
        std::vector<std::string> files;
        QStringList titles;
        for (const auto& entry : m_store.ReadChartIndex()) {
            const ChartKind kind = kindOf(entry);
            if (kind != ChartKind::Permanent && kind != ChartKind::User)
                continue;
            files.push_back(entry.file);
            titles.push_back(from8BitText(entry.title));
        }
        fillAddTo(files, titles);
    });
}

void PaletteView::fillAddTo(const std::vector<std::string>& files, const QStringList& titles)
{
    if (files.empty())
        return; // item 0 keeps its last palette
    m_addToFiles = files;
    for (std::size_t k = 0; k < files.size(); ++k) {
        if (k == 0) {
            mnuAddChart[0]->setText(menuCaption(titles[0]));
        } else {
            QAction* item = m_menus.mnuAddto->addAction(menuCaption(titles[static_cast<int>(k)]));
            item->setObjectName(QString("mnuAddChart_%1").arg(k));
            connect(item, &QAction::triggered, this, [this, k] { onAddTo(static_cast<int>(k)); });
            mnuAddChart.push_back(item);
        }
    }
}

void PaletteView::applyRecentRule(ColorValue color)
{
    m_currentColor = color;
    const std::string recent(PaletteStore::recentName);
    const RecentStep step = RecentColorsRule(color, recentOnDisplay(), m_lastCellColor);
    try {
        if (step.append)
            m_store.AppendColorRecord(recent, bascommon::HexRGB(color));
        if (step.reshow) {
            m_page = 1;
            ShowColorChart(recent, m_page);
        }
    } catch (const std::runtime_error& e) {
        // Shown once per run: the rule runs on every new color and would repeat it endlessly.
        if (!m_recentFailureShown)
            m_services.questions.showError(window(), "Hue Bench", QString::fromUtf8(e.what()));
        m_recentFailureShown = true;
    }
    if (color != m_lastCellColor)
        clearCellSelection();
}

bool PaletteView::recentOnDisplay() const
{
    // Recognised by its kind, wherever a hand-edited index lists it.
    return kindOf({{}, {}, kindOnDisplay()}) == ChartKind::Recent &&
           currentFile() == PaletteStore::recentName;
}

void PaletteView::clearCellSelection()
{
    shpSelect->hide();
    if (m_menus.mnuDelCor)
        m_menus.mnuDelCor->setEnabled(false);
}

void PaletteView::showFirstPalette()
{
    selectChart(0);
}
