#pragma once

#include "web/SchemeStore.h"

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

// "HTML and CSS": the three code texts of a scheme, read-only, with an Exit button.
class frmcss : public QDialog
{
    Q_OBJECT
public:
    frmcss(const WebColorScheme& scheme, QWidget* parent = nullptr);

    // Fills the three boxes from the scheme.
    void ShowHtml(const WebColorScheme& scheme);

    QPlainTextEdit* txthtml;
    QPlainTextEdit* txtic;
    QPlainTextEdit* txtec;
    QPushButton* cmdexit;
};
