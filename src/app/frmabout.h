#pragma once

#include <QDialog>

struct Services;

// The About box: name, version, web site and e-mail links.
class frmabout : public QDialog
{
    Q_OBJECT
public:
    frmabout(Services& services, const QString& webSite, const QString& email,
             QWidget* parent = nullptr);
};
