#pragma once

#include "color/bascommon.h"

#include <QWidget>

#include <string>
#include <vector>

class PaletteStore;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
struct Services;

// "Pick&Save": floats above the picking overlay, chooses the palette that picked colors are
// saved to, shows the sampled color and ends the picking run. It does not take the keyboard
// from the overlay: only a click on "Save To:" does, until its list closes.
class frmpick : public QWidget
{
    Q_OBJECT
public:
    frmpick(PaletteStore& store, Services& services, QWidget* parent);
    ~frmpick() override;

    // Fills "Save To:" with the palettes of kind "0" and "1", in index order, and selects the
    // first. A file failure is shown; the chooser is then empty and nothing is saved.
    void ShowSaveChart();
    // The palette file picked colors go to; "" when there is none to choose.
    const std::string& SaveToFile() const { return m_saveToFile; }
    // Shows a sampled color; the widgets change only when the color does.
    void showSample(bascommon::ColorValue color);

    QLabel* Label1;
    QComboBox* cmbSaveTo;
    QLabel* lblcor;
    QLineEdit* txthex;
    QPushButton* cmdStop;

signals:
    // The mouse is over this window, no longer over the overlay.
    void pointerEntered();
    void stopRequested();
    // The "Save To:" list has closed: the keyboard goes back to the overlay.
    void chooserClosed();
    // A key pressed while this window had the keyboard, meant for the overlay.
    void keyNotForMe(QKeyEvent* event);

protected:
    void enterEvent(QEnterEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void onSaveToChosen(int index);

    PaletteStore& m_store;
    Services& m_services;
    std::vector<std::string> m_saveToFiles; // file name behind each "Save To:" item
    std::string m_saveToFile;
    bascommon::ColorValue m_shown = -1; // none yet: the design's white sample, no text
};
