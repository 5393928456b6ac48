#include "zip/Lzrw1KhDecompressor.h"

#include "zip/ELzrw1KHCompressor.h"
#include "zip/Lzrw1KhFormat.h"

#include <QCoreApplication>
#include <cstdint>

using namespace Lzrw1Kh;

namespace {

[[noreturn]] void damaged()
{
    throw ELzrw1KHCompressor(QCoreApplication::translate("TCompressStream", "The compressed data is damaged."));
}

// The items of one compressed chunk, written into a buffer of kChunkInput bytes.
class ChunkDecoder {
public:
    ChunkDecoder(QByteArrayView chunk, uint8_t* out)
        : m_in(reinterpret_cast<const uint8_t*>(chunk.data()))
        , m_size(int(chunk.size()))
        , m_out(out)
    {
    }

    // The number of bytes produced.
    int Decode()
    {
        while (m_pos < m_size) {
            if (nextIsCopy())
                copyOrRun();
            else
                literal();
        }
        return m_produced;
    }

private:
    bool nextIsCopy()
    {
        if (m_bitsLeft == 0) {
            need(2);
            m_control = uint16_t((m_in[m_pos] << 8) | m_in[m_pos + 1]);
            m_pos += 2;
            m_bitsLeft = kItemsPerControlWord;
            if (m_pos == m_size)
                damaged();   // a control word announces at least one item
        }
        const bool copy = (m_control & 0x8000) != 0;
        m_control = uint16_t(m_control << 1);
        --m_bitsLeft;
        return copy;
    }

    void literal()
    {
        room(1);
        m_out[m_produced++] = m_in[m_pos++];
    }

    void copyOrRun()
    {
        need(2);
        const int item = (m_in[m_pos] << 8) | m_in[m_pos + 1];
        const int offset = item >> 4;
        if (offset == 0)
            run();
        else
            copy(offset, (item & 0xF) + kMinCopy);
    }

    void run()
    {
        need(4);
        const int length = (((m_in[m_pos + 1] & 0xF) << 8) | m_in[m_pos + 2]) + kMinRun;
        room(length);
        const uint8_t value = m_in[m_pos + 3];
        for (int i = 0; i < length; ++i)
            m_out[m_produced++] = value;
        m_pos += 4;
    }

    // Byte by byte: a copy that overlaps its own output repeats the pattern.
    void copy(int offset, int length)
    {
        if (offset > m_produced)
            damaged();
        room(length);
        for (int i = 0; i < length; ++i, ++m_produced)
            m_out[m_produced] = m_out[m_produced - offset];
        m_pos += 2;
    }

    void need(int bytes) const
    {
        if (m_size - m_pos < bytes)
            damaged();
    }

    void room(int bytes) const
    {
        if (kChunkInput - m_produced < bytes)
            damaged();
    }

    const uint8_t* m_in;
    int m_size;
    uint8_t* m_out;
    int m_pos = 1;          // after the flag
    int m_produced = 0;
    uint16_t m_control = 0;
    int m_bitsLeft = 0;
};

} // namespace

void Lzrw1KhDecompressor::DecompressChunk(QByteArrayView chunk, QByteArray& output)
{
    if (chunk.isEmpty() || chunk.size() > kMaxChunk)
        damaged();
    const auto flag = uint8_t(chunk[0]);
    if (flag == kStoredFlag) {
        output.append(chunk.sliced(1));
        return;
    }
    if (flag != kCompressedFlag)
        damaged();
    const qsizetype start = output.size();
    output.resize(start + kChunkInput);
    try {
        ChunkDecoder decoder(chunk, reinterpret_cast<uint8_t*>(output.data() + start));
        output.resize(start + decoder.Decode());
    } catch (...) {
        output.resize(start);
        throw;
    }
}
