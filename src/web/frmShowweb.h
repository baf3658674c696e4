#pragma once

#include <QColor>
#include <QDialog>
#include <QString>

#include <array>

class QLineEdit;
struct Services;

// What one sample box of the full-screen preview shows.
struct PreviewSample {
    QString text;
    QColor back, fore;
};

// The scheme on a whole screen: its background with five sample lines. Borderless, top-most,
// modal; a click on the background (not on a box), Escape, Enter or Space closes it, as a line
// at the bottom of the samples says.
class frmShowweb : public QDialog
{
    Q_OBJECT
public:
    // Samples in box order: text, normal, visited, active, hover link.
    frmShowweb(Services& services, const QColor& background,
               const std::array<PreviewSample, 5>& samples, QWidget* parent = nullptr);

    QLineEdit* txtTxt;
    QLineEdit* txtNl;
    QLineEdit* txtvl;
    QLineEdit* txtal;
    QLineEdit* txthl;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
