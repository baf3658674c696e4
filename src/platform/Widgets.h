#pragma once

#include "color/bascommon.h"

#include <QColor>
#include <QPoint>
#include <QString>
#include <QWidget>

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
