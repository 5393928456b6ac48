#include "viewers/image/TGifSubImage.h"

#include "viewers/image/EGifException.h"
#include "viewers/image/GifLzwDecoder.h"
#include "viewers/image/GifStream.h"
#include "viewers/image/TGifFile.h"

#include <QLocale>
#include <bit>

TGifSubImage::TGifSubImage(const TGifFile& file, int colorCount)
    : m_file(file)
{
    UseColorCount(colorCount);
}

void TGifSubImage::UseColorCount(int count)
{
    if (count < 2 || count > 256 || !std::has_single_bit(unsigned(count)))
        throw EGifException(tr("Number of colors (%1) wrong; must be a power of 2").arg(count));
    m_bitsPerPixel = std::countr_zero(unsigned(count));
    m_colorTable = TColorTable(count);
}

bool TGifSubImage::Read(GifStream& stream, const std::function<void()>& rowDecoded)
{
    ReadDescriptor(stream);
    const qint64 maxPixels = m_file.MaxPixels();
    const qint64 pixels = qint64(m_width) * m_height;
    if (pixels > maxPixels)
        throw EGifException(tr("The picture is too large (%1 x %2 pixels; at most %3 pixels are shown).")
                                .arg(m_width)
                                .arg(m_height)
                                .arg(QLocale(QLocale::English).toString(maxPixels)));
    if (pixels > m_file.PixelsLeft() && m_file.ImageCount() > 0)
        return false;
    m_pixels = TByteArray2D(m_width, m_height);
    m_codeSize = stream.ReadByte();
    ReadCompressedData(stream);
    GifLzwDecoder(m_compressed, m_codeSize, m_interlaced, m_pixels, rowDecoded).Decode();
    return true;
}

void TGifSubImage::ReadDescriptor(GifStream& stream)
{
    m_left = stream.ReadWord();
    m_top = stream.ReadWord();
    m_width = stream.ReadWord();
    m_height = stream.ReadWord();
    m_flags = stream.ReadByte();
    m_hasLocalTable = m_flags & 0x80;
    m_interlaced = m_flags & 0x40;
    if (m_hasLocalTable) {
        UseColorCount(2 << (m_flags & 7));
        m_colorTable.Read(stream);
    }
}

void TGifSubImage::ReadCompressedData(GifStream& stream)
{
    for (QByteArrayView block = stream.ReadSubBlock(); !block.isEmpty(); block = stream.ReadSubBlock())
        m_compressed.AddBlock(stream.Bytes(), block);
}
