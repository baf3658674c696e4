// The Edit menu's CSS copy forms and Paste Color.
#include "app/frmshowcolor.h"
#include "platform/Widgets.h"

#include "color/ColorForms.h"
#include "color/ColorParser.h"
#include "platform/Services.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QStringList>

namespace
{

const char* const cssNames[] = {"mnuCopyCssRgb", "mnuCopyCssHsl", "mnuCopyCssOklch"};

std::string cssText(int form, bascommon::ColorValue color)
{
    switch (form) {
    case 0:
        return CssRgb(color);
    case 1:
        return CssHsl(color);
    default:
        return CssOklch(color);
    }
}

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

void frmshowcolor::createFormsMenu(QMenu* edit)
{
    edit->addSeparator()->setObjectName("editsepForms");
    mnuCopyCss = edit->addMenu("Copy CSS Format of Color");
    mnuCopyCss->setObjectName("mnuCopyCss");
    for (int i = 0; i < 3; ++i) {
        cssCommands[i] = addAction(mnuCopyCss, cssNames[i], QString());
        connect(cssCommands[i], &QAction::triggered, this, [this, i] {
            m_services.clipboard.clear();
            m_services.clipboard.setText(QString::fromStdString(cssText(i, currentColor())));
        });
    }
    mnuPasteColor = addAction(edit, "mnuPasteColor", "Paste Color");
    mnuPasteColor->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V));
    connect(mnuPasteColor, &QAction::triggered, this, &frmshowcolor::onPasteColor);
    changeCssMenu();
}

void frmshowcolor::changeCssMenu()
{
    // The menus are built before the color editor; the window starts white.
    const bascommon::ColorValue color = m_editor ? currentColor() : bascommon::RGB(255, 255, 255);
    for (int i = 0; i < 3; ++i)
        cssCommands[i]->setText(menuCaption(QString::fromStdString(cssText(i, color))));
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
