#pragma once

#include "color/CurrentColorTexts.h"
#include "color/ColorModels.h"
#include "color/cClrModels.h"

#include <QDialog>

#include <array>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QTabWidget;
class QFrame;
struct Services;

// "Color Conversion": edits the current color with sliders in the RGB, HLS, CMY, CMYK, YCbCr,
// HSV or OKLCH model; OKLCH values outside sRGB are brought inside at the same lightness and hue.
// The working color changes only when the user moves a slider; selecting a tab only shows the same
// color in another model. "OK" hands the sample color to `currentColorChanged`.
class frmConversion : public QDialog
{
    Q_OBJECT
public:
    frmConversion(const CurrentColorTexts& current, Services& services,
                  std::function<void(bascommon::ColorValue)> currentColorChanged,
                  QWidget* parent = nullptr);

    // The color of the sample: the working color.
    bascommon::ColorValue sampleColor() const;

    QTabWidget* tabModels;
    QFrame* fraCtls;
    std::array<QLabel*, 4> lblCp;
    std::array<QSlider*, 4> sldVal;
    std::array<QLineEdit*, 4> txtval;
    QLabel* picClr;
    QLineEdit* txtHEX;
    QPushButton* Command2; // "OK"
    QPushButton* Command1; // "Cancel"

private:
    void createControls();
    void fitTexts();
    const ColorModel& selectedModel() const;
    void onTabModelsChanged();
    void ConfigureRows();
    void LoadSliders();
    void ApplySliders();
    void RefreshRow(int i);
    void onCommand2Clicked();

    Services& m_services;
    std::function<void(bascommon::ColorValue)> m_currentColorChanged;
    cClrModels m_working;
    // True while the dialog sets slider values itself: the sliders then show the values without
    // writing them back into the working color.
    bool m_updating = false;
    QLabel* m_gamutNote = nullptr;
};
