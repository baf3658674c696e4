// The scheme commands: the context menu, saving and deleting schemes, the code copies and the
// two windows opened from the menu.
#include "web/SchemeEditor.h"

#include "platform/frmInput.h"
#include "platform/Services.h"
#include "web/ContrastWindow.h"
#include "web/SchemeCode.h"
#include "web/frmShowweb.h"
#include "web/frmcss.h"

#include <QAction>
#include <QButtonGroup>
#include <QFocusEvent>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalBlocker>

#include <stdexcept>
#include <utility>

DeleteButton::DeleteButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent)
{
    setAutoDefault(true); // Enter and keypad Enter press it when it has the focus
    connect(this, &QPushButton::clicked, this, [this] {
        m_clicked = true;
        emit activated();
    });
}

void DeleteButton::focusInEvent(QFocusEvent* event)
{
    QPushButton::focusInEvent(event);
    if (event->reason() == Qt::MouseFocusReason) {
        // The press ends at the release; acting there keeps the question out of the press.
        m_focusPress = true;
    } else if (event->reason() != Qt::ActiveWindowFocusReason &&
               event->reason() != Qt::PopupFocusReason) {
        // Not from inside the focus change: the question is a window of its own.
        QMetaObject::invokeMethod(
            this, [this] { emit activated(); }, Qt::QueuedConnection);
    }
}

void DeleteButton::mouseReleaseEvent(QMouseEvent* event)
{
    const bool focusPress = std::exchange(m_focusPress, false);
    m_clicked = false;
    QPushButton::mouseReleaseEvent(event);
    // A press that brought the focus acts even when released outside the button.
    if (focusPress && !m_clicked)
        emit activated();
}

void SchemeEditor::createPopupMenu()
{
    mnuHtmlPop1 = new QMenu("HtmlPop1", this);
    mnuHtmlPop1->setObjectName("mnuHtmlPop1");
    auto add = [this](const char* name, const char* caption) {
        QAction* action = mnuHtmlPop1->addAction(caption);
        action->setObjectName(name);
        return action;
    };
    mnuSaveScheme = add("mnuSaveScheme", "Save Current Web Color scheme...");
    mnuViewCode = add("mnuViewCode", "View Html and CSS Code");
    mnuHtmlPop1->addSeparator();
    mnuCopyHtml = add("mnuCopyHtml", "Copy Html Code");
    mnuCopyInline = add("mnuCopyInline", "Copy Inline Css Code");
    mnuCopyExternal = add("mnuCopyExternal", "Copy External Css Code");
    mnuHtmlPop1->addSeparator();
    mnuShowweb = add("mnuShowweb", "Full Screen Preview");
    m_checkContrast = add("checkContrast", "Check Contrast...");

    connect(mnuSaveScheme, &QAction::triggered, this, &SchemeEditor::SaveCurrentScheme);
    connect(mnuViewCode, &QAction::triggered, this, &SchemeEditor::showCode);
    connect(mnuCopyHtml, &QAction::triggered, this, [this] { copyCode(HtmlCode); });
    connect(mnuCopyInline, &QAction::triggered, this, [this] { copyCode(InlineCssCode); });
    connect(mnuCopyExternal, &QAction::triggered, this, [this] { copyCode(ExternalCssCode); });
    connect(mnuShowweb, &QAction::triggered, this, &SchemeEditor::showFullScreenPreview);
    connect(m_checkContrast, &QAction::triggered, this, &SchemeEditor::showContrast);
}

void SchemeEditor::SaveCurrentScheme()
{
    const QString name =
        ShowInputBox(m_services, window(), "Save This Color Scheme", "Save this color scheme as:");
    if (name.isEmpty())
        return;
    // The files first: a failure leaves the list as the files are.
    try {
        m_store.Append(name.toStdString(), m_colors);
    } catch (const std::exception& e) {
        showFileError(e);
        return;
    }
    const QSignalBlocker blocker(lstCorset);
    lstCorset->addItem(name);
}

void SchemeEditor::DeleteScheme()
{
    const int m = m_selectedSchemeIndex;
    // Position 0 is the scheme that cannot be deleted; one question at a time.
    if (m <= 0 || m >= lstCorset->count() || m_askingToDelete)
        return;
    const QString text =
        "Are you sure you want to delete color scheme \"" + lstCorset->item(m)->text() + "\"?";
    m_askingToDelete = true;
    const bool yes = m_services.questions.askYesNo(window(), "Delete a color scheme", text, true);
    m_askingToDelete = false;
    // Whatever the answer, the selection the question was about is over: the button may not
    // act again on a scheme that is no longer highlighted.
    ClearSchemeSelection();
    if (!yes)
        return;
    try {
        m_store.Delete(m);
    } catch (const std::exception& e) {
        showFileError(e);
        return;
    }
    {
        // Removing an entry must not load another one: the preview keeps the deleted colors.
        const QSignalBlocker blocker(lstCorset);
        delete lstCorset->takeItem(m);
        lstCorset->clearSelection();
    }
}

void SchemeEditor::copyCode(std::string (*code)(const WebColorScheme&))
{
    m_services.clipboard.clear();
    m_services.clipboard.setText(QString::fromStdString(code(m_colors)));
}

void SchemeEditor::showCode()
{
    frmcss window(m_colors, this->window());
    m_services.stayOnTop.setTopMost(&window, true);
    window.exec();
}

void SchemeEditor::showFullScreenPreview()
{
    auto sample = [](const QLabel* label) {
        const QPalette p = label->palette();
        return PreviewSample{label->text(), p.color(QPalette::Window),
                             p.color(QPalette::WindowText)};
    };
    // The text box takes its colors from the bold sample and its text from the color caption.
    PreviewSample text = sample(lbltext[0]);
    text.text = lbltext[1]->text();
    const std::array<PreviewSample, 5> samples = {text, sample(lblnl), sample(lblvl), sample(lblal),
                                                  sample(lblhl)};
    frmShowweb preview(m_services, lbldisplay->palette().color(QPalette::Window), samples,
                       window());
    preview.exec();
}

void SchemeEditor::showContrast()
{
    if (!m_contrast) {
        m_contrast = new ContrastWindow(window());
        m_contrast->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_contrast, &ContrastWindow::fixChosen, this, &SchemeEditor::applyContrastFix);
        updateContrast();
    }
    m_contrast->show();
    m_contrast->raise();
    m_contrast->activateWindow();
}

void SchemeEditor::updateContrast()
{
    if (m_contrast)
        m_contrast->setScheme(m_colors, m_currentColor);
}

void SchemeEditor::applyContrastFix(HtmlColorItem item, bascommon::ColorValue color)
{
    // The same road as choosing a color for the item by hand: select the item, then make the
    // color the current color, whose HtmlColor step writes it into the item. Then the item
    // selected before takes the selection back, so that the next new color goes where it went
    // before and does not overwrite the fix.
    QAbstractButton* before = m_items->checkedButton();
    m_items->button(static_cast<int>(item))->setChecked(true);
    emit colorChosen(color);
    if (before)
        before->setChecked(true);
}

void SchemeEditor::showFileError(const std::exception& error)
{
    m_services.questions.showError(window(), "Hue Bench", QString::fromUtf8(error.what()));
}
