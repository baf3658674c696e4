#pragma once

#include "color/bascommon.h"

#include <QColor>
#include <QFontMetrics>
#include <QPoint>
#include <QString>
#include <QWidget>

#include <algorithm>
#include <cmath>

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

// The layout is measured for a narrow UI font; where the system font is wider, a caption that
// would be cut off gets a smaller font, half a point at a time down to `minimum`. Text width
// grows about linearly with the point size, so the search starts one step above that estimate
// rather than trying every size (each new size loads a font).
inline void fitFontToWidth(QWidget* widget, const QString& text, int width, qreal minimum = 6.5)
{
    QFont font = widget->font();
    const int advance = QFontMetrics(font).horizontalAdvance(text);
    if (advance > width) {
        const qreal estimate = font.pointSizeF() * width / advance;
        const int steps = std::max(1, int(std::ceil((font.pointSizeF() - estimate) / 0.5)) - 1);
        font.setPointSizeF(std::max(minimum, font.pointSizeF() - 0.5 * steps));
        while (QFontMetrics(font).horizontalAdvance(text) > width && font.pointSizeF() > minimum)
            font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    widget->setFont(font);
}
