// The Edit menu's form commands (from the table of color forms) and Paste Color.
#include "app/frmshowcolor.h"
#include "platform/Widgets.h"

#include "color/ColorParser.h"
#include "platform/Services.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QStringList>

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
    const ColorReading reading = ReadColor(text.toStdString());
    if (reading.color) {
        CurrentColorChanged(reading.color->color);
        notePastedColor(*reading.color);
        return;
    }
    const QString what = text.trimmed().isEmpty() ? QString("The clipboard holds no text")
                                                  : "The clipboard text " + quotedForMessage(text);
    m_services.questions.showError(
        this, "Paste Color",
        what + " is not a color: " + QString::fromStdString(reading.error) + ".");
}

// What the current color could not keep of a pasted color: the gamut mapping is told every time,
// the ignored transparency once a run, since a designer pasting from a style sheet meets it often.
void frmshowcolor::notePastedColor(const ParsedColor& pasted)
{
    QStringList notes;
    if (pasted.gamutMapped)
        notes << "The pasted color lies outside sRGB; it was brought inside by gamut mapping, "
                 "keeping its lightness and hue.";
    if (pasted.alpha < 1.0 && !m_transparencyNoted) {
        m_transparencyNoted = true;
        notes << "The pasted color is partly transparent (alpha " +
                     QString::number(pasted.alpha, 'g', 3) +
                     "); its transparency was ignored, since the current color is opaque.";
    }
    if (!notes.isEmpty())
        m_services.questions.showMessage(this, "Paste Color", notes.join("\n"));
}
