#pragma once

#include "color/CurrentColorTexts.h"
#include "color/bascommon.h"

#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include <array>
#include <functional>

// A component box: drops characters outside its family before they arrive, repairs its text
// after every change, and commits on Enter and when the focus moves to another control.
class ComponentBox : public QLineEdit
{
    Q_OBJECT
public:
    enum class Family { Decimal, Hexadecimal };
    ComponentBox(Family family, QWidget* parent);

signals:
    void commitRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool accepts(QChar c) const;
    void repair();

    Family m_family;
};

// The swatch of the current color; reports button releases and double-clicks.
class ColorSwatch : public QLabel
{
    Q_OBJECT
public:
    explicit ColorSwatch(QWidget* parent);
    bascommon::ColorValue color() const { return m_color; }
    void setColor(bascommon::ColorValue color);

signals:
    void released(Qt::MouseButton button, QPoint globalPos);
    void doubleClicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bascommon::ColorValue m_color = 0xFFFFFF;
};

// The left column of the main window: the preview, the two read-only forms and the six
// component boxes.
class ColorEditor : public QWidget
{
    Q_OBJECT
public:
    static constexpr QPoint origin{0, 24};

    explicit ColorEditor(QWidget* clientArea);

    bascommon::ColorValue currentColor() const { return lblcolor->color(); }
    CurrentColorTexts texts() const;
    // Shows a new current color in the preview and all eight boxes.
    void showColor(bascommon::ColorValue color);

    ColorSwatch* lblcolor;
    QLineEdit* txtrgb1;
    QLineEdit* txtrgb;
    ComponentBox *txtr, *txtg, *txtb;
    ComponentBox *txtrh, *txtgh, *txtbh;

signals:
    // A commit of either family: the composed color, already set as the preview color.
    void committed(bascommon::ColorValue color);

private:
    // The tooltip of the preview: its own text and the color's nearest CSS name.
    void showNearestName(bascommon::ColorValue color);
    void onDecimalCommit();
    void onHexCommit();
};
