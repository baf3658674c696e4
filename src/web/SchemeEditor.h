#pragma once

#include "color/bascommon.h"
#include "web/SchemeStore.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

#include <array>

class QAction;
class ContrastWindow;
class QButtonGroup;
class QListWidget;
class QMenu;
class QRadioButton;
struct Services;

// The item of the scheme that new current colors go to.
enum class HtmlColorItem { None, Background, Text, NormalLink, VisitedLink, ActiveLink, HoverLink };

// A label of the scheme preview: reports a left click and a right-button release.
class SampleLabel : public QLabel
{
    Q_OBJECT
public:
    SampleLabel(const QString& caption, QWidget* parent);

signals:
    void leftClicked();
    void rightReleased(QPoint globalPos);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

// "Delete This Scheme". Leaving the scheme list clears its selection, so the button acts on the
// press that brings it the focus as well as on a click: `activated` fires once per press, and
// once when the focus arrives from the keyboard.
class DeleteButton : public QPushButton
{
    Q_OBJECT
public:
    DeleteButton(const QString& caption, QWidget* parent);

signals:
    void activated();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_focusPress = false; // the press under way gave this button the focus
    bool m_clicked = false;
};

// The web color scheme editor in the lower band of the main window: the item options, the
// preview of the six colors, the saved schemes and the scheme context menu.
class SchemeEditor : public QWidget
{
    Q_OBJECT
public:
    static constexpr QPoint origin{0, 226};

    SchemeEditor(SchemeStore& store, Services& services, QWidget* clientArea);

    // Start-up: read the saved schemes and load the first.
    void startUp();
    // Start-up, later: select the item None.
    void selectNone();
    // Writes a new current color into the selected item; in compact mode the scheme area is
    // out of sight and keeps its colors.
    void HtmlColor(bascommon::ColorValue curcor, bool compact);
    // Clears the list's selection and disables "Delete This Scheme"; the remembered position
    // stays.
    void ClearSchemeSelection();
    WebColorScheme scheme() const { return m_colors; }

    // Loads the saved scheme at a list position into the preview; -1 does nothing.
    void LoadScheme(int position);
    void SaveCurrentScheme();
    void DeleteScheme();

    HtmlColorItem htmlColorItem() const;
    int selectedSchemeIndex() const { return m_selectedSchemeIndex; }

    QRadioButton *optbg, *opttext, *optnl, *optvl, *optal, *opthl, *optnone;
    SampleLabel* lbldisplay;
    std::array<SampleLabel*, 4> lbltext{};
    SampleLabel *lblnl, *lblvl, *lblal, *lblhl;
    QListWidget* lstCorset;
    DeleteButton* cmdDelItem;
    QMenu* mnuHtmlPop1;
    QAction *mnuSaveScheme, *mnuViewCode, *mnuCopyHtml, *mnuCopyInline, *mnuCopyExternal,
        *mnuShowweb;

signals:
    // Choosing an item makes its color the current color.
    void colorChosen(bascommon::ColorValue color);
    // Loading a scheme replaces the palette cell's selection.
    void selectionStarted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createItemOptions();
    void createPreview();
    void createSchemeList();
    void createPopupMenu();
    void connectSample(SampleLabel* label, HtmlColorItem item);
    void chooseItem(HtmlColorItem item);

    // Each writes one color into the scheme and repaints the labels that show it.
    void setBackground(bascommon::ColorValue color);
    void setTextColor(bascommon::ColorValue color);
    void setLinkColor(HtmlColorItem item, bascommon::ColorValue color);
    void applyScheme(const WebColorScheme& scheme);

    void copyCode(std::string (*code)(const WebColorScheme&));
    void showCode();
    void showFullScreenPreview();
    // "Check Contrast...": one modeless window that follows the scheme and the current color.
    void showContrast();
    void updateContrast();
    void applyContrastFix(HtmlColorItem item, bascommon::ColorValue color);
    void showFileError(const std::exception& error);

    SchemeStore& m_store;
    Services& m_services;
    QButtonGroup* m_items = nullptr;
    WebColorScheme m_colors{};
    int m_selectedSchemeIndex = 0;
    bool m_askingToDelete = false;
    bascommon::ColorValue m_currentColor = 0xFFFFFF; // the main window starts on white
    QAction* m_checkContrast = nullptr;
    QPointer<ContrastWindow> m_contrast;
};
