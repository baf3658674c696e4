// Renders an SVG icon through Qt's SVG image plugin, as the desktop's Qt programs and Hue Bench
// itself load it, and fails unless the picture comes out at the asked size with most of it drawn.
// Usage: render_icon FILE.svg SIZE
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>

#include <cstdio>

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fputs("usage: render_icon FILE.svg SIZE\n", stderr);
        return 2;
    }
    const int size = args[2].toInt();
    QImageReader reader(args[1], "svg");
    reader.setScaledSize(QSize(size, size));
    const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
    if (image.isNull()) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(args[1]), qPrintable(reader.errorString()));
        return 1;
    }
    int drawn = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            drawn += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
    if (image.size() != QSize(size, size) || drawn < size * size / 2) {
        std::fprintf(stderr, "%s: %dx%d, %d pixels drawn\n", qPrintable(args[1]), image.width(),
                     image.height(), drawn);
        return 1;
    }
    return 0;
}
