#pragma once

#include "app/ColorEditor.h"

#include <QDialog>

struct Services;

// The Color Info window: the current color full screen with its values in every model.
class frmpreview : public QDialog
{
    Q_OBJECT
public:
    frmpreview(const CurrentColorTexts& current, Services& services, QWidget* parent = nullptr);

private:
    Services& m_services;
};
