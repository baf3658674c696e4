#include "palette/PaletteCell.h"
#include "platform/Widgets.h"

#include <QMouseEvent>
#include <QPainter>

namespace
{

} // namespace

PaletteCell::PaletteCell(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PaletteCell::setColor(bascommon::ColorValue color)
{
    // A page turn leaves many cells as they were; the tooltip is made once per color.
    if (color == m_color && !toolTip().isEmpty())
        return;
    m_color = color;
    setToolTip(QString::fromStdString(bascommon::HexRGB(color)) +
               " - Right-click for more features. Double-click to show color details.");
    update();
}

void PaletteCell::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), toQColor(m_color));
    painter.setPen(QColor(64, 64, 64));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    if (m_focusMark) {
        const QColor back = toQColor(m_color);
        painter.setPen(QPen(back.lightness() > 110 ? Qt::black : Qt::white, 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(2, 2, -3, -3));
    }
}

void PaletteCell::setFocusMark(bool marked)
{
    if (marked != m_focusMark) {
        m_focusMark = marked;
        update();
    }
}

void PaletteCell::mousePressEvent(QMouseEvent* event)
{
    event->accept();
}

void PaletteCell::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    emit released(event->button(), event->globalPosition().toPoint());
}

void PaletteCell::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
}

SelectionFrame::SelectionFrame(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void SelectionFrame::paintEvent(QPaintEvent*)
{
    // Two pixels wide, dark outside and light inside, so it shows on any cell color.
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setPen(Qt::white);
    painter.drawRect(rect().adjusted(1, 1, -2, -2));
}
