// The loupe's drawing (magnified pixels, grid from 6x, outline) and the overlay's repaints.
#include "picker/FrozenDesktop.h"
#include "picker/frmGetColor.h"
#include "platform/DesktopCapture.h"
#include "platform/Widgets.h"

#include <QBackingStore>
#include <QPainter>
#include <QScreen>
#include <QTest>

namespace
{

QRgb pattern(QPoint at)
{
    return qRgb((at.x() * 37) & 0xFF, (at.y() * 53) & 0xFF, ((at.x() ^ at.y()) * 11) & 0xFF);
}

FrozenDesktop patternedDesktop()
{
    const QRect desktop = desktopDeviceRect();
    QImage image(desktop.size(), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, pattern({x, y}));
    return FrozenDesktop(DesktopImage{image, desktop.topLeft()});
}

// The grid as Qt's painter lays it: translucent black, twice where two lines cross.
QRgb underGrid(QRgb pixel, int lines)
{
    QImage one(1, 1, QImage::Format_RGB32);
    one.fill(pixel);
    QPainter painter(&one);
    for (int i = 0; i < lines; ++i)
        painter.fillRect(one.rect(), QColor(0, 0, 0, 80));
    painter.end();
    return one.pixel(0, 0);
}

} // namespace

class LoupeTest : public QObject
{
    Q_OBJECT

private slots:
    void magnifiesWithGridAndOutline_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<int>("size");
        QTest::newRow("4x, no grid") << 4 << 1;
        QTest::newRow("6x") << 6 << 1;
        QTest::newRow("8x, 3 x 3") << 8 << 3;
    }
    void magnifiesWithGridAndOutline()
    {
        QFETCH(int, zoom);
        QFETCH(int, size);
        const FrozenDesktop desktop = patternedDesktop();
        frmGetColor overlay(desktop, QGuiApplication::primaryScreen(), LoupeOptions{zoom, size});
        const QPoint center(300, 200);
        overlay.sampleAt(center, false);
        const QImage shown =
            overlay.loupe()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const int span = overlay.loupe()->span(), half = span / 2, grid = zoom >= 6 ? 1 : 0;
        const QPoint origin = overlay.loupe()->viewRect().topLeft();
        for (int j = 0; j < span; ++j)
            for (int i = 0; i < span; ++i) {
                // The outline covers two pixels around the sampled area.
                if (std::abs(i - half) <= size / 2 + 1 && std::abs(j - half) <= size / 2 + 1)
                    continue;
                const QRgb pixel = pattern(center + QPoint(i - half, j - half));
                const QPoint square = origin + QPoint(i, j) * zoom;
                QCOMPARE(shown.pixel(square + QPoint(zoom / 2, zoom / 2)), pixel);
                if (i > 0)
                    QCOMPARE(shown.pixel(square + QPoint(0, zoom / 2)), underGrid(pixel, grid));
                if (i > 0 && j > 0)
                    QCOMPARE(shown.pixel(square), underGrid(pixel, 2 * grid));
            }
        // The outline: one color, black or white, on all four sides.
        const QRect area(origin + QPoint(half - size / 2, half - size / 2) * zoom,
                         QSize(size, size) * zoom);
        const QRgb outline = shown.pixel(area.topLeft() - QPoint(1, 1));
        QVERIFY(outline == qRgb(0, 0, 0) || outline == qRgb(255, 255, 255));
        for (const QPoint& at : {area.bottomRight() + QPoint(2, 2), area.topRight() + QPoint(1, 0),
                                 area.bottomLeft() + QPoint(-2, 0)})
            QCOMPARE(shown.pixel(at), outline);
        // ... and no wider: the magnified pixel beyond its top-right corner shows.
        QCOMPARE(shown.pixel(area.topRight() + QPoint(3, -1)),
                 pattern(center + QPoint(size / 2 + 1, -(size / 2 + 1))));
    }

    // At the screen's ratio (1, 1.25, 1.5, 1.75 or 2 by QT_SCALE_FACTOR), over the screen's own
    // device pixels or a picture of the layout at another scale (a portal's 1.5 picture where
    // the toolkit draws at 2): the label names the pixel the sampled color came from, the view
    // shows the captured pixels around it unresampled, and it fills the loupe's box.
    void labelAndViewAtEveryScale_data()
    {
        QTest::addColumn<qreal>("pictureScale"); // 0: the screen's device pixels
        QTest::addColumn<int>("zoom");
        for (const qreal scale : {0.0, 1.25, 1.5, 1.75})
            for (const int zoom : {2, 8, 12})
                QTest::addRow("picture %g, %dx", scale, zoom) << scale << zoom;
    }
    void labelAndViewAtEveryScale()
    {
        QFETCH(qreal, pictureScale);
        QFETCH(int, zoom);
        QScreen* screen = QGuiApplication::primaryScreen();
        const qreal ratio = screen->devicePixelRatio();
        const QRect logical = screen->virtualGeometry();
        const QRect device = desktopDeviceRect();
        const QSize size =
            pictureScale > 0 ? (QSizeF(logical.size()) * pictureScale).toSize() : device.size();
        // Every pixel tells where it lies: red and green the low bits of x and y, blue the high.
        QImage image(size, QImage::Format_RGB32);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                image.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, (x >> 8) | (y >> 8) << 4));
        const auto where = [](QRgb c) {
            return QPoint(qRed(c) | (qBlue(c) & 15) << 8, qGreen(c) | (qBlue(c) >> 4) << 8);
        };
        const FrozenDesktop desktop(pictureScale > 0
                                        ? DesktopImage{image, logical.topLeft(), pictureScale}
                                        : DesktopImage{image, device.topLeft()});
        frmGetColor overlay(desktop, screen, LoupeOptions{zoom, 1});
        Loupe* loupe = overlay.loupe();
        for (const QPointF at : {QPointF(300.4, 200.7), QPointF(57, 63.34), QPointF(371.9, 91)}) {
            overlay.sampleAt(overlay.devicePixelAt(at), false);
            const QPoint read = where(toQColor(loupe->color()).rgb());
            QCOMPARE(loupe->coordinates(), read);
            // The pick reads the pixel under the pointer: within one device pixel of the screen
            // (in pixels of the picture) of its place in the picture.
            const qreal scale = pictureScale > 0 ? pictureScale : ratio;
            const qreal near = 1 + scale / ratio;
            QVERIFY2(std::abs(read.x() - at.x() * scale) <= near &&
                         std::abs(read.y() - at.y() * scale) <= near,
                     qPrintable(QString("(%1, %2) read at (%3, %4)")
                                    .arg(read.x())
                                    .arg(read.y())
                                    .arg(at.x())
                                    .arg(at.y())));

            const QImage shown = loupe->grab().toImage().convertToFormat(QImage::Format_RGB32);
            const QRect view = loupe->viewRect();
            const int half = loupe->span() / 2;
            for (const QPoint step :
                 {QPoint(-half, -half), QPoint(2, 0), QPoint(half / 2, half / 2 - 1)}) {
                const QPoint square = view.topLeft() + (QPoint(half, half) + step) * zoom;
                QCOMPARE(where(shown.pixel(square + QPoint(zoom / 2, zoom / 2))), read + step);
            }
            // The box: the view, a one-pixel frame, and what rounding to logical pixels adds.
            QVERIFY(view.width() >= 15 * zoom);
            QCOMPARE(view.left(), 1);
            QVERIFY2(
                shown.width() - view.right() - 1 <= 1 + int(std::ceil(ratio)),
                qPrintable(QString("%1 beside a view of %2").arg(shown.width()).arg(view.width())));
        }
    }

    // The overlay repaints only what changed: after near and far steps it equals a fresh paint.
    void repaintsLeaveTheWindowAsAFreshPaint()
    {
        const FrozenDesktop desktop = patternedDesktop();
        frmGetColor overlay(desktop, QGuiApplication::primaryScreen(), LoupeOptions{32, 3});
        overlay.show();
        QVERIFY(QTest::qWaitForWindowExposed(&overlay));
        const auto* held = dynamic_cast<const QImage*>(overlay.backingStore()->paintDevice());
        QVERIFY(held);
        const QPoint strides[] = {{3, 0}, {0, 4}, {-2, 0}, {0, -5}};
        QPoint at(200, 300);
        for (int step = 1; step <= 120; ++step) {
            at += strides[step / 15 % 4];
            if (step % 50 == 0)
                at = QPoint(overlay.width() - at.x(), overlay.height() - at.y());
            overlay.sampleAt(at, step % 3 == 0);
            QCoreApplication::processEvents();
            if (step % 20 == 0)
                QCOMPARE(held->convertToFormat(QImage::Format_RGB32),
                         overlay.grab().toImage().convertToFormat(QImage::Format_RGB32));
        }
    }
};

QTEST_MAIN(LoupeTest)
#include "Loupe_test.moc"
