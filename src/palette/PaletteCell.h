#pragma once

#include "color/bascommon.h"

#include <QWidget>

// One color cell of the palette grid: a 1-pixel dark border around its color. Neighbouring
// cells overlap by one pixel, so they share their borders.
class PaletteCell : public QWidget
{
    Q_OBJECT
public:
    explicit PaletteCell(QWidget* parent = nullptr);

    bascommon::ColorValue color() const { return m_color; }
    // Sets the background color and the tooltip that names it.
    void setColor(bascommon::ColorValue color);
    // Marks the cell the grid's keyboard focus is on.
    void setFocusMark(bool marked);

signals:
    // A mouse button pressed on this cell was released (anywhere: the press grabs the mouse).
    void released(Qt::MouseButton button, QPoint globalPos);
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bascommon::ColorValue m_color = 0xFFFFFF;
    bool m_focusMark = false;
};

// The selection frame: a 2-pixel outline drawn around the selected cell. Clicks pass through.
class SelectionFrame : public QWidget
{
    Q_OBJECT
public:
    explicit SelectionFrame(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
