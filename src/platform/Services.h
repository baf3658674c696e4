#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QString>
#include <QUrl>

#include <optional>

class QWidget;

// The operating-system services the windows use, each behind a small interface so that tests
// can stand in for them (tests/gui/fakes). main() wires the Qt implementations.

class Clipboard
{
public:
    virtual ~Clipboard() = default;
    virtual void setText(const QString& text) = 0; // replaces the whole content, plain text
    virtual QString text() const = 0;
    virtual void clear() = 0;
};

// The whole desktop frozen into one image. With `layoutScale` 0 the image holds every screen in
// device pixels at its device rectangle (screenDeviceRect), `origin` being the device position of
// the image's top-left pixel. A picture of the logical layout instead (as a screenshot portal
// delivers it) has `layoutScale` image pixels per logical pixel and `origin` the logical position
// of its top-left pixel.
struct DesktopImage {
    QImage image;
    QPoint origin;
    qreal layoutScale = 0;
};

struct CaptureResult {
    std::optional<DesktopImage> desktop; // set on success
    QString error;                       // why the screen could not be captured otherwise
};

class ScreenCapture
{
public:
    virtual ~ScreenCapture() = default;
    virtual CaptureResult captureDesktop() = 0;
};

class Questions
{
public:
    virtual ~Questions() = default;
    // A Yes/No question with the question icon; true only for Yes.
    virtual bool askYesNo(QWidget* parent, const QString& caption, const QString& text,
                          bool yesIsDefault) = 0;
    // A failure the user must know of (a file that could not be written, ...).
    virtual void showError(QWidget* parent, const QString& caption, const QString& text) = 0;
    // News the user should read, with the information icon (what an import took in).
    virtual void showMessage(QWidget* parent, const QString& caption, const QString& text) = 0;
};

// The path chosen in a save dialog, and the entry of its filter chosen with it ("GIMP palette
// (*.gpl)").
struct SaveFileChoice {
    QString name;
    QString filter;
};

class FileSaveDialog
{
public:
    virtual ~FileSaveDialog() = default;
    // The chosen path, or nothing when cancelled. A name typed without an extension gets the one
    // of the chosen filter entry; the dialog itself asks before replacing.
    virtual std::optional<SaveFileChoice> getSaveFileName(QWidget* parent, const QString& caption,
                                                          const QString& suggestedName,
                                                          const QString& filter) = 0;
};

class FileOpenDialog
{
public:
    virtual ~FileOpenDialog() = default;
    // The chosen existing file, or nothing when cancelled.
    virtual std::optional<QString> getOpenFileName(QWidget* parent, const QString& caption,
                                                   const QString& filter) = 0;
};

class ColorDialog
{
public:
    virtual ~ColorDialog() = default;
    // The chosen color; on cancel, `initial` itself.
    virtual QColor getColor(QWidget* parent, const QColor& initial) = 0;
};

class ShellOpen
{
public:
    virtual ~ShellOpen() = default;
    // False when no program could be started to show it (no browser, no e-mail program).
    virtual bool openUrl(const QUrl& url) = 0;
};

class StayOnTop
{
public:
    virtual ~StayOnTop() = default;
    virtual void setTopMost(QWidget* window, bool onTop) = 0;
};

// The set of services handed to the windows.
struct Services {
    Clipboard& clipboard;
    ScreenCapture& screenCapture;
    Questions& questions;
    FileSaveDialog& fileSaveDialog;
    ColorDialog& colorDialog;
    ShellOpen& shellOpen;
    StayOnTop& stayOnTop;
    FileOpenDialog& fileOpenDialog;
};
