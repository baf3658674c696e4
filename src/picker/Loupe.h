#pragma once

#include "color/bascommon.h"

#include <QImage>
#include <QWidget>

class FrozenDesktop;

// How the picker magnifies and samples; kept between runs in the user's settings (QSettings in
// the user's configuration folder, never in the data folder).
struct LoupeOptions {
    int zoom = 8;       // device pixels per image pixel in the loupe, one of the zoom steps
    int sampleSize = 1; // the sampled square, 1, 3 or 5 pixels across

    // The options saved last; a value that is not one of the allowed ones gives its default.
    static LoupeOptions load();
    void save() const;
    // The zoom `steps` steps up (positive) or down (negative) from this one, held at 2 and 32.
    int steppedZoom(int steps) const;
    // Sample sizes 1, 3, 5 in order, `steps` away from this one and held at the ends.
    int steppedSampleSize(int steps) const;
};

// A magnified view of the frozen image around the sampling point, beside the pointer: one image
// pixel a square of `zoom` device pixels (no smoothing), grid lines between the pixels from 6x,
// the sampled area outlined, and the sampled color's #RRGGBB text and the desktop device
// coordinates of the pixel a pick reads under it. Drawn from the captured pixels alone, never
// from the overlay's resampled picture of them. The view is square and as wide as the box: it
// shows at least minSpan image pixels across, more where the text is wider than that. The whole
// view is composed, pixel by pixel, into an image kept for the current zoom, which a repaint
// copies: neither a sample nor the loupe's own drawing allocates.
class Loupe : public QWidget
{
public:
    static constexpr int minSpan = 15; // image pixels across the view at the least

    Loupe(const FrozenDesktop& desktop, qreal ratio, QWidget* overlay);

    void setOptions(const LoupeOptions& options);
    // Shows the image around `center` (an image pixel; pixels outside `within` are shown black),
    // `color` and `coordinates` as text, and moves beside `anchor` (a point of the overlay) where
    // it lies wholly on the overlay without covering `keepClear`.
    void showSample(QPoint center, QRect within, bascommon::ColorValue color, QPoint coordinates,
                    QPoint anchor, QRect keepClear);
    bascommon::ColorValue color() const { return m_color; }
    // Image pixels across (and down) the view at the current zoom: odd, at least minSpan.
    int span() const { return m_span; }
    // The desktop device pixel the label names.
    QPoint coordinates() const { return m_coordinates; }
    // Where the view lies in the loupe, in device pixels.
    QRect viewRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSize deviceSize() const;
    void resizeForOptions();
    void place(QPoint anchor, QRect keepClear);
    void compose();
    void composeView(QPoint at);
    void fill(QRect area, QRgb color);
    void drawText(QPoint at, const char* text, int length);

    const FrozenDesktop& m_desktop;
    qreal m_ratio;
    LoupeOptions m_options;
    QImage m_frame; // the whole loupe in device pixels, composed before a repaint
    bool m_composed = false;
    QImage m_glyphs; // the characters of the text, drawn once, copied cell by cell
    QSize m_glyph;   // one character cell in device pixels
    int m_span = minSpan;
    QPoint m_center; // the image pixel in the middle of the view
    QRect m_within;  // image pixels outside it show black
    bascommon::ColorValue m_color = 0;
    QPoint m_coordinates;
};
