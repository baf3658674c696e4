// The Edit menu's form commands (from the table of color forms) and Paste Color.
#include "app/frmshowcolor.h"
#include "platform/Widgets.h"

#include "color/ColorParser.h"
#include "platform/Services.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>

namespace
{

// The first line of a clipboard text, shortened for a message.
QString quotedForMessage(const QString& text)
{
    constexpr int longest = 80;
    QString line = text.section('\n', 0, 0).trimmed();
    if (line.size() > longest || text.trimmed().contains('\n'))
        line = line.left(longest) + QString::fromUtf8("\u2026");
    return "\"" + line + "\"";
}

} // namespace

void frmshowcolor::addFormCommands(FormMenu menu, QMenu* submenu)
{
    const auto forms = ColorFormTable();
    for (std::size_t i = 0; i < forms.size(); ++i) {
        const ColorFormRow& form = forms[i];
        if (form.menu != menu)
            continue;
        // The copy commands show their layout caption until the first color; the CSS forms show
        // their text of the current color from the start (the window starts white).
        const std::string caption =
            form.copyForm
                ? std::string(form.layoutCaption)
                : form.write(m_editor ? currentColor() : bascommon::RGB(255, 255, 255), 1.0);
        formCommands[i] = addAction(submenu, std::string(form.objectName).c_str(),
                                    menuCaption(QString::fromStdString(caption)));
        connect(formCommands[i], &QAction::triggered, this, [this, &form] {
            m_services.clipboard.clear();
            m_services.clipboard.setText(
                QString::fromStdString(FormCopiedText(form, copyBoxTexts(), currentColor())));
        });
    }
}

void frmshowcolor::createFormsMenu(QMenu* edit)
{
    edit->addSeparator()->setObjectName("editsepForms");
    mnuCopyCss = edit->addMenu("Copy CSS Format of Color");
    mnuCopyCss->setObjectName("mnuCopyCss");
    addFormCommands(FormMenu::Css, mnuCopyCss);
    mnuPasteColor = addAction(edit, "mnuPasteColor", "Paste Color");
    mnuPasteColor->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V));
    connect(mnuPasteColor, &QAction::triggered, this, &frmshowcolor::onPasteColor);
}

void frmshowcolor::onPasteColor()
{
    const QString text = m_services.clipboard.text();
    if (const auto color = ParseColor(text.toStdString())) {
        CurrentColorChanged(*color);
        return;
    }
    const QString what = text.trimmed().isEmpty() ? QString("The clipboard holds no text")
                                                  : "The clipboard text " + quotedForMessage(text);
    m_services.questions.showError(
        this, "Paste Color",
        what + " is not a color.\nExpected " +
            QString::fromUtf8(ColorFormsExpected.data(), int(ColorFormsExpected.size())) + ".");
}
