#include "web/frmcss.h"

#include "platform/FontFit.h"
#include "platform/Widgets.h"
#include "web/SchemeCode.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace
{

constexpr int left = 18;

QPlainTextEdit* codeBox(QWidget* parent, const char* name, int top, int width, int height)
{
    auto* box = makeNamed<QPlainTextEdit>(parent, name);
    box->setReadOnly(true);
    box->setGeometry(left, top, width, height);
    // Code reads best in columns; a long line wraps at the box's edge, so the whole code shows
    // without scrolling.
    QFont code = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    code.setPointSizeF(parent->font().pointSizeF());
    box->setFont(code);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // The font is fitted so that nothing is left to scroll to; a scroll bar would only narrow
    // the box.
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return box;
}

QLabel* heading(QWidget* parent, const QString& caption, int top)
{
    auto* label = new QLabel(caption, parent);
    label->setGeometry(left, top, 200, 14);
    return label;
}

// The code joins its lines with CR LF; a text box shows a line break for each.
QString boxText(const std::string& code)
{
    return QString::fromStdString(code).replace("\r\n", "\n");
}

} // namespace

frmcss::frmcss(const WebColorScheme& scheme, QWidget* parent) : QDialog(parent)
{
    setObjectName("frmcss");
    setWindowTitle("HTML and CSS");
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(365, 353);

    QLabel* htmlHeading = heading(this, "HTML", 6);
    txthtml = codeBox(this, "txthtml", 21, 328, 37);
    QLabel* inlineHeading = heading(this, "Inline CSS", 64);
    txtic = codeBox(this, "txtic", 79, 329, 131);
    QLabel* externalHeading = heading(this, "External CSS", 216);
    txtec = codeBox(this, "txtec", 231, 328, 80);
    cmdexit = makeNamed<QPushButton>(this, "cmdexit", "Exit");
    cmdexit->setGeometry((365 - 65) / 2, 321, 65, 22);
    cmdexit->setAutoDefault(false);
    connect(cmdexit, &QPushButton::clicked, this, &QDialog::accept);

    ShowHtml(scheme);
    // Fitted to the widest code: every color written with the widest digit.
    const auto widest = static_cast<bascommon::ColorValue>(
        widestHexColor(txthtml->font()).mid(1).toInt(nullptr, 16));
    const WebColorScheme wide{widest, widest, widest, widest, widest, widest};
    fitFontsTogether({{htmlHeading},
                      {inlineHeading},
                      {externalHeading},
                      {cmdexit},
                      {txthtml, {boxText(HtmlCode(wide))}},
                      {txtic, {boxText(InlineCssCode(wide))}},
                      {txtec, {boxText(ExternalCssCode(wide))}}});
}

void frmcss::ShowHtml(const WebColorScheme& scheme)
{
    txthtml->setPlainText(boxText(HtmlCode(scheme)));
    txtec->setPlainText(boxText(ExternalCssCode(scheme)));
    txtic->setPlainText(boxText(InlineCssCode(scheme)));
}
