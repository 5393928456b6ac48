#include "viewers/image/GifToBmp.h"

#include "viewers/image/EGifException.h"
#include "viewers/image/TGifFile.h"

#include <QtEndian>
#include <cstring>

namespace {

constexpr int kInfoHeaderSize = 40;
constexpr int kPixelsPerMetre = 143;   // 3.6 pixels per millimetre: the 91 dpi of old screens

class BmpWriter {
public:
    explicit BmpWriter(qsizetype size)
        : m_bytes(size, Qt::Uninitialized)
        , m_at(reinterpret_cast<uint8_t*>(m_bytes.data()))
    {
    }
    void Word(uint16_t value) { qToLittleEndian(value, Skip(2)); }
    void Dword(uint32_t value) { qToLittleEndian(value, Skip(4)); }
    void Bytes(const void* bytes, size_t count)
    {
        if (count > 0)   // an empty row has no address to copy from
            std::memcpy(Skip(count), bytes, count);
    }
    void Zeros(size_t count) { std::memset(Skip(count), 0, count); }
    QByteArray Result() { return std::move(m_bytes); }

private:
    uint8_t* Skip(size_t count)
    {
        uint8_t* at = m_at;
        m_at += count;
        return at;
    }

    QByteArray m_bytes;
    uint8_t* m_at;
};

void writeHeaders(BmpWriter& out, int width, int height, uint32_t fileSize)
{
    out.Bytes("BM", 2);
    out.Dword(fileSize);
    out.Dword(0);   // reserved
    out.Dword(GifToBmp::kPixelDataOffset);
    out.Dword(kInfoHeaderSize);
    out.Dword(uint32_t(width));
    out.Dword(uint32_t(height));   // positive: the rows run bottom-up
    out.Word(1);                   // planes
    out.Word(8);                   // bits per pixel
    out.Dword(0);                  // no compression
    out.Dword(0);                  // image size, implied when uncompressed
    out.Dword(kPixelsPerMetre);
    out.Dword(kPixelsPerMetre);
    out.Dword(0);                  // colours used: all 256
    out.Dword(0);                  // colours important: all
}

void writePalette(BmpWriter& out, const TColorTable& table)
{
    for (int i = 0; i < 256; ++i) {
        const TRgb& rgb = table.Entry(i);
        const uint8_t quad[4] = {rgb.Blue, rgb.Green, rgb.Red, 0};
        out.Bytes(quad, 4);
    }
}

} // namespace

QByteArray GifToBmp::FirstImage(const TGifFile& file)
{
    if (file.ImageCount() == 0)
        throw EGifException(tr("The file holds no picture."));
    const TGifSubImage& image = file.Image(0);
    const TByteArray2D& pixels = image.Pixels();
    const int width = pixels.Width();
    const int height = pixels.Height();
    const qsizetype stride = (qsizetype(width) + 3) / 4 * 4;
    const qsizetype size = kPixelDataOffset + stride * height;
    BmpWriter out(size);
    writeHeaders(out, width, height, uint32_t(size));
    writePalette(out, image.HasLocalTable() ? image.ColorTable() : file.GlobalTable());
    for (int row = height; row >= 1; --row) {
        out.Bytes(pixels.Row(row), size_t(width));
        out.Zeros(size_t(stride - width));
    }
    return out.Result();
}
