#include "web/frmShowweb.h"

#include "platform/FontFit.h"
#include "platform/Widgets.h"
#include "platform/Services.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScreen>

namespace
{

QLineEdit* sampleBox(QWidget* parent, const char* name, int top, const QString& initial,
                     bool underline)
{
    auto* box = makeNamed<QLineEdit>(parent, name, initial);
    box->setReadOnly(true);
    box->setGeometry(43, top, 178, 21);
    // The boxes only show their line: no caret, no selection, no context menu.
    box->setFocusPolicy(Qt::NoFocus);
    box->setContextMenuPolicy(Qt::NoContextMenu);
    box->installEventFilter(parent);
    QFont font = parent->font();
    font.setPointSizeF(9.75);
    font.setUnderline(underline);
    box->setFont(font);
    return box;
}

void showSample(QLineEdit* box, const PreviewSample& sample)
{
    box->setText(sample.text);
    box->setCursorPosition(0);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, sample.back);
    palette.setColor(QPalette::Text, sample.fore);
    box->setPalette(palette);
}

} // namespace

frmShowweb::frmShowweb(Services& services, const QColor& background,
                       const std::array<PreviewSample, 5>& samples, QWidget* parent)
    : QDialog(parent)
{
    setObjectName("frmShowweb");
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    txtTxt = sampleBox(this, "txtTxt", 155, "Text looks like this.", false);
    txtNl = sampleBox(this, "txtNl", 196, "Normal links look like this.", true);
    txtvl = sampleBox(this, "txtvl", 236, "Visited links look like this.", true);
    txtal = sampleBox(this, "txtal", 277, "Active links look like this.", true);
    txthl = sampleBox(this, "txthl", 318, "Hover links look like this.", true);

    services.stayOnTop.setTopMost(this, true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, background);
    setPalette(palette);
    setAutoFillBackground(true);
    const std::array<QLineEdit*, 5> boxes = {txtTxt, txtNl, txtvl, txtal, txthl};
    for (std::size_t i = 0; i < boxes.size(); ++i)
        showSample(boxes[i], samples[i]);
    // The five lines keep one size.
    fitFontsTogether({{txtTxt}, {txtNl}, {txtvl}, {txtal}, {txthl}});

    // How to leave, in black or white, whichever reads on the background.
    auto* hint = makeNamed<QLabel>(this, "closeHint", "Click anywhere or press Esc to close.");
    QPalette hintColors = hint->palette();
    hintColors.setColor(QPalette::WindowText,
                        background.lightness() > 110 ? QColor(Qt::black) : QColor(Qt::white));
    hint->setPalette(hintColors);
    hint->setGeometry(43, 370, 400, 21);
    hint->setAttribute(Qt::WA_TransparentForMouseEvents); // a click on it is one on the background

    // Covers the whole screen of the main window, also where no window manager maximizes.
    QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen)
        setGeometry(screen->geometry());
    setWindowState(Qt::WindowFullScreen);
}

void frmShowweb::mouseReleaseEvent(QMouseEvent* event)
{
    // The boxes take their own clicks; what reaches the window is a click on the background.
    if (rect().contains(event->position().toPoint()))
        accept();
}

bool frmShowweb::eventFilter(QObject* watched, QEvent* event)
{
    // A click inside a sample box does nothing: it neither closes the preview nor selects text.
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        return true;
    default:
        return QDialog::eventFilter(watched, event);
    }
}

void frmShowweb::keyPressEvent(QKeyEvent* event)
{
    // The keyboard's way out, besides the click on the background.
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        accept();
        break;
    default:
        event->ignore();
    }
}
