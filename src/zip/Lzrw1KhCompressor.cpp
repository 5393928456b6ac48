#include "zip/Lzrw1KhCompressor.h"

#include "zip/ELzrw1KHCompressor.h"
#include "zip/Lzrw1KhFormat.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>

using namespace Lzrw1Kh;

namespace {

constexpr int kHashSize = 4096;
// The items of one pass may run past the input's length by a control word and a run
// item before the loop sees it; the stored form then replaces them.
constexpr int kSlack = 8;

// Taken on first use and kept, as every chunk needs it; one per thread so that
// compressing never has to be serialised.
int16_t* hashTable()
{
    thread_local std::unique_ptr<int16_t[]> table;
    if (!table) {
        table.reset(new (std::nothrow) int16_t[kHashSize]);
        if (!table)
            throw ELzrw1KHCompressor(
                QCoreApplication::translate("Lzrw1KhCompressor", "LZRW1KH : no memory for HASH table"));
    }
    return table.get();
}

int hashOf(const uint8_t* bytes)
{
    const uint32_t mixed = (((uint32_t(bytes[0]) << 4) ^ bytes[1]) << 4) ^ bytes[2];
    return int(((mixed * 40543u) >> 4) & 0xFFF);
}

// One chunk's items, written into a buffer of at least input + kSlack bytes.
class ChunkEncoder {
public:
    ChunkEncoder(QByteArrayView input, uint8_t* out, int16_t* table)
        : m_in(reinterpret_cast<const uint8_t*>(input.data()))
        , m_size(int(input.size()))
        , m_out(out)
        , m_table(table)
    {
    }

    // The length of the compressed form; longer than the input when storing is better.
    int Encode()
    {
        std::fill(m_table, m_table + kHashSize, int16_t(-1));
        m_out[0] = kCompressedFlag;
        while (m_pos < m_size && m_outPos <= m_size) {
            if (m_items == kItemsPerControlWord)
                startControlWord();
            m_control = uint16_t((m_control << 1) | (encodeItem() ? 1 : 0));
            ++m_items;
        }
        m_control = uint16_t(m_control << (kItemsPerControlWord - m_items));
        storeControlWord();
        return m_outPos;
    }

private:
    // True for a copy or a run, false for a literal: the item's control bit.
    bool encodeItem()
    {
        const int run = runLength();
        if (run >= kMinRun) {
            putRun(run);
            return true;
        }
        int offset = 0;
        const int length = findMatch(offset);
        if (length >= kMinCopy) {
            putCopy(offset, length);
            return true;
        }
        m_out[m_outPos++] = m_in[m_pos++];
        return false;
    }

    int runLength() const
    {
        const int limit = std::min(kMaxRun, m_size - m_pos);
        int length = 1;
        while (length < limit && m_in[m_pos + length] == m_in[m_pos])
            ++length;
        return length;
    }

    int findMatch(int& offset)
    {
        if (m_size - m_pos < kMinCopy)
            return 0;
        int16_t& slot = m_table[hashOf(m_in + m_pos)];
        const int candidate = slot;
        // The form's table holds 16-bit positions: those past 32767 wrap negative and
        // so are never matched, and the items come out as the form defines them.
        slot = int16_t(m_pos);
        if (candidate < 0 || m_pos - candidate > kMaxOffset)
            return 0;
        const int limit = std::min(kMaxCopy, m_size - m_pos);
        int length = 0;
        while (length < limit && m_in[candidate + length] == m_in[m_pos + length])
            ++length;
        offset = m_pos - candidate;
        return length;
    }

    void putRun(int length)
    {
        const int stored = length - kMinRun;
        m_out[m_outPos++] = 0;
        m_out[m_outPos++] = uint8_t(stored >> 8);
        m_out[m_outPos++] = uint8_t(stored);
        m_out[m_outPos++] = m_in[m_pos];
        m_pos += length;
    }

    void putCopy(int offset, int length)
    {
        const int item = (offset << 4) | (length - kMinCopy);
        m_out[m_outPos++] = uint8_t(item >> 8);
        m_out[m_outPos++] = uint8_t(item);
        m_pos += length;
    }

    void startControlWord()
    {
        storeControlWord();
        m_controlPos = m_outPos;
        m_outPos += 2;
        m_control = 0;
        m_items = 0;
    }

    void storeControlWord()
    {
        m_out[m_controlPos] = uint8_t(m_control >> 8);
        m_out[m_controlPos + 1] = uint8_t(m_control);
    }

    const uint8_t* m_in;
    int m_size;
    uint8_t* m_out;
    int16_t* m_table;
    int m_pos = 0;
    int m_outPos = 3;       // the flag and the first control word come first
    int m_controlPos = 1;
    uint16_t m_control = 0;
    int m_items = 0;
};

} // namespace

void Lzrw1KhCompressor::CompressChunk(QByteArrayView input, QByteArray& output)
{
    Q_ASSERT(input.size() <= kChunkInput);
    int16_t* table = hashTable();
    const qsizetype start = output.size();
    output.resize(start + input.size() + kSlack);
    ChunkEncoder encoder(input, reinterpret_cast<uint8_t*>(output.data() + start), table);
    const int length = encoder.Encode();
    if (length <= input.size()) {
        output.resize(start + length);
        return;
    }
    output.resize(start);
    output.append(char(kStoredFlag));
    output.append(input);
}
