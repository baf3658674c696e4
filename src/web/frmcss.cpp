#include "web/frmcss.h"

#include "platform/Widgets.h"
#include "web/SchemeCode.h"

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
    return box;
}

void heading(QWidget* parent, const QString& caption, int top)
{
    auto* label = new QLabel(caption, parent);
    label->setGeometry(left, top, 200, 14);
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

    heading(this, "HTML", 6);
    txthtml = codeBox(this, "txthtml", 21, 328, 37);
    heading(this, "Inline CSS", 64);
    txtic = codeBox(this, "txtic", 79, 329, 131);
    heading(this, "External CSS", 216);
    txtec = codeBox(this, "txtec", 231, 328, 80);
    cmdexit = makeNamed<QPushButton>(this, "cmdexit", "Exit");
    cmdexit->setGeometry((365 - 65) / 2, 321, 65, 22);
    cmdexit->setAutoDefault(false);
    connect(cmdexit, &QPushButton::clicked, this, &QDialog::accept);

    ShowHtml(scheme);
}

void frmcss::ShowHtml(const WebColorScheme& scheme)
{
    txthtml->setPlainText(boxText(HtmlCode(scheme)));
    txtec->setPlainText(boxText(ExternalCssCode(scheme)));
    txtic->setPlainText(boxText(InlineCssCode(scheme)));
}
