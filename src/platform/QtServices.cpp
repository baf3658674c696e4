#include "platform/QtServices.h"

#include "platform/DesktopCapture.h"
#include "platform/ScreenshotPortal.h"

#include <QClipboard>
#include <QColorDialog>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTimer>
#include <QWidget>

void QtClipboard::setText(const QString& text)
{
    QGuiApplication::clipboard()->setText(text, QClipboard::Clipboard);
}

QString QtClipboard::text() const
{
    return QGuiApplication::clipboard()->text(QClipboard::Clipboard);
}

void QtClipboard::clear()
{
    QGuiApplication::clipboard()->clear(QClipboard::Clipboard);
}

namespace
{

// Windows that were under ours repaint, and a compositor fades our hidden window out, only
// after the hide has reached the window system: give them a moment before the screen is read.
constexpr int settleMilliseconds = 150;

void letScreenSettle()
{
    QEventLoop loop;
    QTimer::singleShot(settleMilliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

CaptureResult QtScreenCapture::captureDesktop()
{
    letScreenSettle();
    if (captureRoute() == CaptureRoute::Grab)
        return grabScreens();
    // A Wayland session shows no client the screen; only the desktop's portal may read it.
    // The portal may ask the user for permission first: it gets all the time the user takes.
    const PortalShot shot = takePortalScreenshot(QDBusConnection::sessionBus());
    switch (shot.outcome) {
    case PortalShot::Outcome::Taken:
        return desktopFromPortalShot(shot.image);
    case PortalShot::Outcome::Refused:
        return {std::nullopt, shot.reason};
    case PortalShot::Outcome::Failed:
        break;
    }
    return {std::nullopt,
            QObject::tr("The screen cannot be read in this Wayland session.\n\n%1\n\n"
                        "The color picker needs the desktop's screenshot portal: install "
                        "xdg-desktop-portal and the backend for your desktop, "
                        "xdg-desktop-portal-gnome (GNOME), xdg-desktop-portal-kde (KDE Plasma), "
                        "or xdg-desktop-portal-wlr together with xdg-desktop-portal-gtk and "
                        "PipeWire (sway and other wlroots desktops). Or log in to an X11 "
                        "session.")
                .arg(shot.reason)};
}

namespace
{

// The texts name palettes, schemes and files as the user wrote them: shown as plain text, so
// that "<b>" or "&amp;" in a name shows as itself.
QMessageBox::StandardButton ask(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                                const QString& text, QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, caption, text, buttons, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

bool QtQuestions::askYesNo(QWidget* parent, const QString& caption, const QString& text,
                           bool yesIsDefault)
{
    return ask(parent, QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
               yesIsDefault ? QMessageBox::Yes : QMessageBox::No) == QMessageBox::Yes;
}

void QtQuestions::showError(QWidget* parent, const QString& caption, const QString& text)
{
    ask(parent, QMessageBox::Warning, caption, text, QMessageBox::Ok, QMessageBox::Ok);
}

void QtQuestions::showMessage(QWidget* parent, const QString& caption, const QString& text)
{
    ask(parent, QMessageBox::Information, caption, text, QMessageBox::Ok, QMessageBox::Ok);
}

std::optional<QString> QtFileOpenDialog::getOpenFileName(QWidget* parent, const QString& caption,
                                                         const QString& filter)
{
    const QString name = QFileDialog::getOpenFileName(parent, caption, QString(), filter);
    if (name.isEmpty())
        return std::nullopt;
    return name;
}

std::optional<SaveFileChoice> QtFileSaveDialog::getSaveFileName(QWidget* parent,
                                                                const QString& caption,
                                                                const QString& suggestedName,
                                                                const QString& filter)
{
    QFileDialog dialog(parent, caption, suggestedName, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // A name typed without an extension takes the chosen type's, before the dialog checks
    // whether that file exists: "Design tokens (*.json *.tokens)" gives "json".
    const auto followFilter = [&dialog](const QString& entry) {
        static const QRegularExpression firstPattern(QStringLiteral(R"(\(\*\.([^ )]+))"));
        const QRegularExpressionMatch match = firstPattern.match(entry);
        dialog.setDefaultSuffix(match.hasMatch() ? match.captured(1) : QString());
    };
    followFilter(dialog.selectedNameFilter());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, followFilter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return SaveFileChoice{dialog.selectedFiles().front(), dialog.selectedNameFilter()};
}

QColor QtColorDialog::getColor(QWidget* parent, const QColor& initial)
{
    QColorDialog dialog(initial, parent);
    dialog.setOption(QColorDialog::DontUseNativeDialog, false);
    if (dialog.exec() != QDialog::Accepted)
        return initial;
    return dialog.selectedColor();
}

bool QtShellOpen::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

void QtStayOnTop::setTopMost(QWidget* window, bool onTop)
{
    const bool visible = window->isVisible();
    const QPoint position = window->pos();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    // Changing a window flag re-creates the native window, which hides it.
    if (visible) {
        window->move(position);
        window->show();
    }
}

Services QtServices::services()
{
    return Services{m_clipboard, m_capture, m_questions, m_fileSave,
                    m_color,     m_shell,   m_onTop,     m_fileOpen};
}
