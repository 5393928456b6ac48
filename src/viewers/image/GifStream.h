// Reads the bytes of a GIF file in order. Past the end it gives zero bytes instead of
// failing, the way a short stream read leaves its buffer: a cut-off file then reads
// as zero lengths and zero sizes, which end the blocks and loops that use them.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>

class GifStream {
public:
    explicit GifStream(const QByteArray& bytes);

    qsizetype Position() const { return m_position; }
    bool AtEnd() const { return m_position >= m_bytes.size(); }

    uint8_t ReadByte();
    uint16_t ReadWord();   // little-endian
    // Up to `count` bytes: fewer at the end of the stream.
    QByteArray Read(qsizetype count);
    // Exactly `count` bytes, those beyond the end as zero.
    void ReadInto(uint8_t* destination, qsizetype count);
    // The next length-prefixed data sub-block, cut short at the end of the stream; empty
    // at the zero length that ends a run of them, or at the end. Valid while the stream is.
    QByteArrayView ReadSubBlock();
    // The bytes the views of ReadSubBlock() point into.
    const QByteArray& Bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
    qsizetype m_position = 0;
};
