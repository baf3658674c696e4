#pragma once

#include "color/bascommon.h"

#include <QColor>
#include <QEvent>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <utility>

inline QColor toQColor(bascommon::ColorValue color)
{
    return QColor(bascommon::GetRed(color), bascommon::GetGreen(color), bascommon::GetBlue(color));
}

// Names and titles in data files are 8-bit text: UTF-8 where it is valid, else one character
// per byte, so that every byte shows as something.
inline QString from8BitText(const std::string& bytes)
{
    const QString text = QString::fromUtf8(bytes);
    return text.contains(QChar::ReplacementCharacter) ? QString::fromLatin1(bytes) : text;
}

// A menu caption marks its access key with "&": an ampersand that is part of the shown text is
// doubled so that it shows as itself.
inline QString menuCaption(const QString& text)
{
    QString caption = text;
    return caption.replace('&', "&&");
}

// Creates a child widget whose objectName is the control's name, so tests can find it.
template <typename T, typename... Args>
T* makeNamed(QWidget* parent, const char* name, Args&&... args)
{
    auto* widget = new T(std::forward<Args>(args)..., parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// Places a widget of a part whose top-left corner lies at `partOrigin` in the main window's
// client area, given the widget's rectangle in client-area coordinates.
inline void placeAt(QWidget* widget, QPoint partOrigin, int left, int top, int width, int height)
{
    widget->setGeometry(left - partOrigin.x(), top - partOrigin.y(), width, height);
}

// Runs `work` once, on the turn of the event loop after `widget` is first painted: work that
// the first sight of a window need not wait for (icons drawn by the SVG engine, say). A turn
// of the event loop alone would not do: it runs before the window system even shows the window.
inline void runAfterFirstPaint(QWidget* widget, std::function<void()> work)
{
    class FirstPaint final : public QObject
    {
    public:
        FirstPaint(QWidget* watched, std::function<void()> todo)
            : QObject(watched), m_work(std::move(todo))
        {
            watched->installEventFilter(this);
        }
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (event->type() == QEvent::Paint) {
                watched->removeEventFilter(this);
                QTimer::singleShot(0, parent(), std::move(m_work));
                deleteLater();
            }
            return false;
        }

    private:
        std::function<void()> m_work;
    };
    new FirstPaint(widget, std::move(work));
}
