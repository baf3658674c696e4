#pragma once

#include "app/ColorEditor.h"
#include "storage/DataFolder.h"
#include "color/ColorFormTable.h"
#include "color/ColorParser.h"
#include "color/CopyTexts.h"
#include "color/bascommon.h"
#include "palette/PaletteStore.h"
#include "web/SchemeStore.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QToolBar;
class PaletteView;
class RampWindow;
class SchemeEditor;
struct Services;

// The main window: owns the program state, the menus and the toolbar, and composes the current
// color editor, the palette view and the scheme editor.
class frmshowcolor : public QMainWindow
{
    Q_OBJECT
public:
    static constexpr int clientWidth = 476;
    static constexpr int clientHeightFull = 419;
    static constexpr int clientHeightCompact = 216;

    frmshowcolor(Services& services, std::filesystem::path dataFolder, QWidget* parent = nullptr);
    ~frmshowcolor() override;

    // The one door for a new current color.
    void CurrentColorChanged(bascommon::ColorValue color);
    // Rewrites the captions of the copy commands from the boxes' text, and those of the CSS
    // forms from the current color.
    void ChangeCopyMenu();

    void ShowChartMenu();
    void ShowColorChart(const std::string& curChartfile, int& page);
    void ShowAddTo();
    void HtmlColor(bascommon::ColorValue curcor);
    void ClearSchemeSelection();
    void clearCellSelection();

    bascommon::ColorValue currentColor() const;
    CurrentColorTexts currentColorTexts() const;
    bool isCompact() const;
    bool isOnTop() const;
    // False when another running copy of the program uses the same data folder.
    bool ownsRecentColors() const { return m_instanceLock && m_instanceLock->owned(); }
    const std::filesystem::path& dataFolder() const { return m_dataFolder; }
    Services& services() { return m_services; }
    PaletteStore& paletteStore() { return m_paletteStore; }
    SchemeStore& schemeStore() { return m_schemeStore; }
    ColorEditor* colorEditor() const { return m_editor; }
    PaletteView* paletteView() const { return m_palette; }
    SchemeEditor* schemeEditor() const { return m_scheme; }

    void showColorDetails();
    void showConversion();
    // Opens the ramp and harmonies of the current color, or raises the one already open; it
    // follows the current color until it is closed.
    void showRampWindow();
    RampWindow* rampWindow() const;
    // Starts the screen picker; when it stops, pickerStopped() shows this window again.
    void startPicker();
    // The picker has stopped: show this window again with page 1 of the first palette.
    void pickerStopped();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createMenus();
    void createEditMenu(QMenu* edit);
    void createToolBar(QWidget* clientArea);
    QAction* addAction(QMenu* menu, const char* name, const QString& caption);
    void setClientHeight(int height);
    void copyText(const QString& text);
    CopyBoxTexts copyBoxTexts() const;
    void onPreviewReleased(Qt::MouseButton button, QPoint globalPos);
    void setPaletteItemsVisible(bool visible);
    void setPreviewPopupItemsVisible(bool visible);
    void createFormsMenu(QMenu* edit);
    void addFormCommands(FormMenu menu, QMenu* submenu);
    void notePastedColor(const ParsedColor& pasted);
    void onPasteColor();

    void onMakeWebSafe();
    void onShowWinColor();
    void onSwap();
    void onOnTop();
    void onHelpTopics();
    void onWeb();
    void onEmail();
    void onAbout();
    void onExit();
    void onToolbarAction(QAction* action);

    Services& m_services;
    std::filesystem::path m_dataFolder;
    PaletteStore m_paletteStore;
    SchemeStore m_schemeStore;
    // Held by the first copy of the program on this data folder: only that copy owns the
    // recent colors and deletes them at exit.
    std::unique_ptr<InstanceLock> m_instanceLock;
    bool m_recentRemoved = false;
    bool m_transparencyNoted = false; // the ignored alpha of a pasted color is told once a run

    QWidget* m_client = nullptr;
    ColorEditor* m_editor = nullptr;
    PaletteView* m_palette = nullptr;
    SchemeEditor* m_scheme = nullptr;
    QPointer<RampWindow> m_rampWindow;

public:
    // Menu items and toolbar buttons, named as the system names them.
    QMenu* mnuEdit = nullptr;
    QMenu* mnuAddto = nullptr;
    // One item per row of ColorFormTable() (null for a form the menus do not list): the copy
    // commands mnuCopydec1 ... mnuCopyCplus and the CSS forms mnuCopyCssRgb ...
    std::vector<QAction*> formCommands;
    QAction *mnuNew, *mnuexit;
    QAction *m_importPalette, *m_exportPalette; // File > "Import Palette...", "Export Palette..."
    QAction* m_paletteFromImage = nullptr;      // File > "New Palette from Image..."
    QAction* m_rampHarmonies = nullptr;         // Tool > "Ramp and Harmonies..."
    QAction *mnuDelCor, *mnuDelChart, *mnuCleanDup, *mnuCleanAll, *mnuViewColor, *mnuconv;
    QAction *editsep2, *editsep4, *m_sepBeforeDelete, *m_sepBeforeClean;
    QAction *mnustartpick, *mnuWebsafe, *mnuShowWinColor, *mnucon;
    QAction *mnuSwap, *mnuOnTop;
    QAction *mnucontents, *mnuWeb, *mnuemail, *mnuabout;
    QMenu* mnuCopyCss = nullptr;
    QAction* mnuPasteColor = nullptr;
    QToolBar* tlbTool = nullptr;
    QAction *pickcolor, *makewebsafe, *showcolor, *colorchart, *ontop, *addnew, *prevpage,
        *nextpage;
};
