#include "platform/FontFit.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOption>
#include <QTextLayout>

#include <algorithm>
#include <limits>
#include <optional>

namespace
{

// Where a widget draws its line of text, and how it places the line there.
struct Room {
    QRect rect;
    Qt::Alignment alignment;
    bool wraps = false;
};

std::optional<Room> roomOf(const QWidget* widget)
{
    const QStyle* style = widget->style();
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        const int m = label->margin();
        return Room{label->contentsRect().adjusted(m, m, -m, -m), label->alignment(),
                    label->wordWrap()};
    }
    if (const auto* button = qobject_cast<const QPushButton*>(widget)) {
        QStyleOptionButton option;
        option.initFrom(button);
        return Room{style->subElementRect(QStyle::SE_PushButtonContents, &option, button),
                    Qt::AlignCenter};
    }
    const bool radio = qobject_cast<const QRadioButton*>(widget) != nullptr;
    if (radio || qobject_cast<const QCheckBox*>(widget)) {
        QStyleOptionButton option;
        option.initFrom(widget);
        const auto element = radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents;
        return Room{style->subElementRect(element, &option, widget),
                    Qt::AlignLeft | Qt::AlignVCenter};
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) {
        // A line edit keeps two pixels beside its text inside the frame.
        const int frame = edit->hasFrame() ? style->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
        const QMargins margins = edit->textMargins() + QMargins(2 + frame, frame, 2 + frame, frame);
        return Room{edit->rect() - margins, edit->alignment()};
    }
    return std::nullopt;
}

bool lineFits(const QFontMetrics& fm, const Room& room, const QString& text)
{
    if (room.wraps) {
        const QRect needed =
            fm.boundingRect(room.rect, int(room.alignment) | Qt::TextWordWrap, text);
        return room.rect.contains(needed);
    }
    // The line stands in the room by the alignment; all of its ink must lie inside.
    const QRect line = QStyle::alignedRect(
        Qt::LeftToRight, room.alignment, QSize(fm.horizontalAdvance(text), fm.height()), room.rect);
    if (line.left() < room.rect.left() || line.right() > room.rect.right())
        return false;
    // Ink stays within a pixel or two of its line: with that much room above and below the
    // line, it fits without measuring every glyph.
    if (line.top() - room.rect.top() >= 2 && room.rect.bottom() - line.bottom() >= 2)
        return true;
    const QRect ink = fm.tightBoundingRect(text).translated(line.left(), line.top() + fm.ascent());
    return ink.top() >= room.rect.top() && ink.bottom() <= room.rect.bottom();
}

bool titleFits(const QGroupBox* group, const QFont& font, const QString& title)
{
    QStyleOptionGroupBox option;
    option.initFrom(group);
    option.fontMetrics = QFontMetrics(font);
    option.text = title;
    option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    const QRect label = group->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                       QStyle::SC_GroupBoxLabel, group);
    return group->rect().contains(label);
}

// The whole text wrapped at the box's width, as the box lays it out, without a scroll bar.
bool codeFits(const QPlainTextEdit* code, const QFont& font, const QString& text)
{
    const QFontMetricsF fm(font);
    const qreal margin = code->document()->documentMargin();
    const QRect viewport = code->contentsRect();
    const qreal width = viewport.width() - 2 * margin;
    QTextOption option;
    option.setWrapMode(code->wordWrapMode());
    qreal height = 2 * margin;
    for (const QString& paragraph : text.split('\n')) {
        QTextLayout layout(paragraph, font);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            if (line.naturalTextWidth() > width)
                return false;
            height += fm.lineSpacing();
        }
        layout.endLayout();
    }
    return height <= viewport.height();
}

QFont scaled(QFont font, qreal scale)
{
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * scale);
    else
        font.setPixelSize(std::max(1, qRound(font.pixelSize() * scale)));
    return font;
}

QStringList textsOf(const FittedText& member)
{
    QStringList texts = member.laterTexts;
    if (const QString shown = shownText(member.widget); !shown.isEmpty())
        texts.prepend(shown);
    return texts;
}

bool groupFits(const std::vector<FittedText>& group, qreal scale)
{
    return std::all_of(group.begin(), group.end(), [scale](const FittedText& member) {
        const QFont font = scaled(member.widget->font(), scale);
        const QStringList texts = textsOf(member);
        return std::all_of(texts.begin(), texts.end(), [&](const QString& text) {
            return textFits(member.widget, font, text);
        });
    });
}

// Width grows about linearly with the font size, so the room of the widest one-line text
// gives a first guess of the scale.
qreal estimatedScale(const std::vector<FittedText>& group)
{
    qreal scale = 1.0;
    for (const FittedText& member : group) {
        const auto room = roomOf(member.widget);
        if (!room || room->wraps)
            continue;
        const QFontMetrics fm(member.widget->font());
        for (const QString& text : textsOf(member))
            if (const int advance = fm.horizontalAdvance(text); advance > room->rect.width())
                scale = std::min(scale, qreal(room->rect.width()) / advance);
    }
    return scale;
}

} // namespace

// A button's "&" marks its access key, "&&" is an ampersand.
QString shownText(const QWidget* widget)
{
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget))
        return edit->text();
    if (const auto* code = qobject_cast<const QPlainTextEdit*>(widget))
        return code->toPlainText();
    if (const auto* group = qobject_cast<const QGroupBox*>(widget))
        return group->title();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        QString text = button->text();
        return text.replace("&&", QString(QChar(0))).remove('&').replace(QChar(0), '&');
    }
    return {};
}

bool textFits(const QWidget* widget, const QFont& font, const QString& text)
{
    if (text.isEmpty())
        return true;
    if (const auto* group = qobject_cast<const QGroupBox*>(widget))
        return titleFits(group, font, text);
    if (const auto* code = qobject_cast<const QPlainTextEdit*>(widget))
        return codeFits(code, font, text);
    const auto room = roomOf(widget);
    return !room || lineFits(QFontMetrics(font), *room, text);
}

void fitFontsTogether(const std::vector<FittedText>& group)
{
    if (groupFits(group, 1.0))
        return;
    // Below this no text is readable anyway.
    constexpr qreal smallest = 0.4;
    constexpr qreal step = 0.03;
    qreal scale = std::min(1.0, estimatedScale(group) + step);
    while (scale > smallest && !groupFits(group, scale))
        scale -= step;
    // All new fonts first: a widget may stand in the group twice.
    std::vector<QFont> fonts;
    for (const FittedText& member : group)
        fonts.push_back(scaled(member.widget->font(), std::max(scale, smallest)));
    for (std::size_t i = 0; i < group.size(); ++i)
        group[i].widget->setFont(fonts[i]);
}

QString widestHexColor(const QFont& font)
{
    const QFontMetrics fm(font);
    QChar widest = '0';
    for (const QChar digit : QStringLiteral("0123456789ABCDEF"))
        if (fm.horizontalAdvance(digit) > fm.horizontalAdvance(widest))
            widest = digit;
    return '#' + QString(6, widest);
}
