#include "color/frmConversion.h"

// Placeholder: the conversion dialog is being written.
frmConversion::frmConversion(const CurrentColorTexts&, Services& services,
                             std::function<void(bascommon::ColorValue)> currentColorChanged,
                             QWidget* parent)
    : QDialog(parent), m_services(services), m_currentColorChanged(std::move(currentColorChanged))
{
    setWindowTitle("Color Conversion");
}
