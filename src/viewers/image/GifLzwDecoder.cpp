#include "viewers/image/GifLzwDecoder.h"

#include "viewers/image/EGifException.h"
#include "viewers/image/TByteArray2D.h"
#include "viewers/image/TByteBuffer.h"

#include <algorithm>
#include <cstring>

namespace {

// Codes least significant bit first, across the data blocks. Kept in locals by the
// decoding loop: its stores go through byte pointers, which the compiler must assume
// alias any member.
struct CodeReader {
    const TByteBuffer& data;
    int block = 0;
    const uint8_t* next = nullptr;
    const uint8_t* end = nullptr;
    uint32_t bits = 0;
    int count = 0;

    explicit CodeReader(const TByteBuffer& buffer)
        : data(buffer)
    {
    }

    // False when the data runs out in the middle of the code.
    bool Read(int width, int& code)
    {
        while (count < width) {
            while (next == end) {
                if (!NextBlock())
                    return false;
            }
            bits |= uint32_t(*next++) << count;
            count += 8;
        }
        code = int(bits & ((1u << width) - 1));
        bits >>= width;
        count -= width;
        return true;
    }

    bool NextBlock()
    {
        if (block == data.BlockCount())
            return false;
        const QByteArrayView view = data.Block(block++);
        next = reinterpret_cast<const uint8_t*>(view.data());
        end = next + view.size();
        return true;
    }
};

// The table's growth: the code width goes up by one bit each time the next free code
// reaches a power of two, up to 12 bits; there the table is full.
struct TableState {
    int width;
    int nextFree;
    int growAt;
    bool full;

    TableState(int minCodeSize, int clearCode)
        : width(minCodeSize + 1)
        , nextFree(clearCode + 2)
        , growAt(1 << width)
        , full(false)
    {
    }

    void Grow(int maxWidth)
    {
        if (++nextFree < growAt)
            return;
        if (width < maxWidth) {
            growAt *= 2;
            ++width;
        } else {
            full = true;
        }
    }
};

// Further clear codes change nothing; an end code straight after a clear is refused.
bool readCodeAfterClear(CodeReader& in, int width, int clearCode, int& code)
{
    do {
        if (!in.Read(width, code))
            return false;
    } while (code == clearCode);
    if (code == clearCode + 1)
        throw EGifException(GifLzwDecoder::tr("Bad code"));
    return true;
}

} // namespace

GifLzwDecoder::GifLzwDecoder(const TByteBuffer& input, int minCodeSize, bool interlaced, TByteArray2D& pixels,
                             const std::function<void()>& rowDecoded)
    : m_input(input)
    , m_pixels(pixels)
    , m_rowDecoded(rowDecoded)
    , m_rows(pixels.Height(), interlaced)
    , m_minCodeSize(minCodeSize)
    , m_clearCode(1 << std::clamp(minCodeSize, 0, 9))
    , m_row(size_t(pixels.Width()))
{
}

void GifLzwDecoder::Decode()
{
    if (m_minCodeSize < 2 || m_minCodeSize > 9)
        throw EGifException(tr("Bad code Size"));
    const int clearCode = m_clearCode;
    const int endCode = clearCode + 1;
    for (int code = 0; code < clearCode; ++code)
        m_table[code] = {0, 1, uint8_t(code), uint8_t(code)};
    CodeReader in(m_input);
    TableState table(m_minCodeSize, clearCode);
    int previous = -1;   // none: the state a clear code sets
    int code = 0;
    if (!in.Read(table.width, code))
        return;
    while (code != endCode) {
        if (code == clearCode) {
            table = TableState(m_minCodeSize, clearCode);
            if (!readCodeAfterClear(in, table.width, clearCode, code))
                return;
            previous = -1;
        }
        if (table.full)
            throw EGifException(tr("Code size overflow"));
        if (previous < 0) {
            // The first code after a clear stands for one pixel.
            if (code >= table.nextFree)
                code = 0;
            Emit(code);
        } else if (code <= table.nextFree) {
            // A code equal to the next free one is the string being defined: the
            // previous string followed by its own first byte.
            DefineEntry(table.nextFree, previous, m_table[code < table.nextFree ? code : previous].first);
            table.Grow(kMaxCodeWidth);
            Emit(code);
        } else {
            throw EGifException(tr("Bad code"));
        }
        previous = code;
        if (!in.Read(table.width, code))
            return;
    }
}

inline void GifLzwDecoder::DefineEntry(int entry, int prefix, uint8_t suffix)
{
    const Entry& head = m_table[prefix];
    m_table[entry] = {uint16_t(prefix), uint16_t(head.length + 1), suffix, head.first};
}

inline void GifLzwDecoder::Emit(int code)
{
    const int length = m_table[code].length;
    const int width = int(m_row.size());
    const int column = m_column;
    if (length > width - column) {
        EmitAcrossRows(code, length);
        return;
    }
    WriteStringBefore(code, m_row.data() + column + length);
    m_column = column + length;
    if (column + length == width)
        StoreRow();
}

inline uint8_t* GifLzwDecoder::WriteStringBefore(int code, uint8_t* end) const
{
    const int clearCode = m_clearCode;
    while (code >= clearCode) {
        const Entry& entry = m_table[code];
        *--end = entry.suffix;
        code = entry.prefix;
    }
    *--end = uint8_t(code);
    return end;
}

void GifLzwDecoder::EmitAcrossRows(int code, int length)
{
    const int width = int(m_row.size());
    if (width == 0)
        TBigByteArray::ThrowOutOfBounds();
    const uint8_t* next = WriteStringBefore(code, m_spill.data() + length);
    while (length > 0) {
        const int part = std::min(length, width - m_column);
        std::memcpy(m_row.data() + m_column, next, size_t(part));
        m_column += part;
        next += part;
        length -= part;
        if (m_column == width)
            StoreRow();
    }
}

void GifLzwDecoder::StoreRow()
{
    m_pixels.SetRow(m_rows.Row() + 1, m_row.data(), qsizetype(m_row.size()));
    m_column = 0;
    m_rows.Advance();
    if (m_rowDecoded)
        m_rowDecoded();
}
