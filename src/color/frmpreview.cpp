#include "color/frmpreview.h"

#include "color/NearestName.h"
#include "platform/FontFit.h"
#include "platform/Widgets.h"
#include "platform/Services.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>

#include <stdexcept>

namespace
{

constexpr int panelWidth = 240;
constexpr int rowCount = 16;
constexpr int firstRowTop = 54;
constexpr int lastRowTop = 387;

// The sixteen rows are spread evenly between the first and the last top (about 22 apart).
int rowTop(int row)
{
    return firstRowTop + (row * (lastRowTop - firstRowTop) + 7) / 15;
}

} // namespace

frmpreview::frmpreview(const CurrentColorTexts& current, Services& services, QWidget* parent)
    : QDialog(parent), m_services(services)
{
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    // The geometry covers the screen also where no window manager applies the full-screen state.
    QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen)
        setGeometry(screen->geometry());
    setWindowState(Qt::WindowFullScreen);
    createPanel();
    createMenu();

    m_services.stayOnTop.setTopMost(this, true);
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window,
                        QColor(bascommon::GetRed(current.color), bascommon::GetGreen(current.color),
                               bascommon::GetBlue(current.color)));
    setPalette(background);

    const ColorInfo info = MakeColorInfo(current.hexRgb.toStdString(), current.r.toStdString(),
                                         current.g.toStdString(), current.b.toStdString());
    const auto show = [](QLineEdit* box, const std::string& text) {
        box->setText(QString::fromStdString(text));
    };
    show(txtHEX, info.hex);
    show(txtr, info.r), show(txtg, info.g), show(txtb, info.b);
    show(txth, info.h), show(txtl, info.l), show(txts, info.s);
    show(txtc, info.cmyC), show(txtm, info.cmyM), show(txtY, info.cmyY);
    show(txtc1, info.cmykC), show(txtm1, info.cmykM), show(txtY1, info.cmykY);
    show(txtK, info.cmykK);
    show(txtY2, info.ycbcrY), show(txtCb, info.ycbcrCb), show(txtCr, info.ycbcrCr);
    // Shown here only: the saved page keeps its fixed set of values.
    nearestName->setText(
        tr("Name: %1").arg(QString::fromStdString(NearestNameText(current.color))));
}

void frmpreview::createPanel()
{
    // The panel keeps the default window color of its own, so the values stay readable on any
    // current color.
    PicInfo = makeNamed<QFrame>(this, "PicInfo");
    PicInfo->setGeometry(0, 0, panelWidth, height());
    PicInfo->setAutoFillBackground(true);
    QPalette panelPalette = PicInfo->palette();
    panelPalette.setColor(QPalette::Window, QApplication::palette().color(QPalette::Window));
    PicInfo->setPalette(panelPalette);

    QFont titleFont = font();
    titleFont.setBold(true);
    titleFont.setPointSize(12);
    lblTitle = makeNamed<QLabel>(PicInfo, "lblTitle", tr("Color Info"));
    lblTitle->setFont(titleFont);
    lblTitle->setGeometry(47, 7, 132, 25);

    QFont hexFont = font();
    hexFont.setBold(true);
    hexFont.setPointSize(9);
    txtHEX = makeNamed<QLineEdit>(PicInfo, "txtHEX");
    txtHEX->setFont(hexFont);
    txtHEX->setGeometry(60, 31, 91, 21);
    txtHEX->setReadOnly(true);
    txtHEX->setFrame(false);

    struct Row {
        const char* group; // on the first row of a group only
        const char* label;
        const char* box;
        QLineEdit** member;
    };
    const Row rows[rowCount] = {
        {"RGB", "R:", "txtr", &txtr},      {nullptr, "G:", "txtg", &txtg},
        {nullptr, "B:", "txtb", &txtb},    {"HLS", "H:", "txth", &txth},
        {nullptr, "L:", "txtl", &txtl},    {nullptr, "S:", "txts", &txts},
        {"CMY", "C:", "txtc", &txtc},      {nullptr, "M:", "txtm", &txtm},
        {nullptr, "Y:", "txtY", &txtY},    {"CMYK", "C:", "txtc1", &txtc1},
        {nullptr, "M:", "txtm1", &txtm1},  {nullptr, "Y:", "txtY1", &txtY1},
        {nullptr, "K:", "txtK", &txtK},    {"YCbCr", "Y:", "txtY2", &txtY2},
        {nullptr, "Cb:", "txtCb", &txtCb}, {nullptr, "Cr:", "txtCr", &txtCr},
    };
    for (int i = 0; i < rowCount; ++i) {
        const Row& row = rows[i];
        const int top = rowTop(i);
        if (row.group) {
            auto* group = new QLabel(QString::fromLatin1(row.group), PicInfo);
            group->setGeometry(36, top, 43, 21);
            group->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        }
        auto* label = new QLabel(QString::fromLatin1(row.label), PicInfo);
        label->setGeometry(80, top, 43, 15);
        QLineEdit* box = makeNamed<QLineEdit>(PicInfo, row.box);
        box->setGeometry(109, top, 43, 15);
        box->setReadOnly(true);
        box->setFrame(false);
        *row.member = box;
    }

    nearestName = makeNamed<QLabel>(PicInfo, "nearestName");
    nearestName->setGeometry(36, lastRowTop + 26, panelWidth - 40, 17);
    nearestName->setTextInteractionFlags(Qt::TextSelectableByMouse);

    std::vector<FittedText> texts;
    for (QWidget* child : PicInfo->findChildren<QWidget*>())
        texts.push_back({child, {"360"}});
    texts.push_back({txtHEX, {widestHexColor(txtHEX->font())}});
    fitFontsTogether(texts);
}

void frmpreview::createMenu()
{
    mnufile = new QMenu(tr("Action"), this);
    mnufile->setObjectName("mnufile");
    mnusave = mnufile->addAction(tr("Save as Html..."));
    mnusave->setObjectName("mnusave");
    mnufile->addSeparator();
    mnuexit = mnufile->addAction(tr("Exit"));
    mnuexit->setObjectName("mnuexit");
    connect(mnusave, &QAction::triggered, this, &frmpreview::onMnusaveTriggered);
    connect(mnuexit, &QAction::triggered, this, &QDialog::accept);

    // The menu bar is the visible way out of the full-screen window. It keeps the default
    // window color, like the panel, so that it reads on any current color.
    m_menuBar = new QMenuBar(this);
    m_menuBar->setObjectName("menuBar");
    m_menuBar->addMenu(mnufile);
    m_menuBar->setAutoFillBackground(true);
    QPalette barPalette = m_menuBar->palette();
    barPalette.setColor(QPalette::Window, QApplication::palette().color(QPalette::Window));
    m_menuBar->setPalette(barPalette);
    placeBelowMenuBar();
}

void frmpreview::placeBelowMenuBar()
{
    const int barHeight = m_menuBar->sizeHint().height();
    m_menuBar->setGeometry(0, 0, width(), barHeight);
    PicInfo->setGeometry(0, barHeight, panelWidth, height() - barHeight);
}

ColorInfo frmpreview::shownInfo() const
{
    const auto text = [](const QLineEdit* box) { return box->text().toStdString(); };
    ColorInfo info;
    info.hex = text(txtHEX);
    info.r = text(txtr), info.g = text(txtg), info.b = text(txtb);
    info.h = text(txth), info.l = text(txtl), info.s = text(txts);
    info.cmyC = text(txtc), info.cmyM = text(txtm), info.cmyY = text(txtY);
    info.cmykC = text(txtc1), info.cmykM = text(txtm1), info.cmykY = text(txtY1);
    info.cmykK = text(txtK);
    info.ycbcrY = text(txtY2), info.ycbcrCb = text(txtCb), info.ycbcrCr = text(txtCr);
    return info;
}

// Releases over the panel reach here too: the panel and its labels leave mouse events to
// their parent.
void frmpreview::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton)
        mnufile->popup(event->globalPosition().toPoint());
}

void frmpreview::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    placeBelowMenuBar();
}

void frmpreview::onMnusaveTriggered()
{
    const QString caption = tr("Save as Html");
    const auto chosen = m_services.fileSaveDialog.getSaveFileName(
        this, caption, txtHEX->text() + QStringLiteral(".htm"), tr("web page (*.htm)"));
    if (!chosen)
        return;
    QString name = chosen->name;
    // The dialog asked about the name it returned; a name typed without an extension gets
    // ".htm", and that file has not been asked about yet.
    if (QFileInfo(name).suffix().isEmpty()) {
        name += QStringLiteral(".htm");
        if (QFileInfo::exists(name) &&
            !m_services.questions.askYesNo(this, caption,
                                           tr("%1 already exists.\nDo you want to replace it?")
                                               .arg(QFileInfo(name).fileName()),
                                           false))
            return;
    }
    try {
        SaveColorInfoPage(QFile::encodeName(name).toStdString(), shownInfo());
    } catch (const std::runtime_error& e) {
        m_services.questions.showError(this, caption, QString::fromLocal8Bit(e.what()));
    }
}
