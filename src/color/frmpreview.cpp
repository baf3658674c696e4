#include "color/frmpreview.h"

// Placeholder: the Color Info window is being written.
frmpreview::frmpreview(const CurrentColorTexts&, Services& services, QWidget* parent)
    : QDialog(parent), m_services(services)
{
}
