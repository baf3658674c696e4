#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

#include <vector>

class QWidget;

// A widget whose font is fitted, with the texts it may show later besides its current one.
struct FittedText {
    QWidget* widget;
    QStringList laterTexts = {};
};

// The windows place their widgets in pixels, measured for a narrow UI font at 96 dots per inch;
// a wider font or a higher font resolution would cut texts off. This gives every widget of the
// group the same fraction of its own font size: the largest, down from the whole size, at which
// every text shows whole. Widgets that look alike therefore keep one size, and a heading stays
// larger than the lines beside it. Labels (one line or word-wrapped), buttons, radio buttons,
// check boxes, line edits, group box titles and plain-text boxes (whole text without scrolling,
// wrapped at the box's width) are measured; other widgets keep their font.
void fitFontsTogether(const std::vector<FittedText>& group);

// True when `text` shows whole in `widget` drawn with `font`.
bool textFits(const QWidget* widget, const QFont& font, const QString& text);

// The text a widget shows, as drawn: a button's access-key marks removed.
QString shownText(const QWidget* widget);

// The #RRGGBB text that is widest in `font`, for fitting a widget that may show any color.
QString widestHexColor(const QFont& font);
