#pragma once

#include "color/bascommon.h"

#include <QWidget>

#include <array>
#include <functional>
#include <string>
#include <vector>

class QAction;
class QComboBox;
class QMenu;
class PaletteCell;
class PaletteStore;
class SelectionFrame;
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
    QAction* importPalette;    // File > "Import Palette..."
    QAction* exportPalette;    // File > "Export Palette..."
    QAction* paletteFromImage; // File > "New Palette from Image..."
};

// The palette chooser, the paged 216-cell grid and the palette commands.
class PaletteView : public QWidget
{
    Q_OBJECT
public:
    static constexpr int cellCount = 216;
    static constexpr int rows = 12;

    PaletteView(PaletteStore& store, Services& services, QWidget* clientArea);

    // Connects the palette commands of the main window's menus and toolbar.
    void attachMenus(const PaletteMenus& menus);
    // The palette steps of start-up: grid, chooser, first palette at page 1.
    void startUp();

    void ShowChartMenu();
    void ShowColorChart(const std::string& curChartfile, int& page);
    void ShowAddTo();
    // The palette steps for every new current color: the recent-colors rule, and the color that
    // "Add This Color To" adds from now on.
    void applyRecentRule(bascommon::ColorValue color);
    // Hides the selection frame and disables "&Delete Selected Color".
    void clearCellSelection();
    // Selects the first palette of the chooser and shows its page 1.
    void showFirstPalette();
    // Creates a user palette titled `title` whose cells show `colors` from cell 0 on, and shows
    // it. A file failure is shown; false then, and nothing is added.
    bool addPalette(const std::string& title, const std::vector<bascommon::ColorValue>& colors);

    // The palette on display (the chooser's selected entry), "" when the index is empty.
    std::string currentFile() const;
    int page() const { return m_page; }
    int pageCount() const { return m_pageCount; }
    int chartColorCount() const { return m_chartColorCount; }
    int selectedRecord() const { return m_selectedRecord; }

    QComboBox* cmbChart = nullptr;
    std::array<PaletteCell*, cellCount> lblcor{};
    SelectionFrame* shpSelect = nullptr;

protected:
    // The grid from the keyboard: arrows move the focus mark, Enter or Space choose its cell as
    // a click does, the Menu key or Shift+F10 as a right click does.
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

signals:
    // A cell was clicked: its selection replaces the scheme list's; the color follows.
    void selectionStarted();
    void colorChosen(bascommon::ColorValue color);
    // A cell was double-clicked: the details of the current color are wanted.
    void detailsWanted();
    // The cell pop-up menu is about to show: its copy captions must be up to date.
    void popupAboutToShow();

private:
    void createGrid();
    void onChartChosen(int index);
    void onCellReleased(int cell, Qt::MouseButton button, QPoint globalPos);
    void moveKeyCell(int cell);
    void showPage(const std::string& file, int page);
    void setPageButtons();
    void fillAddTo(const std::vector<std::string>& files, const QStringList& titles);
    void selectChart(int index);
    std::string kindOnDisplay() const;
    QString titleOnDisplay() const;

    // Commands (PaletteCommands.cpp).
    void onNewChart();
    void onAddTo(int item);
    void onDeleteColor();
    void onDeleteChart();
    void onCleanAll();
    void onCleanDuplicates();
    void onPage(int step);
    // Palette exchange (PaletteExchangeCommands.cpp).
    void onImportPalette();
    void onExportPalette();
    // New palette from an image (ImagePaletteCommand.cpp).
    void onPaletteFromImage();
    // Runs a command; a file failure is shown naming the file, in a box titled `caption` and
    // after `what` (what did not happen), and the view keeps what it had.
    bool guarded(const std::function<void()>& command, const QString& caption = "Hue Bench",
                 const QString& what = {});

    bool recentOnDisplay() const;

    PaletteStore& m_store;
    Services& m_services;
    PaletteMenus m_menus{};

    // One element per index entry, in index order: position i is chooser item i.
    std::vector<std::string> m_files, m_titles, m_kinds;
    std::string m_newChartFile;
    std::vector<std::string> m_addToFiles;
    std::vector<QAction*> mnuAddChart;
    int m_page = 1;
    int m_shownIndex = -1; // chooser item whose palette the grid shows
    int m_pageCount = 1;
    int m_chartColorCount = 0;
    int m_selectedRecord = 0;
    int m_keyCell = 0; // the cell the keyboard focus is on
    bascommon::ColorValue m_lastCellColor = 0;
    bascommon::ColorValue m_currentColor = 0xFFFFFF;
    bool m_recentFailureShown = false;
};
