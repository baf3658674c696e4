#pragma once

#include "color/CurrentColorTexts.h"
#include "color/ColorInfoPage.h"

#include <QDialog>

#include <array>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
struct Services;

// The Color Info window: the current color full screen, with a panel of its values in the RGB,
// HLS, CMY, CMYK and YCbCr models. The menu bar's "Action" menu, also opened by a right-button
// release, saves the values as an HTML page or closes the window. The content is fixed when it
// opens.
class frmpreview : public QDialog
{
    Q_OBJECT
public:
    frmpreview(const CurrentColorTexts& current, Services& services, QWidget* parent = nullptr);

    // The values as the boxes show them.
    ColorInfo shownInfo() const;

    QMenu* mnufile; // "Action"
    QAction* mnusave;
    QAction* mnuexit;
    QFrame* PicInfo;
    QLabel* lblTitle;
    QLineEdit* txtHEX;
    QLineEdit *txtr, *txtg, *txtb;
    QLineEdit *txth, *txtl, *txts;
    QLineEdit *txtc, *txtm, *txtY;
    QLineEdit *txtc1, *txtm1, *txtY1, *txtK;
    QLineEdit *txtY2, *txtCb, *txtCr;
    QLabel* nearestName; // the nearest CSS named color, below the values

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void createPanel();
    void createMenu();
    void placeBelowMenuBar();
    void onMnusaveTriggered();

    Services& m_services;
    QMenuBar* m_menuBar = nullptr;
};
