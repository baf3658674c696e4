#pragma once

#include "color/bascommon.h"
#include "web/SchemeStore.h"

#include <QWidget>

class SchemeStore;
class frmshowcolor;
struct Services;

// The web color scheme editor in the lower band of the main window.
class SchemeEditor : public QWidget
{
    Q_OBJECT
public:
    static constexpr QPoint origin{0, 226};

    SchemeEditor(frmshowcolor& main, SchemeStore& store, Services& services, QWidget* clientArea);

    // Start-up: read the saved schemes and load the first.
    void startUp();
    // Start-up, later: select the item None.
    void selectNone();
    // Writes a new current color into the selected item (nothing in compact mode).
    void HtmlColor(bascommon::ColorValue curcor);
    void ClearSchemeSelection();
    WebColorScheme scheme() const;

private:
    frmshowcolor& m_main;
    SchemeStore& m_store;
    Services& m_services;
};
