// Feeds arbitrary bytes to the GIF reader, the LZW decoder and the bitmap writer. Any
// failure must be an EGifException; what loads must keep the promises the picture
// control relies on: compressed data inside the input, every matrix as large as its
// descriptor and within the pixel bound, one row report per stored row, and a bitmap
// whose size, header and rows (bottom-up, padded to 4 bytes) match the first image.
#include "viewers/image/EGifException.h"
#include "viewers/image/GifToBmp.h"
#include "viewers/image/TGifFile.h"

#include <QtEndian>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// The compressed data are views into the input: each must lie inside it (a view one
// byte too long would still read the terminating zero, unseen by the sanitizer).
void checkBlocks(const TByteBuffer& data, const QByteArray& input)
{
    for (int i = 0; i < data.BlockCount(); ++i) {
        const QByteArrayView block = data.Block(i);
        if (block.isEmpty() || block.data() < input.constData() ||
            block.data() + block.size() > input.constData() + input.size())
            std::abort();
    }
}

void checkImages(const TGifFile& gif, const QByteArray& input, qint64 rowsReported)
{
    qint64 rows = 0;
    for (int i = 0; i < gif.ImageCount(); ++i) {
        const TGifSubImage& image = gif.Image(i);
        checkBlocks(image.CompressedData(), input);
        const TByteArray2D& pixels = image.Pixels();
        if (pixels.Width() != image.Width() || pixels.Height() != image.Height() ||
            qint64(image.Width()) * image.Height() > gif.MaxPixels())
            std::abort();
        rows += image.Height();
    }
    if (rowsReported > rows)
        std::abort();
}

void checkBitmap(const TGifFile& gif)
{
    const QByteArray bmp = GifToBmp::FirstImage(gif);
    const TByteArray2D& pixels = gif.Image(0).Pixels();
    const qsizetype stride = (qsizetype(pixels.Width()) + 3) & ~qsizetype(3);
    const auto* header = reinterpret_cast<const uchar*>(bmp.constData());
    if (bmp.size() != GifToBmp::kPixelDataOffset + stride * pixels.Height() || !bmp.startsWith("BM") ||
        qFromLittleEndian<quint32>(header + 2) != quint32(bmp.size()) ||
        qFromLittleEndian<qint32>(header + 18) != pixels.Width() ||
        qFromLittleEndian<qint32>(header + 22) != pixels.Height())
        std::abort();
    for (int row = 1; row <= pixels.Height(); ++row) {
        const char* stored = bmp.constData() + GifToBmp::kPixelDataOffset + stride * (pixels.Height() - row);
        if (pixels.Width() > 0 && std::memcmp(stored, pixels.Row(row), size_t(pixels.Width())) != 0)
            std::abort();
        for (qsizetype pad = pixels.Width(); pad < stride; ++pad)
            if (stored[pad] != 0)
                std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    // Large pictures only cost time here; the bound itself is the same code at any size.
    TGifFile gif(1 << 20);
    qint64 rowsReported = 0;
    try {
        gif.LoadFromBytes(input, [&] { ++rowsReported; });
    } catch (const EGifException&) {
        return 0;
    }
    checkImages(gif, input, rowsReported);
    if (gif.ImageCount() > 0)
        checkBitmap(gif);
    return 0;
}
