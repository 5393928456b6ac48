// Feeds arbitrary bytes to the JPEG loader as a picture's content, its first byte
// choosing the scale, grey, 8-bit and smoothing options. Besides not crashing or
// leaking: a picture that loads stays within the pixel bound, and every index of
// an 8-bit picture names a colour of its table.
#include "viewers/image/EImageError.h"
#include "viewers/image/JpegLoader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

JpegOptions optionsFrom(uint8_t pick)
{
    static const int ratios[] = {100, 50, 25, 13, 200, 75, 33, 1};
    JpegOptions options;
    options.ScaleRatio = ratios[pick & 7];
    options.ForceGray = pick & 8;
    options.ScreenDepth = (pick & 16) ? 8 : 24;
    options.BlockSmoothing = pick & 32;
    // Keeps each run short; the bound itself is the same code at any size.
    options.MaxPixels = 4 << 20;
    return options;
}

void checkIndices(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        const uchar* line = image.constScanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            if (line[x] >= image.colorCount())
                std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const JpegOptions options = optionsFrom(data[0]);
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    try {
        const QImage image = JpegLoader::FromBytes(bytes, options);
        if (image.isNull() || qint64(image.width()) * image.height() > options.MaxPixels)
            std::abort();
        if (image.format() == QImage::Format_Indexed8)
            checkIndices(image);
    } catch (const EImageError&) {
    }
    return 0;
}
