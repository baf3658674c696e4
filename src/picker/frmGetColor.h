#pragma once

#include "color/bascommon.h"
#include "picker/FrozenDesktop.h"
#include "picker/Loupe.h"

#include <QRect>
#include <QWidget>

#include <optional>

class QPainter;
class QScreen;
class QSinglePointEvent;

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
// the screen's part of the frozen desktop at one image pixel per device pixel. The sampling point
// is a device pixel of the screen: the one under the pointer (exactly, also at fractional
// ratios), or one moved there by the arrow keys. The overlay samples it from the image, shows it
// in the indicator and the loupe, and reports a pick on a button release, Space or Enter.
class frmGetColor : public QWidget
{
    Q_OBJECT
public:
    frmGetColor(const FrozenDesktop& desktop, QScreen* screen, const LoupeOptions& options);

    QScreen* frozenScreen() const { return m_screen; }
    // The device pixel of the screen under a point of this window (logical, with its fraction):
    // floor(point x device pixel ratio), counted from the screen's top-left device pixel. Where
    // the desktop shows the screen at a lower ratio than the toolkit draws it, the pixel of the
    // desktop's own picture, at its scale.
    QPoint devicePixelAt(QPointF position) const;
    // The image pixel that shows a device pixel of the screen.
    QPoint imagePixelOf(QPoint device) const;
    // Samples a device pixel of the screen (held inside it), as the pointer or a key does.
    void sampleAt(QPoint device, bool fromKeys);
    // The sampling point in device pixels; none before the first sample.
    std::optional<QPoint> samplePoint() const;
    // Takes away the indicator, the loupe and the keyboard's crosshair.
    void hideIndicator();
    void setOptions(const LoupeOptions& options);

    // Read-only for others: the overlay moves, colors and hides it.
    const SampleIndicator& shpshow() const { return m_shpshow; }
    Loupe* loupe() const { return m_loupe; }

signals:
    void colorSampled(bascommon::ColorValue color);
    void picked();
    void stopRequested();
    // The wheel or a key asked for another zoom or sample size.
    void optionsChosen(const LoupeOptions& options);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    QPoint windowOffset() const;
    QPoint imageTopLeft() const;
    QPoint pointerDevicePixel(const QSinglePointEvent& event) const;
    bool pointerIsWhereKeysPutIt(QPointF global) const;
    void nudge(QPoint by);
    void addDirty(QRect& dirty, QRect area);
    void placeIndicator(QRect& dirty, QPoint topLeft, bascommon::ColorValue color);
    QRect crosshairArea() const;
    void paintCrosshair(QPainter& painter) const;

    const FrozenDesktop& m_desktop;
    QScreen* m_screen;
    FrozenDesktop::Placement m_placement;
    QRect m_deviceRect; // the screen in desktop device pixels
    qreal m_ratio;
    // Pixels per logical pixel in which sampling points count: the screen's device pixels, or
    // the picture's own where the toolkit draws the screen at a higher ratio than the desktop
    // shows it (a 1.5 output drawn at 2), so that a key moves one pixel of the screen and the
    // pointer's fraction reaches every one.
    qreal m_grid;
    QSize m_gridSize;
    LoupeOptions m_options;
    SampleIndicator m_shpshow;
    Loupe* m_loupe;
    std::optional<QPoint> m_sample;
    bool m_fromKeys = false;
    std::optional<QPointF> m_warpedTo; // where the keys last put the pointer (global, logical)
    int m_wheel = 0;                   // wheel movement not yet a whole step
};

// The eyedropper cursor of the overlay: 32 x 32, black outline on white, its tip (the hot spot
// at column 11, row 20) pointing down to the left.
QCursor eyedropperCursor();
