#include "app/frmabout.h"

#include "app/Version.h"
#include "platform/FontFit.h"
#include "platform/Widgets.h"
#include "platform/Services.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

namespace
{

// A label that opens an address when clicked.
class LinkLabel : public QLabel
{
public:
    LinkLabel(const QString& text, std::function<void()> onClick, QWidget* parent)
        : QLabel(text, parent), m_onClick(std::move(onClick))
    {
        setCursor(Qt::PointingHandCursor);
        QFont f = font();
        f.setUnderline(true);
        setFont(f);
        QPalette p = palette();
        p.setColor(QPalette::WindowText, QColor(0, 0, 255));
        setPalette(p);
    }

protected:
    void mouseReleaseEvent(QMouseEvent*) override { m_onClick(); }

private:
    std::function<void()> m_onClick;
};

} // namespace

frmabout::frmabout(Services& services, const QString& webSite, const QString& email,
                   QWidget* parent)
    : QDialog(parent)
{
    setObjectName("frmabout");
    setWindowTitle("About");
    setFixedSize(330, 170);
    constexpr QPoint origin{0, 0};

    auto* picture = makeNamed<QLabel>(this, "picAbout");
    picture->setPixmap(QIcon(":/icons/huebench.svg").pixmap(48, 48));
    placeAt(picture, origin, 16, 16, 48, 48);

    auto* name = makeNamed<QLabel>(this, "lblName", "Hue Bench");
    QFont bold = name->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.4);
    name->setFont(bold);
    placeAt(name, origin, 80, 16, 230, 24);
    auto* version = makeNamed<QLabel>(this, "lblVersion", "Version: " HUEBENCH_VERSION);
    placeAt(version, origin, 80, 44, 230, 18);

    // The addresses take the width beside the captions below the picture.
    auto* webLabel = new QLabel("Web site:", this);
    placeAt(webLabel, origin, 16, 72, 60, 18);
    auto* web = new LinkLabel(
        webSite,
        [this, &services, webSite] {
            if (!services.shellOpen.openUrl(QUrl(webSite)))
                services.questions.showError(this, windowTitle(),
                                             "No web browser was found to open " + webSite + ".");
        },
        this);
    web->setObjectName("lblWeb");
    web->setToolTip("Visit our website");
    placeAt(web, origin, 80, 72, 235, 18);

    auto* mailLabel = new QLabel("E-mail:", this);
    placeAt(mailLabel, origin, 16, 94, 60, 18);
    auto* mail = new LinkLabel(
        email,
        [this, &services, email] {
            if (!services.shellOpen.openUrl(QUrl("mailto:" + email)))
                services.questions.showError(
                    this, windowTitle(), "No e-mail program was found to write to " + email + ".");
        },
        this);
    mail->setObjectName("lblEmail");
    mail->setToolTip("Email us");
    placeAt(mail, origin, 80, 94, 235, 18);

    auto* ok = makeNamed<QPushButton>(this, "cmdOK", "OK");
    placeAt(ok, origin, 235, 130, 80, 26);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    fitFontsTogether({{name}, {version}, {webLabel}, {web}, {mailLabel}, {mail}, {ok}});
    services.stayOnTop.setTopMost(this, true);
}
