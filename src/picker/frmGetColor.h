#pragma once

#include "color/bascommon.h"

#include <QRect>
#include <QWidget>

class FrozenDesktop;
class PaletteStore;
class QPainter;
class QScreen;
class frmshowcolor;
struct Services;

// Starts the screen picker: hides the main window, freezes the screen and shows the overlay
// and the pick-and-save window. When the user stops, main.pickerStopped() is called. When the
// screen cannot be captured, the user is told why and the main window comes back.
void startColorPicker(frmshowcolor& main, PaletteStore& store, Services& services);

// The small filled shape beside the cursor that shows the sampled color. The overlay draws it
// itself, so that following the mouse moves no widget: only its old and new place repaint.
class SampleIndicator
{
public:
    static constexpr int width = 17;
    static constexpr int height = 25;

    QRect geometry() const { return QRect(m_topLeft, QSize(width, height)); }
    QPoint pos() const { return m_topLeft; }
    bool isVisible() const { return m_visible; }
    bascommon::ColorValue color() const { return m_color; }

private:
    friend class frmGetColor;
    void paint(QPainter& painter) const;

    QPoint m_topLeft;
    bool m_visible = false;
    bascommon::ColorValue m_color = 0; // black until the first sample
};

// The frozen-screen overlay of one screen: a borderless window over the whole screen that shows
// the screen's part of the frozen desktop at one image pixel per device pixel. Moving the mouse
// samples the pixel under the cursor from the image; releasing a button reports a pick.
class frmGetColor : public QWidget
{
    Q_OBJECT
public:
    frmGetColor(const FrozenDesktop& desktop, QScreen* screen);

    QScreen* frozenScreen() const { return m_screen; }
    // The image pixel under a point of this window (logical coordinates).
    QPoint imagePixelAt(QPointF position) const;
    void hideIndicator();

    // Read-only for others: the overlay moves, colors and hides it.
    const SampleIndicator& shpshow() const { return m_shpshow; }

signals:
    void colorSampled(bascommon::ColorValue color);
    void picked();
    void stopRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPoint imageTopLeft() const;
    void placeIndicator(QPoint topLeft, bascommon::ColorValue color);

    const FrozenDesktop& m_desktop;
    QScreen* m_screen;
    QRect m_screenInImage;
    qreal m_ratio;
    SampleIndicator m_shpshow;
};

// The eyedropper cursor of the overlay: 32 x 32, black outline on white, its tip (the hot spot
// at column 11, row 20) pointing down to the left.
QCursor eyedropperCursor();
