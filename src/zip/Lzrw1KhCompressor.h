// Compresses one chunk (at most Lzrw1Kh::kChunkInput bytes) into the LZRW1-KH form:
// literals, back copies of 3 to 18 bytes and runs of one byte, or the input stored
// as it is when compressing would make it longer.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

class Lzrw1KhCompressor {
public:
    // Appends the chunk made of `input` to `output`. Raises ELzrw1KHCompressor when
    // the hash table cannot be had.
    static void CompressChunk(QByteArrayView input, QByteArray& output);
};
