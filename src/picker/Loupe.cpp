#include "picker/Loupe.h"

#include "picker/FrozenDesktop.h"
#include "picker/PaintBands.h"

#include <QPaintEvent>
#include <QPainter>
#include <QSettings>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>

using namespace bascommon;

namespace
{

constexpr std::array zoomSteps{2, 3, 4, 6, 8, 12, 16, 24, 32};
constexpr std::array sampleSizes{1, 3, 5};
constexpr int gridFromZoom = 6;
constexpr int gap = 12;         // logical pixels between the sampling point and the loupe
constexpr int settle = 6;       // how far the loupe may lag behind before it follows
constexpr int textColumns = 14; // "-12345, -12345"
constexpr char glyphChars[] = "0123456789ABCDEF#-, ";
const QColor background(0x20, 0x20, 0x20);
constexpr unsigned gridAlpha = 80; // the grid's black, laid over the pixels at this opacity

template <std::size_t N> int stepped(const std::array<int, N>& steps, int value, int by)
{
    const auto at = std::find(steps.begin(), steps.end(), value);
    const int index = int(at == steps.end() ? 0 : at - steps.begin()) + by;
    return steps[std::size_t(std::clamp(index, 0, int(N) - 1))];
}

QSettings userSettings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "huebench", "huebench");
}

// Black on light colors, white on dark ones, so the outline stands out against the sample.
QColor contrasting(ColorValue color)
{
    const int luma = 299 * GetRed(color) + 587 * GetGreen(color) + 114 * GetBlue(color);
    return luma >= 128000 ? Qt::black : Qt::white;
}

// A pixel under a grid line: black at gridAlpha over it, rounded as Qt's painter blends.
QRgb underGrid(QRgb pixel)
{
    constexpr unsigned keep = 255 - gridAlpha;
    unsigned redBlue = (pixel & 0xFF00FFu) * keep;
    redBlue = ((redBlue + ((redBlue >> 8) & 0xFF00FFu) + 0x800080u) >> 8) & 0xFF00FFu;
    unsigned green = ((pixel >> 8) & 0xFFu) * keep;
    green = ((green + (green >> 8) + 0x80u) >> 8) & 0xFFu;
    return 0xFF000000u | redBlue | (green << 8);
}

} // namespace

LoupeOptions LoupeOptions::load()
{
    const QSettings settings = userSettings();
    LoupeOptions options;
    const int zoom = settings.value("picker/zoom", options.zoom).toInt();
    const int size = settings.value("picker/sampleSize", options.sampleSize).toInt();
    if (std::find(zoomSteps.begin(), zoomSteps.end(), zoom) != zoomSteps.end())
        options.zoom = zoom;
    if (std::find(sampleSizes.begin(), sampleSizes.end(), size) != sampleSizes.end())
        options.sampleSize = size;
    return options;
}

void LoupeOptions::save() const
{
    QSettings settings = userSettings();
    settings.setValue("picker/zoom", zoom);
    settings.setValue("picker/sampleSize", sampleSize);
}

int LoupeOptions::steppedZoom(int steps) const
{
    return stepped(zoomSteps, zoom, steps);
}

int LoupeOptions::steppedSampleSize(int steps) const
{
    return stepped(sampleSizes, sampleSize, steps);
}

Loupe::Loupe(const FrozenDesktop& desktop, qreal ratio, QWidget* overlay)
    : QWidget(overlay), m_desktop(desktop), m_ratio(ratio)
{
    setObjectName("loupe");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_TransparentForMouseEvents);

    // The text changes on every movement: its characters are drawn once, at the screen's own
    // resolution, and copied from here, which neither shapes text nor allocates.
    QFont font("monospace");
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(std::max(8, int(std::lrint(11 * ratio))));
    const QFontMetrics metrics(font);
    const int count = int(std::strlen(glyphChars));
    int width = 1;
    for (int i = 0; i < count; ++i)
        width = std::max(width, metrics.horizontalAdvance(QLatin1Char(glyphChars[i])));
    m_glyph = QSize(width, metrics.height());
    m_glyphs = QImage(width * count, m_glyph.height(), QImage::Format_RGB32);
    m_glyphs.fill(background);
    QPainter painter(&m_glyphs);
    painter.setFont(font);
    painter.setPen(Qt::white);
    for (int i = 0; i < count; ++i)
        painter.drawText(QRect(QPoint(i * width, 0), m_glyph), Qt::AlignCenter,
                         QString(QLatin1Char(glyphChars[i])));
    painter.end();
    resizeForOptions();
    hide();
}

void Loupe::setOptions(const LoupeOptions& options)
{
    m_options = options;
    resizeForOptions();
    m_composed = false;
    update();
}

QSize Loupe::deviceSize() const
{
    const int view = m_span * m_options.zoom;
    return QSize(view + 2, view + 2 * m_glyph.height() + 8);
}

QRect Loupe::viewRect() const
{
    const int view = m_span * m_options.zoom;
    return QRect(1, 1, view, view);
}

void Loupe::resizeForOptions()
{
    // Enough odd columns that the magnified pixels span the text beneath them: a box wider
    // than its view would show dark bars beside it.
    const int zoom = m_options.zoom;
    const int text = textColumns * m_glyph.width() + 6;
    m_span = std::max(minSpan, (text + zoom - 1) / zoom);
    m_span += 1 - m_span % 2;
    const QSize device = deviceSize();
    resize(int(std::ceil(device.width() / m_ratio)), int(std::ceil(device.height() / m_ratio)));
    // A little larger than the view, so that it also covers the widget's last device pixels.
    const QSize frame = device + QSize(4, 4);
    if (m_frame.size() != frame)
        m_frame = QImage(frame, QImage::Format_RGB32);
    m_composed = false;
}

void Loupe::showSample(QPoint center, QRect within, ColorValue color, QPoint coordinates,
                       QPoint anchor, QRect keepClear)
{
    m_color = color;
    m_coordinates = coordinates;
    m_center = center;
    m_within = within;
    m_composed = false;
    place(anchor, keepClear);
    if (isHidden())
        show();
    update();
}

void Loupe::place(QPoint anchor, QRect keepClear)
{
    const QSize size = this->size();
    const QRect bounds = parentWidget()->rect();
    const int right = anchor.x() + gap, left = anchor.x() - gap - size.width();
    const int below = anchor.y() + gap, above = anchor.y() - gap - size.height();
    // Below right first; then to the other side of an edge, and above the indicator when the
    // loupe must go above on its side. A loupe too tall for above or below goes beside the
    // point, level with it, past the indicator on the right.
    const int level =
        std::clamp(anchor.y() - size.height() / 2, 0, std::max(0, bounds.height() - size.height()));
    const std::array candidates{
        QPoint(right, below), QPoint(left, below),
        QPoint(left, above),  QPoint(right, std::min(above, keepClear.top() - gap - size.height())),
        QPoint(left, level),  QPoint(std::max(right, keepClear.right() + gap), level)};
    QPoint chosen = candidates.front();
    for (const QPoint& at : candidates) {
        const QRect rect(at, size);
        if (bounds.contains(rect) && !rect.intersects(keepClear)) {
            chosen = at;
            break;
        }
    }
    chosen.setX(std::clamp(chosen.x(), 0, std::max(0, bounds.width() - size.width())));
    chosen.setY(std::clamp(chosen.y(), 0, std::max(0, bounds.height() - size.height())));
    // At a fractional ratio, a corner on a whole device pixel keeps every magnified pixel square.
    const auto whole = [this](int at) {
        for (int shift = 0; shift < 4; ++shift) {
            const qreal device = (at - shift) * m_ratio;
            if (device == std::floor(device))
                return at - shift;
        }
        return at;
    };
    chosen = QPoint(whole(chosen.x()), whole(chosen.y()));
    // Small movements leave the loupe where it is while it still keeps clear of the point and
    // the indicator: moving it uncovers overlay that must repaint.
    const QRect current = geometry();
    const QPoint drift = chosen - current.topLeft();
    if (isVisible() && std::abs(drift.x()) <= settle && std::abs(drift.y()) <= settle &&
        bounds.contains(current) && !current.intersects(keepClear))
        return;
    if (pos() != chosen)
        move(chosen);
}

void Loupe::fill(QRect area, QRgb color)
{
    area &= m_frame.rect();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(m_frame.scanLine(y));
        std::fill(line + area.left(), line + area.right() + 1, color);
    }
}

void Loupe::drawText(QPoint at, const char* text, int length)
{
    const QRect frame = m_frame.rect();
    for (int i = 0; i < length; ++i) {
        const char* found = std::strchr(glyphChars, text[i]);
        if (!found || !*found)
            continue;
        const int index = int(found - glyphChars);
        const QRect cell = QRect(at + QPoint(i * m_glyph.width(), 0), m_glyph) & frame;
        const int from = index * m_glyph.width() + cell.left() - (at.x() + i * m_glyph.width());
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            std::memcpy(reinterpret_cast<QRgb*>(m_frame.scanLine(y)) + cell.left(),
                        reinterpret_cast<const QRgb*>(m_glyphs.constScanLine(y - at.y())) + from,
                        std::size_t(cell.width()) * sizeof(QRgb));
    }
}

// The span x span image pixels around the sampling point, each a square of zoom x zoom device
// pixels, the grid darkening the first row and column of every square but the first.
void Loupe::composeView(QPoint at)
{
    const QImage& image = m_desktop.image();
    const int zoom = m_options.zoom;
    const bool grid = zoom >= gridFromZoom;
    const int span = m_span;
    const QPoint corner = m_center - QPoint(span / 2, span / 2);
    const QRect shown =
        QRect(corner, QSize(span, span)).intersected(m_within).intersected(image.rect());
    const std::size_t rowBytes = std::size_t(span * zoom) * sizeof(QRgb);
    for (int row = 0; row < span; ++row) {
        const int y = corner.y() + row;
        const auto* from = y >= shown.top() && y <= shown.bottom()
                               ? reinterpret_cast<const QRgb*>(image.constScanLine(y))
                               : nullptr;
        auto* first = reinterpret_cast<QRgb*>(m_frame.scanLine(at.y() + row * zoom)) + at.x();
        for (int column = 0; column < span; ++column) {
            const int x = corner.x() + column;
            const QRgb pixel = from && x >= shown.left() && x <= shown.right()
                                   ? from[x] | 0xFF000000u
                                   : 0xFF000000u;
            QRgb* square = first + column * zoom;
            std::fill(square, square + zoom, pixel);
            if (grid && column > 0)
                square[0] = underGrid(pixel);
        }
        for (int i = 1; i < zoom; ++i)
            std::memcpy(reinterpret_cast<QRgb*>(m_frame.scanLine(at.y() + row * zoom + i)) + at.x(),
                        first, rowBytes);
        if (grid && row > 0)
            for (int i = 0; i < span * zoom; ++i)
                first[i] = underGrid(first[i]);
    }
}

void Loupe::compose()
{
    const int zoom = m_options.zoom, span = m_span;
    const int view = span * zoom;
    const QPoint viewAt = viewRect().topLeft();
    const QRgb back = background.rgb();
    const int width = m_frame.width(), below = viewAt.y() + view;
    fill(QRect(0, 0, width, viewAt.y()), back);
    fill(QRect(0, viewAt.y(), viewAt.x(), view), back);
    fill(QRect(viewAt.x() + view, viewAt.y(), width - viewAt.x() - view, view), back);
    fill(QRect(0, below, width, m_frame.height() - below), back);
    composeView(viewAt);

    // The sampled area, outlined just outside its pixels, two device pixels wide.
    const int size = m_options.sampleSize;
    const QRect area(viewAt + QPoint(span / 2 - size / 2, span / 2 - size / 2) * zoom,
                     QSize(size * zoom, size * zoom));
    const QRgb outline = contrasting(m_color).rgb();
    const QRect outer = area.adjusted(-2, -2, 2, 2);
    fill(QRect(outer.topLeft(), QSize(outer.width(), 2)), outline);
    fill(QRect(outer.left(), area.bottom() + 1, outer.width(), 2), outline);
    fill(QRect(outer.left(), area.top(), 2, area.height()), outline);
    fill(QRect(area.right() + 1, area.top(), 2, area.height()), outline);

    char line[32];
    const int textTop = view + 5;
    const int hex = std::snprintf(line, sizeof line, "#%02X%02X%02X", GetRed(m_color),
                                  GetGreen(m_color), GetBlue(m_color));
    drawText(QPoint(4, textTop), line, std::clamp(hex, 0, int(sizeof line) - 1));
    const int length =
        std::snprintf(line, sizeof line, "%d, %d", m_coordinates.x(), m_coordinates.y());
    drawText(QPoint(4, textTop + m_glyph.height()), line,
             std::clamp(length, 0, int(sizeof line) - 1));
    m_composed = true;
}

void Loupe::paintEvent(QPaintEvent* event)
{
    if (!m_composed)
        compose();
    QPainter painter(this);
    // Drawn in device pixels, so that every image pixel is exactly zoom x zoom of them.
    painter.scale(1 / m_ratio, 1 / m_ratio);
    for (const QRect& area : event->region()) {
        const QRect device =
            QRectF(QPointF(area.topLeft()) * m_ratio, QSizeF(area.size()) * m_ratio)
                .toAlignedRect()
                .intersected(m_frame.rect());
        forEachBand(device, paintBandRows,
                    [&](QRect band) { painter.drawImage(band.topLeft(), m_frame, band); });
    }
}
