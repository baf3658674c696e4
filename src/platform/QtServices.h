#pragma once

#include "platform/Services.h"

// The real services, backed by Qt.

class QtClipboard final : public Clipboard
{
public:
    void setText(const QString& text) override;
    QString text() const override;
    void clear() override;
};

class QtScreenCapture final : public ScreenCapture
{
public:
    CaptureResult captureDesktop() override;
};

class QtQuestions final : public Questions
{
public:
    bool askYesNo(QWidget* parent, const QString& caption, const QString& text,
                  bool yesIsDefault) override;
    void showError(QWidget* parent, const QString& caption, const QString& text) override;
    void showMessage(QWidget* parent, const QString& caption, const QString& text) override;
};

class QtFileSaveDialog final : public FileSaveDialog
{
public:
    std::optional<SaveFileChoice> getSaveFileName(QWidget* parent, const QString& caption,
                                                  const QString& suggestedName,
                                                  const QString& filter) override;
};

class QtFileOpenDialog final : public FileOpenDialog
{
public:
    std::optional<QString> getOpenFileName(QWidget* parent, const QString& caption,
                                           const QString& filter) override;
};

class QtColorDialog final : public ColorDialog
{
public:
    QColor getColor(QWidget* parent, const QColor& initial) override;
};

class QtShellOpen final : public ShellOpen
{
public:
    bool openUrl(const QUrl& url) override;
};

class QtStayOnTop final : public StayOnTop
{
public:
    void setTopMost(QWidget* window, bool onTop) override;
};

// Owns one of each Qt service and hands them out as a Services bundle.
class QtServices
{
public:
    Services services();

private:
    QtClipboard m_clipboard;
    QtScreenCapture m_capture;
    QtQuestions m_questions;
    QtFileSaveDialog m_fileSave;
    QtColorDialog m_color;
    QtShellOpen m_shell;
    QtStayOnTop m_onTop;
    QtFileOpenDialog m_fileOpen;
};
