// Reads one LZRW1-KH chunk back into its bytes. The chunk comes from a file, so it is
// untrusted: every item is checked against the chunk's end, the output so far and the
// chunk's output limit before a byte is moved.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

class Lzrw1KhDecompressor {
public:
    // Appends the bytes of `chunk` to `output`; raises ELzrw1KHCompressor when the
    // chunk is damaged (output is then left with what came before it).
    static void DecompressChunk(QByteArrayView chunk, QByteArray& output);
};
