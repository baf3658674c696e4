#pragma once

#include "color/bascommon.h"

#include <QColor>
#include <QContextMenuEvent>
#include <QEvent>
#include <QKeyEvent>
#include <QObject>
#include <QPainter>
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

// The keyboard's way to a pop-up menu that a right click opens: the Menu key, Shift+F10, or the
// window system asking for the context menu from the keyboard, on `widget` while it has the
// focus, run `open` (which shows the menu at the widget).
inline void openPopupByKeyboard(QWidget* widget, std::function<void()> open)
{
    class KeyboardPopup final : public QObject
    {
    public:
        KeyboardPopup(QWidget* watched, std::function<void()> todo)
            : QObject(watched), m_open(std::move(todo))
        {
            watched->installEventFilter(this);
        }
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::KeyPress) {
                const auto* key = static_cast<QKeyEvent*>(event);
                const auto modifiers = key->modifiers() & ~Qt::KeypadModifier;
                if ((key->key() == Qt::Key_Menu && modifiers == Qt::NoModifier) ||
                    (key->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier)) {
                    m_open();
                    return true;
                }
            } else if (event->type() == QEvent::ContextMenu &&
                       static_cast<QContextMenuEvent*>(event)->reason() ==
                           QContextMenuEvent::Keyboard) {
                m_open();
                return true;
            }
            return false;
        }

    private:
        std::function<void()> m_open;
    };
    new KeyboardPopup(widget, std::move(open));
}

// The point at the middle of a widget, in global coordinates: where a menu opened from the
// keyboard shows.
inline QPoint globalCenterOf(const QWidget* widget)
{
    return widget->mapToGlobal(widget->rect().center());
}

// The keyboard focus on a widget that shows a color and nothing to type in: a dotted rectangle
// just inside its edge, black or white, whichever shows on `back`.
inline void paintFocusMark(QWidget* widget, const QColor& back)
{
    if (!widget->hasFocus())
        return;
    QPainter painter(widget);
    painter.setPen(QPen(back.lightness() > 110 ? Qt::black : Qt::white, 1, Qt::DotLine));
    painter.drawRect(widget->rect().adjusted(2, 2, -3, -3));
}
