// Feeds arbitrary bytes to the compressed-stream reader, both as a whole stream and,
// behind a valid header, as one chunk record. Besides not crashing or touching
// memory outside the buffers: a chunk never gives more than 32783 bytes, and the
// input itself, compressed and read back, comes back unchanged.
#include "zip/ECompressError.h"
#include "zip/Lzrw1KhDecompressor.h"
#include "zip/TCompressStream.h"

#include <QtEndian>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void check(bool holds)
{
    if (!holds)
        std::abort();
}

void readStream(QByteArrayView stream)
{
    try {
        TCompressStream::Decompress(stream);
    } catch (const ECompressError& error) {
        check(!error.Text().isEmpty());
    }
}

QByteArray asOneChunkStream(QByteArrayView chunk)
{
    QByteArray stream("PMCS10");
    char count[4];
    qToLittleEndian(quint32(chunk.size() + 4), count);
    stream.append(count, 4);
    qToLittleEndian(quint32(chunk.size()), count);
    stream.append(count, 4);
    stream.append(chunk);
    return stream;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char*>(data), qsizetype(size));
    readStream(input);
    readStream(asOneChunkStream(input));

    QByteArray chunkOutput;
    try {
        Lzrw1KhDecompressor::DecompressChunk(input, chunkOutput);
        check(chunkOutput.size() <= 32783);
    } catch (const ECompressError&) {
        check(chunkOutput.isEmpty());
    }

    check(TCompressStream::Decompress(TCompressStream::Compress(input)) == input);
    return 0;
}
