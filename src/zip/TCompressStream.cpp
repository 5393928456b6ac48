#include "zip/TCompressStream.h"

#include "zip/ECompressError.h"
#include "zip/Lzrw1KhCompressor.h"
#include "zip/Lzrw1KhDecompressor.h"
#include "zip/Lzrw1KhFormat.h"

#include <QCoreApplication>
#include <QtEndian>
#include <limits>

namespace {

constexpr QByteArrayView kMagic("PMCS10");
constexpr qsizetype kHeaderSize = 6 + 4;

QString tr(const char* text)
{
    return QCoreApplication::translate("TCompressStream", text);
}

[[noreturn]] void damaged()
{
    throw ECompressError(tr("The compressed data is damaged."));
}

void appendCount(QByteArray& out, qsizetype count)
{
    if (count > qsizetype(std::numeric_limits<quint32>::max()))
        throw ECompressError(tr("The data is too large to be compressed."));
    char bytes[4];
    qToLittleEndian(quint32(count), bytes);
    out.append(bytes, 4);
}

quint32 countAt(QByteArrayView stream, qsizetype at)
{
    return qFromLittleEndian<quint32>(stream.data() + at);
}

} // namespace

QByteArray TCompressStream::Compress(QByteArrayView data)
{
    QByteArray out;
    out.reserve(kHeaderSize + data.size() + data.size() / Lzrw1Kh::kChunkInput * 5 + 5);
    out.append(kMagic);
    out.append(4, '\0');
    QByteArray chunk;
    for (qsizetype at = 0; at < data.size(); at += Lzrw1Kh::kChunkInput) {
        chunk.clear();
        Lzrw1KhCompressor::CompressChunk(data.sliced(at, qMin(qsizetype(Lzrw1Kh::kChunkInput), data.size() - at)), chunk);
        appendCount(out, chunk.size());
        out.append(chunk);
    }
    QByteArray total;
    appendCount(total, out.size() - kHeaderSize);
    out.replace(kMagic.size(), 4, total);
    return out;
}

QByteArray TCompressStream::Decompress(QByteArrayView stream)
{
    if (!stream.startsWith(kMagic))
        throw ECompressError(tr("Wrong file type"));
    if (stream.size() < kHeaderSize || countAt(stream, kMagic.size()) != quint64(stream.size() - kHeaderSize))
        damaged();
    QByteArray out;
    for (qsizetype at = kHeaderSize; at < stream.size();) {
        if (stream.size() - at < 4)
            damaged();
        const quint32 length = countAt(stream, at);
        at += 4;
        if (length > quint64(stream.size() - at))
            damaged();
        Lzrw1KhDecompressor::DecompressChunk(stream.sliced(at, length), out);
        at += length;
    }
    return out;
}
