#pragma once

#include "color/bascommon.h"

#include <QWidget>

#include <string>
#include <vector>

class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QSpinBox;
struct Services;

// "Ramp and Harmonies": the tint-and-shade ramp of a color as a row of swatches (step name and
// text under each, the color's own step marked) and its hue harmonies below. It follows the
// color it is given; a click on a swatch asks for that color to become the current one, and
// every swatch copies its text in the form chosen from the table of color forms.
class RampWindow : public QWidget
{
    Q_OBJECT
public:
    RampWindow(Services& services, bascommon::ColorValue color, QWidget* parent = nullptr);

    // Shows the ramp and harmonies of `color`.
    void followColor(bascommon::ColorValue color);
    bascommon::ColorValue color() const { return m_color; }
    // The ramp's colors as shown, lightest first.
    std::vector<bascommon::ColorValue> rampColors() const { return m_rampColors; }

    QSpinBox* rampSteps = nullptr;
    QSpinBox* rampHueShift = nullptr;
    QComboBox* rampForm = nullptr;
    QPushButton* savePalette = nullptr;

signals:
    // A swatch was clicked: its color should become the current color.
    void colorChosen(bascommon::ColorValue color);
    // "Save as Palette": a new palette titled `title` holding `colors` from cell 0 on.
    void paletteWanted(const std::string& title, const std::vector<bascommon::ColorValue>& colors);

private:
    void rebuild();
    QWidget* makeSwatch(QWidget* parent, const char* name, bascommon::ColorValue color,
                        const QString& caption, bool marked);
    QString textOf(bascommon::ColorValue color) const;
    void copy(bascommon::ColorValue color);

    Services& m_services;
    bascommon::ColorValue m_color;
    std::vector<bascommon::ColorValue> m_rampColors;
    QWidget* m_rampRow = nullptr;
    QHBoxLayout* m_rampLayout = nullptr;
    QWidget* m_harmonies = nullptr;
    QGridLayout* m_harmonyLayout = nullptr;
};
