#include "app/ColorEditor.h"

#include "color/NearestName.h"
#include "platform/FontFit.h"
#include "platform/Widgets.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

using namespace bascommon;

ComponentBox::ComponentBox(Family family, QWidget* parent) : QLineEdit(parent), m_family(family)
{
    setMaxLength(family == Family::Decimal ? 3 : 2);
    setText(family == Family::Decimal ? "255" : "FF");
    // The repair sees every change, typed, pasted or written by the program.
    connect(this, &QLineEdit::textChanged, this, &ComponentBox::repair);
}

bool ComponentBox::accepts(QChar c) const
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return true;
    return m_family == Family::Hexadecimal && ((u >= 'A' && u <= 'F') || (u >= 'a' && u <= 'f'));
}

void ComponentBox::repair()
{
    const QString current = text();
    if (current.isEmpty()) {
        setText("0");
        return;
    }
    for (const QChar c : current) {
        if (!accepts(c)) {
            setText("0");
            return;
        }
    }
    if (m_family == Family::Decimal && current.toInt() >= 256)
        setText("255");
}

void ComponentBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        emit commitRequested();
        return;
    }
    // Every character outside the family is dropped before the box sees it, control
    // characters such as Ctrl+V's included. Keys without a character (arrows, Home, Delete)
    // edit as usual.
    const QString typed = event->text();
    if (!typed.isEmpty()) {
        const QChar c = typed.front();
        const bool passes = c == u'\b' || c == QChar(0x7f) || accepts(c);
        if (!passes) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void ComponentBox::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // Opening a menu or switching to another program is not leaving the box.
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
        reason != Qt::MenuBarFocusReason)
        emit commitRequested();
}

ColorSwatch::ColorSwatch(QWidget* parent) : QLabel(parent)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setAutoFillBackground(true);
    // Reached with Tab for its pop-up menu; a click leaves the focus where it is.
    setFocusPolicy(Qt::TabFocus);
    setColor(0xFFFFFF);
}

void ColorSwatch::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    paintFocusMark(this, toQColor(m_color));
}

void ColorSwatch::setColor(ColorValue color)
{
    m_color = color;
    QPalette p = palette();
    p.setColor(QPalette::Window, toQColor(color));
    setPalette(p);
}

void ColorSwatch::mouseReleaseEvent(QMouseEvent* event)
{
    emit released(event->button(), event->globalPosition().toPoint());
}

void ColorSwatch::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
    emit doubleClicked();
}

ColorEditor::ColorEditor(QWidget* clientArea) : QWidget(clientArea)
{
    setObjectName("ColorEditor");
    setGeometry(origin.x(), origin.y(), 120, 202);

    lblcolor = makeNamed<ColorSwatch>(this, "lblcolor");
    placeAt(lblcolor, origin, 4, 27, 108, 63);
    showNearestName(0xFFFFFF);

    auto label = [this](const char* text, int left, int top, int width) {
        auto* l = new QLabel(QString::fromLatin1(text), this);
        placeAt(l, origin, left, top, width, 17);
    };
    label("RGB:", 6, 97, 36);
    label("HEX:", 6, 118, 36);
    label("DEC", 51, 137, 30);
    label("HEX", 86, 137, 30);

    txtrgb1 = makeNamed<QLineEdit>(this, "txtrgb1");
    placeAt(txtrgb1, origin, 43, 96, 69, 19);
    txtrgb1->setMaxLength(11);
    txtrgb1->setReadOnly(true);
    txtrgb1->setText("255,255,255");
    // The longest form, "255,255,255", needs the room of the whole box.
    txtrgb1->setTextMargins(-1, 0, -1, 0);
    txtrgb = makeNamed<QLineEdit>(this, "txtrgb");
    placeAt(txtrgb, origin, 43, 117, 69, 19);
    txtrgb->setMaxLength(7);
    txtrgb->setReadOnly(true);
    txtrgb->setText("#FFFFFF");

    const char* rowNames[] = {"R:", "G:", "B:"};
    const char* decNames[] = {"txtr", "txtg", "txtb"};
    const char* hexNames[] = {"txtrh", "txtgh", "txtbh"};
    std::array<ComponentBox*, 3> dec{}, hex{};
    for (int row = 0; row < 3; ++row) {
        const int top = 149 + 20 * row;
        label(rowNames[row], 26, top + 1, 16);
        dec[row] = makeNamed<ComponentBox>(this, decNames[row], ComponentBox::Family::Decimal);
        placeAt(dec[row], origin, 44, top, 33, 19);
        connect(dec[row], &ComponentBox::commitRequested, this, &ColorEditor::onDecimalCommit);
        hex[row] = makeNamed<ComponentBox>(this, hexNames[row], ComponentBox::Family::Hexadecimal);
        placeAt(hex[row], origin, 79, top, 33, 19);
        connect(hex[row], &ComponentBox::commitRequested, this, &ColorEditor::onHexCommit);
    }
    txtr = dec[0], txtg = dec[1], txtb = dec[2];
    txtrh = hex[0], txtgh = hex[1], txtbh = hex[2];
    // Tab order runs down the decimal column, then down the hexadecimal one.
    setTabOrder(txtr, txtg);
    setTabOrder(txtg, txtb);
    setTabOrder(txtb, txtrh);
    setTabOrder(txtrh, txtgh);
    setTabOrder(txtgh, txtbh);

    // The whole column shows one font size, whatever form the boxes show.
    std::vector<FittedText> column;
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        column.push_back({child});
    const QString widestHex = widestHexColor(font());
    column.push_back({txtrgb, {widestHex}});
    for (ComponentBox* box : hex)
        column.push_back({box, {widestHex.right(2)}});
    fitFontsTogether(column);
}

CurrentColorTexts ColorEditor::texts() const
{
    return {currentColor(), txtrgb->text(), txtr->text(), txtg->text(), txtb->text()};
}

void ColorEditor::showNearestName(ColorValue color)
{
    // The nearest CSS name follows the tooltip's own text on a line of its own.
    lblcolor->setToolTip("Current Color - Right-click for more features.Double-click to show "
                         "color details.\n" +
                         QString::fromStdString(NearestNameText(color)));
}

void ColorEditor::showColor(ColorValue color)
{
    lblcolor->setColor(color);
    showNearestName(color);
    txtrgb1->setText(QString::fromStdString(DecRGB(color)));
    txtrgb1->setCursorPosition(0);
    txtrgb->setText(QString::fromStdString(HexRGB(color)));
    txtr->setText(QString::number(GetRed(color)));
    txtg->setText(QString::number(GetGreen(color)));
    txtb->setText(QString::number(GetBlue(color)));
    txtrh->setText(QString::fromStdString(HexRed(color)));
    txtbh->setText(QString::fromStdString(HexBlue(color)));
    txtgh->setText(QString::fromStdString(HexGreen(color)));
}

void ColorEditor::onDecimalCommit()
{
    const ColorValue color = RGB(txtr->text().toInt(), txtg->text().toInt(), txtb->text().toInt());
    lblcolor->setColor(color);
    emit committed(lblcolor->color());
}

void ColorEditor::onHexCommit()
{
    const ColorValue color = RGB(txtrh->text().toInt(nullptr, 16), txtgh->text().toInt(nullptr, 16),
                                 txtbh->text().toInt(nullptr, 16));
    lblcolor->setColor(color);
    emit committed(lblcolor->color());
}
