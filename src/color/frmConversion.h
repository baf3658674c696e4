#pragma once

#include "app/ColorEditor.h"

#include <QDialog>

#include <functional>

struct Services;

// "Color Conversion": edits the current color with sliders in any color model.
class frmConversion : public QDialog
{
    Q_OBJECT
public:
    frmConversion(const CurrentColorTexts& current, Services& services,
                  std::function<void(bascommon::ColorValue)> currentColorChanged,
                  QWidget* parent = nullptr);

private:
    Services& m_services;
    std::function<void(bascommon::ColorValue)> m_currentColorChanged;
};
