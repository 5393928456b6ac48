// The compressed form of a held file: "PMCS10", the byte count of what follows
// (32-bit little-endian), then one record per chunk of up to 32783 input bytes: the
// chunk's length (32-bit little-endian) and the chunk in the LZRW1-KH form.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

class TCompressStream {
public:
    // Raises ECompressError when the result would not fit its 32-bit count, and
    // ELzrw1KHCompressor when the compressor has no memory for its hash table.
    static QByteArray Compress(QByteArrayView data);
    // Raises ECompressError with "Wrong file type" when `stream` does not start with
    // the magic, and when it is damaged in any other way.
    static QByteArray Decompress(QByteArrayView stream);
};
