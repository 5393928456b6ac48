// The LZRW1-KH chunks and the PMCS10 stream around them: byte layouts worked out by
// hand, round trips across chunk borders, and damaged input refused without reading
// or writing outside the buffers.
#include "zip/ECompressError.h"
#include "zip/ELzrw1KHCompressor.h"
#include "zip/Lzrw1KhCompressor.h"
#include "zip/Lzrw1KhDecompressor.h"
#include "zip/TCompressStream.h"

#include <QRandomGenerator>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

QByteArray compressChunk(const QByteArray& input)
{
    QByteArray out;
    Lzrw1KhCompressor::CompressChunk(input, out);
    return out;
}

QByteArray decompressChunk(QByteArrayView chunk)
{
    QByteArray out;
    Lzrw1KhDecompressor::DecompressChunk(chunk, out);
    return out;
}

QByteArray randomBytes(qsizetype size, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray out(size, '\0');
    for (char& c : out)
        c = char(random.bounded(256));
    return out;
}

// Words drawn from a small vocabulary: text that compresses, never one long run.
QByteArray wordyText(qsizetype size, quint32 seed)
{
    static const char* const words[] = {"zip ", "pane ", "folder ", "archive ", "copy\n", "Dorvane ", "file "};
    QRandomGenerator random(seed);
    QByteArray out;
    while (out.size() < size)
        out += words[random.bounded(7)];
    out.truncate(size);
    return out;
}

// The chunk lengths of a stream, walking its records.
std::vector<quint32> chunkLengths(const QByteArray& stream)
{
    std::vector<quint32> lengths;
    for (qsizetype at = 10; at + 4 <= stream.size();) {
        lengths.push_back(qFromLittleEndian<quint32>(stream.constData() + at));
        at += 4 + lengths.back();
    }
    return lengths;
}

QByteArray withTotal(QByteArray stream, quint32 total)
{
    qToLittleEndian(total, stream.data() + 6);
    return stream;
}

} // namespace

TEST(Lzrw1Kh, itemsControlWordsAndStoredFormAreLaidOutAsWorkedOutByHand)
{
    // Three literals, then an overlapping copy: offset 3, 18 bytes (length - 3 = 15).
    EXPECT_EQ(compressChunk("abcabcabcabcabcabcabc"), bytes({64, 0x10, 0x00, 'a', 'b', 'c', 0x00, 0x3F}));
    // A run of 20: 0, then 20 - 16 as 12 bits, then the byte.
    EXPECT_EQ(compressChunk(QByteArray(20, 'x')), bytes({64, 0x80, 0x00, 0, 0x00, 0x04, 'x'}));
    // Sixteen literals fill the first word; the seventeenth item's word comes right
    // before it, padded with zero bits: a copy of 18 from 16 back.
    QByteArray seventeen = bytes({64, 0x00, 0x00}) + "ABCDEFGHIJKLMNOP" + bytes({0x80, 0x00, 0x01, 0x0F});
    EXPECT_EQ(compressChunk("ABCDEFGHIJKLMNOPABCDEFGHIJKLMNOPAB"), seventeen);
    // Longer compressed than as it is: the flag and the bytes.
    EXPECT_EQ(compressChunk("ab"), bytes({128, 'a', 'b'}));
}

TEST(Lzrw1Kh, fullChunkOfOneByteBecomesRunsOfAtMost4095)
{
    const QByteArray input(32783, 'x');
    QByteArray expected = bytes({64, 0xFF, 0x80});   // nine run items
    for (int i = 0; i < 8; ++i)
        expected += bytes({0, 0x0F, 0xEF, 'x'});     // 4095 - 16 = 0xFEF
    expected += bytes({0, 0x00, 0x07, 'x'});         // the last 23
    EXPECT_EQ(compressChunk(input), expected);
    EXPECT_EQ(decompressChunk(expected), input);
}

TEST(Lzrw1Kh, randomBytesAreStoredWithOneByteMore)
{
    const QByteArray input = randomBytes(5000, 7);
    const QByteArray stream = TCompressStream::Compress(input);
    ASSERT_EQ(chunkLengths(stream), std::vector<quint32>{5001});
    EXPECT_EQ(quint8(stream[14]), 128);
    EXPECT_EQ(stream.mid(15), input);
    EXPECT_EQ(TCompressStream::Decompress(stream), input);
}

TEST(Lzrw1Kh, streamsSplitIntoChunksOf32783AndComeBackWhole)
{
    EXPECT_EQ(chunkLengths(TCompressStream::Compress(wordyText(32783, 1))).size(), 1u);
    const std::vector<quint32> twoChunks = chunkLengths(TCompressStream::Compress(wordyText(32784, 1)));
    ASSERT_EQ(twoChunks.size(), 2u);
    EXPECT_EQ(twoChunks[1], 2u);   // one byte, stored

    QByteArray mixed = wordyText(70000, 2) + randomBytes(40000, 3) + QByteArray(9000, '\0') + wordyText(12000, 4);
    const QByteArray stream = TCompressStream::Compress(mixed);
    EXPECT_EQ(chunkLengths(stream).size(), 4u);
    EXPECT_LT(stream.size(), mixed.size());
    EXPECT_EQ(qFromLittleEndian<quint32>(stream.constData() + 6), quint32(stream.size() - 10));
    EXPECT_EQ(TCompressStream::Decompress(stream), mixed);

    const QByteArray empty = TCompressStream::Compress({});
    EXPECT_EQ(empty, QByteArray("PMCS10\0\0\0\0", 10));
    EXPECT_EQ(TCompressStream::Decompress(empty), QByteArray());
}

TEST(Lzrw1Kh, damagedChunksAreRefusedWithoutReadingPastTheirEnd)
{
    // Each view ends one byte early inside a buffer whose next byte would complete it.
    const QByteArray copy = bytes({64, 0x10, 0x00, 'a', 'b', 'c', 0x00, 0x3F});
    EXPECT_THROW(decompressChunk(QByteArrayView(copy).chopped(1)), ELzrw1KHCompressor);
    const QByteArray run = bytes({64, 0x80, 0x00, 0, 0x00, 0x04, 'x'});
    EXPECT_THROW(decompressChunk(QByteArrayView(run).chopped(1)), ELzrw1KHCompressor);
    const QByteArray secondWord = bytes({64, 0x00, 0x00}) + "ABCDEFGHIJKLMNOP" + bytes({0x00, 0x00, 'Q'});
    EXPECT_THROW(decompressChunk(QByteArrayView(secondWord).chopped(2)), ELzrw1KHCompressor);

    // A copy from before the first byte, runs making one byte more than 32783, an
    // unknown flag, a stored chunk longer than a chunk may be, an empty chunk.
    EXPECT_THROW(decompressChunk(bytes({64, 0x40, 0x00, 'a', 0x00, 0x20})), ELzrw1KHCompressor);
    QByteArray tooLong = bytes({64, 0xFF, 0x80});
    for (int i = 0; i < 8; ++i)
        tooLong += bytes({0, 0x0F, 0xEF, 'x'});
    tooLong += bytes({0, 0x00, 0x08, 'x'});
    EXPECT_THROW(decompressChunk(tooLong), ELzrw1KHCompressor);
    EXPECT_THROW(decompressChunk(bytes({65, 'a'})), ELzrw1KHCompressor);
    EXPECT_THROW(decompressChunk(bytes({128}) + QByteArray(32784, 'a')), ELzrw1KHCompressor);
    EXPECT_THROW(decompressChunk(QByteArrayView()), ELzrw1KHCompressor);
}

TEST(Lzrw1Kh, streamWithWrongMagicTotalOrRecordIsRefused)
{
    const QByteArray stream = TCompressStream::Compress(wordyText(40000, 5));
    try {
        TCompressStream::Decompress(QByteArray("PMCS11") + stream.mid(6));
        FAIL() << "no error";
    } catch (const ECompressError& error) {
        EXPECT_EQ(error.Text(), "Wrong file type");
    }
    EXPECT_THROW(TCompressStream::Decompress("PMC"), ECompressError);
    EXPECT_THROW(TCompressStream::Decompress(withTotal(stream, stream.size() - 9)), ECompressError);
    EXPECT_THROW(TCompressStream::Decompress(withTotal(stream.chopped(1), stream.size() - 11)), ECompressError);
    QByteArray recordTooLong = stream;
    qToLittleEndian(quint32(stream.size()), recordTooLong.data() + 10);
    EXPECT_THROW(TCompressStream::Decompress(recordTooLong), ECompressError);
}
