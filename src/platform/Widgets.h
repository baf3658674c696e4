#pragma once

#include <QFontMetrics>
#include <QPoint>
#include <QWidget>

#include <algorithm>
#include <cmath>

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
