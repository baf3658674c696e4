#include "platform/ImageFile.h"

#include <QFile>
#include <QImage>
#include <QImageReader>

ImageReading ReadImageFile(const std::string& file)
{
    QImageReader reader(QFile::decodeName(file.c_str()));
    // Qt refuses images over 256 MB by default; a 64-megapixel photo needs as much, and the
    // pixels are only counted.
    QImageReader::setAllocationLimit(1024);
    QImage image = reader.read();
    if (image.isNull())
        return {std::nullopt, "cannot be read as an image: " + reader.errorString().toStdString()};
    // 32-bit RGB already holds 0xFFRRGGBB; other formats are converted once.
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        image.convertTo(QImage::Format_ARGB32);
    PixelHistogram histogram;
    const auto width = static_cast<std::size_t>(image.width());
    for (int y = 0; y < image.height(); ++y)
        histogram.addPixels(reinterpret_cast<const std::uint32_t*>(image.constScanLine(y)), width);
    return {std::move(histogram), {}};
}
