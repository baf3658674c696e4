#include "picker/Loupe.h"

#include "picker/FrozenDesktop.h"

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
const QColor gridLine(0, 0, 0, 80);

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
    : QWidget(overlay), m_desktop(desktop), m_ratio(ratio),
      m_patch(span, span, QImage::Format_RGB32)
{
    setObjectName("loupe");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    m_patch.fill(Qt::black);

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
    update();
}

QSize Loupe::deviceSize() const
{
    const int view = span * m_options.zoom;
    const int text = textColumns * m_glyph.width() + 8;
    return QSize(std::max(view, text) + 2, view + 2 * m_glyph.height() + 8);
}

void Loupe::resizeForOptions()
{
    const QSize device = deviceSize();
    resize(int(std::ceil(device.width() / m_ratio)), int(std::ceil(device.height() / m_ratio)));
}

void Loupe::showSample(QPoint center, QRect within, ColorValue color, QPoint coordinates,
                       QPoint anchor, QRect keepClear)
{
    m_color = color;
    m_coordinates = coordinates;
    const QImage& image = m_desktop.image();
    const QPoint corner = center - QPoint(span / 2, span / 2);
    const QRect shown =
        QRect(corner, QSize(span, span)).intersected(within).intersected(image.rect());
    m_patch.fill(Qt::black);
    for (int y = shown.top(); y <= shown.bottom(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(m_patch.scanLine(y - corner.y()));
        for (int x = shown.left(); x <= shown.right(); ++x)
            to[x - corner.x()] = from[x] | 0xFF000000u;
    }
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

int Loupe::drawText(QPainter& painter, QPoint at, const char* text, int length) const
{
    for (int i = 0; i < length; ++i) {
        const char* found = std::strchr(glyphChars, text[i]);
        if (!found || !*found)
            continue;
        const int index = int(found - glyphChars);
        painter.drawImage(at + QPoint(i * m_glyph.width(), 0), m_glyphs,
                          QRect(QPoint(index * m_glyph.width(), 0), m_glyph));
    }
    return length * m_glyph.width();
}

void Loupe::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // Drawn in device pixels, so that every image pixel is exactly zoom x zoom of them.
    painter.scale(1 / m_ratio, 1 / m_ratio);
    const QSize device = deviceSize();
    const int zoom = m_options.zoom;
    const int view = span * zoom;
    painter.fillRect(QRect(0, 0, device.width() + 4, device.height() + 4), background);
    const QPoint viewAt((device.width() - view) / 2, 1);
    painter.drawImage(QRect(viewAt, QSize(view, view)), m_patch);
    if (zoom >= gridFromZoom)
        for (int i = 1; i < span; ++i) {
            painter.fillRect(QRect(viewAt.x() + i * zoom, viewAt.y(), 1, view), gridLine);
            painter.fillRect(QRect(viewAt.x(), viewAt.y() + i * zoom, view, 1), gridLine);
        }
    // The sampled area, outlined just outside its pixels, two device pixels wide.
    const int size = m_options.sampleSize;
    const QRect area(viewAt + QPoint(span / 2 - size / 2, span / 2 - size / 2) * zoom,
                     QSize(size * zoom, size * zoom));
    const QColor outline = contrasting(m_color);
    const QRect outer = area.adjusted(-2, -2, 2, 2);
    painter.fillRect(QRect(outer.topLeft(), QSize(outer.width(), 2)), outline);
    painter.fillRect(QRect(outer.left(), area.bottom() + 1, outer.width(), 2), outline);
    painter.fillRect(QRect(outer.left(), area.top(), 2, area.height()), outline);
    painter.fillRect(QRect(area.right() + 1, area.top(), 2, area.height()), outline);

    char line[32];
    const std::string hex = HexRGB(m_color); // short: kept in place, no allocation
    const int textTop = view + 5;
    drawText(painter, QPoint(4, textTop), hex.c_str(), int(hex.size()));
    const int length =
        std::snprintf(line, sizeof line, "%d, %d", m_coordinates.x(), m_coordinates.y());
    drawText(painter, QPoint(4, textTop + m_glyph.height()), line,
             std::clamp(length, 0, int(sizeof line) - 1));
}
