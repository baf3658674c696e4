#pragma once

#include "platform/Services.h"

#include <QStringList>

#include <deque>
#include <vector>

class FakeClipboard final : public Clipboard
{
public:
    void setText(const QString& text) override { m_text = text; }
    QString text() const override { return m_text; }
    void clear() override { m_text.clear(); }

private:
    QString m_text;
};

class FakeScreenCapture final : public ScreenCapture
{
public:
    CaptureResult captureDesktop() override
    {
        ++captures;
        return result;
    }
    CaptureResult result;
    int captures = 0;
};

// Answers questions from a script (Yes when the script is empty) and records what was asked.
class FakeQuestions final : public Questions
{
public:
    bool askYesNo(QWidget*, const QString& caption, const QString& text, bool yesIsDefault) override
    {
        asked.push_back({caption, text, yesIsDefault});
        if (answers.empty())
            return true;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void showError(QWidget*, const QString& caption, const QString& text) override
    {
        errors.push_back({caption, text, false});
    }
    void showMessage(QWidget*, const QString& caption, const QString& text) override
    {
        messages.push_back({caption, text, false});
    }

    struct Asked {
        QString caption, text;
        bool yesIsDefault;
    };
    std::deque<bool> answers;
    std::vector<Asked> asked;
    std::vector<Asked> errors;
    std::vector<Asked> messages;
};

class FakeFileSaveDialog final : public FileSaveDialog
{
public:
    std::optional<SaveFileChoice> getSaveFileName(QWidget*, const QString&,
                                                  const QString& suggestedName,
                                                  const QString& filter) override
    {
        lastSuggestedName = suggestedName;
        lastFilter = filter;
        if (!answer)
            return std::nullopt;
        return SaveFileChoice{*answer, chosenFilter};
    }
    std::optional<QString> answer;
    QString chosenFilter; // the filter entry the user picked; "" for the dialog's first
    QString lastSuggestedName, lastFilter;
};

class FakeFileOpenDialog final : public FileOpenDialog
{
public:
    std::optional<QString> getOpenFileName(QWidget*, const QString&, const QString&) override
    {
        return answer;
    }
    std::optional<QString> answer;
};

// Returns `answer` when set, else the initial color as a cancelled dialog does.
class FakeColorDialog final : public ColorDialog
{
public:
    QColor getColor(QWidget*, const QColor& initial) override
    {
        lastInitial = initial;
        return answer.value_or(initial);
    }
    std::optional<QColor> answer;
    QColor lastInitial;
};

class FakeShellOpen final : public ShellOpen
{
public:
    bool openUrl(const QUrl& url) override
    {
        opened.push_back(url);
        return opens;
    }
    std::vector<QUrl> opened;
    bool opens = true; // false: as if no browser or e-mail program were installed
};

class FakeStayOnTop final : public StayOnTop
{
public:
    void setTopMost(QWidget* window, bool onTop) override { calls.push_back({window, onTop}); }
    struct Call {
        QWidget* window;
        bool onTop;
    };
    std::vector<Call> calls;
};

struct FakeServices {
    FakeClipboard clipboard;
    FakeScreenCapture screenCapture;
    FakeQuestions questions;
    FakeFileSaveDialog fileSaveDialog;
    FakeColorDialog colorDialog;
    FakeShellOpen shellOpen;
    FakeStayOnTop stayOnTop;
    FakeFileOpenDialog fileOpenDialog;

    Services services(Questions* realQuestions = nullptr)
    {
        return Services{clipboard,      screenCapture, realQuestions ? *realQuestions : questions,
                        fileSaveDialog, colorDialog,   shellOpen,
                        stayOnTop,      fileOpenDialog};
    }
};
