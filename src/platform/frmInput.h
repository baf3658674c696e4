#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
struct Services;

// Asks for one line of text: a name for a new palette or a saved scheme.
class frmInput : public QDialog
{
    Q_OBJECT
public:
    explicit frmInput(QWidget* parent = nullptr);

    // The trimmed entry after Ok ("Untiltled" for an empty one), "" after Cancel.
    QString result() const { return m_result; }

    QLineEdit* txtResult;
    QPushButton* cmdOk;
    QPushButton* cmdCancel;
    QLabel* lblMsg;

private:
    void onOk();
    void onCancel();

    QString m_result;
};

// Shows a fresh frmInput with the given caption and prompt, modally, and returns its result:
// "" when cancelled, otherwise a non-empty text without leading or trailing spaces.
QString ShowInputBox(Services& services, QWidget* parent, const QString& title,
                     const QString& prompt);
