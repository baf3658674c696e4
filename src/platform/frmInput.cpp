#include "platform/frmInput.h"

#include "platform/FontFit.h"
#include "platform/Widgets.h"
#include "platform/Services.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace
{

// Only spaces count as padding, as in the names the data files hold.
QString trimSpaces(const QString& text)
{
    qsizetype first = 0, last = text.size();
    while (first < last && text[first] == u' ')
        ++first;
    while (last > first && text[last - 1] == u' ')
        --last;
    return text.mid(first, last - first);
}

// Enter presses the button that has the focus, as Space does. The dialog has no default button:
// Enter in the text box is Ok, and Cancel has no key of its own.
class KeyButton : public QPushButton
{
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
            event->modifiers() == Qt::NoModifier) {
            event->accept();
            animateClick();
            return;
        }
        QPushButton::keyPressEvent(event);
    }
};

} // namespace

frmInput::frmInput(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmInput");
    setWindowTitle("Add a new color chart");
    setFixedSize(248, 154);
    constexpr QPoint origin{0, 0};
    txtResult = makeNamed<QLineEdit>(this, "txtResult");
    placeAt(txtResult, origin, 34, 71, 180, 22);
    cmdOk = makeNamed<KeyButton>(this, "cmdOk", "Ok");
    placeAt(cmdOk, origin, 34, 111, 75, 22);
    cmdCancel = makeNamed<KeyButton>(this, "cmdCancel", "Cancel");
    placeAt(cmdCancel, origin, 139, 111, 75, 22);
    lblMsg = makeNamed<QLabel>(this, "lblMsg", "Please input a name of new color chart:");
    placeAt(lblMsg, origin, 34, 22, 180, 44);
    lblMsg->setWordWrap(true);
    lblMsg->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblMsg->setTextFormat(Qt::PlainText);
    cmdOk->setAutoDefault(false);
    cmdCancel->setAutoDefault(false);
    setTabOrder(txtResult, cmdOk);
    setTabOrder(cmdOk, cmdCancel);
    connect(txtResult, &QLineEdit::returnPressed, this, &frmInput::onOk);
    connect(cmdOk, &QPushButton::clicked, this, &frmInput::onOk);
    connect(cmdCancel, &QPushButton::clicked, this, &frmInput::onCancel);
    txtResult->setFocus();
    fitFontsTogether({{lblMsg}, {cmdOk}, {cmdCancel}});
}

void frmInput::onOk()
{
    if (trimSpaces(txtResult->text()).isEmpty())
        txtResult->setText("Untiltled");
    m_result = trimSpaces(txtResult->text());
    accept();
}

void frmInput::onCancel()
{
    m_result.clear();
    reject();
}

QString ShowInputBox(Services& services, QWidget* parent, const QString& title,
                     const QString& prompt)
{
    frmInput dialog(parent);
    dialog.setWindowTitle(title);
    dialog.lblMsg->setText(prompt);
    fitFontsTogether({{dialog.lblMsg}, {dialog.cmdOk}, {dialog.cmdCancel}});
    services.stayOnTop.setTopMost(&dialog, true);
    dialog.exec();
    return dialog.result();
}
