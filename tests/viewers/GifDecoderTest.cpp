// The GIF reader and LZW decoder on GIFs built here byte by byte: version check, code
// size and code table errors, interlaced row order, cut-off files, the extension
// labels, the pixel matrix bounds, the colour tables and the bitmap written from it all.
#include "viewers/image/EGifException.h"
#include "viewers/image/GifToBmp.h"
#include "viewers/image/TByteArray2D.h"
#include "viewers/image/TColorTable.h"
#include "viewers/image/TGifFile.h"

#include <gtest/gtest.h>

#include <QtEndian>
#include <functional>

namespace {

// Codes packed least significant bit first, as GIF data holds them.
class CodePacker {
public:
    void Put(int code, int width)
    {
        m_bits |= uint32_t(code) << m_count;
        for (m_count += width; m_count >= 8; m_count -= 8, m_bits >>= 8)
            m_bytes.append(char(m_bits & 0xFF));
    }
    QByteArray Bytes() const { return m_count > 0 ? m_bytes + char(m_bits & 0xFF) : m_bytes; }

private:
    QByteArray m_bytes;
    uint32_t m_bits = 0;
    int m_count = 0;
};

struct LzwOptions {
    int codeSize = 8;
    bool clearWhenFull = true;
    bool endCode = true;
};

// Every pixel as its own code: no compression, but the code width and the table grow
// exactly as a decoder sees them. Without `clearWhenFull` the table overflows.
QByteArray literalLzw(const QByteArray& pixels, LzwOptions options = {})
{
    const int clear = 1 << options.codeSize;
    int width = options.codeSize + 1;
    int nextFree = clear + 2;
    CodePacker packer;
    packer.Put(clear, width);
    bool first = true;
    for (char pixel : pixels) {
        packer.Put(uint8_t(pixel) & (clear - 1), width);
        if (!first && ++nextFree == 1 << width && width < 12)
            ++width;
        if (nextFree == 4096 && options.clearWhenFull) {
            packer.Put(clear, width);
            width = options.codeSize + 1;
            nextFree = clear + 2;
            first = true;
            continue;
        }
        first = false;
    }
    if (options.endCode)
        packer.Put(clear + 1, width);
    return packer.Bytes();
}

QByteArray subBlocks(const QByteArray& data)
{
    QByteArray out;
    for (qsizetype at = 0; at < data.size(); at += 255)
        out += char(std::min<qsizetype>(255, data.size() - at)) + data.mid(at, 255);
    return out + '\0';
}

QByteArray word(int value)
{
    return QByteArray(1, char(value & 0xFF)) + char(value >> 8);
}

// Header, screen and a 256-entry global table of (i, 255 - i, i / 2).
QByteArray gifHeader(int width, int height, const QByteArray& version = "89a")
{
    QByteArray out = "GIF" + version + word(width) + word(height) + QByteArray("\xF7\x00\x00", 3);
    for (int i = 0; i < 256; ++i)
        out += char(i) + QByteArray(1, char(255 - i)) + char(i / 2);
    return out;
}

QByteArray imageBlock(int width, int height, const QByteArray& data, int codeSize = 8, uint8_t flags = 0,
                      const QByteArray& localTable = {})
{
    return "," + word(0) + word(0) + word(width) + word(height) + char(flags) + localTable + char(codeSize) +
           subBlocks(data);
}

QByteArray gifOf(int width, int height, const QByteArray& pixels, uint8_t flags = 0)
{
    return gifHeader(width, height) + imageBlock(width, height, literalLzw(pixels), 8, flags) + ";";
}

// Row r filled with the byte r: which row came when shows in the matrix.
QByteArray numberedRows(int width, int height)
{
    QByteArray pixels;
    for (int row = 0; row < height; ++row)
        pixels += QByteArray(width, char(row));
    return pixels;
}

std::string errorOf(const std::function<void()>& work)
{
    try {
        work();
    } catch (const EGifException& e) {
        return e.Text().toStdString();
    }
    return "(no error)";
}

std::string loadError(const QByteArray& bytes)
{
    return errorOf([&] { TGifFile().LoadFromBytes(bytes); });
}

QByteArray matrixBytes(const TByteArray2D& matrix)
{
    QByteArray out;
    for (int row = 1; row <= matrix.Height(); ++row)
        out += QByteArray(reinterpret_cast<const char*>(matrix.Row(row)), matrix.Width());
    return out;
}

TEST(GifFile, versionCaseAllowedButUnknownVersionRefused)
{
    const QByteArray body = imageBlock(2, 1, literalLzw("\x01\x02")) + ";";
    TGifFile gif;
    gif.LoadFromBytes(gifHeader(2, 1, "89A") + body);
    ASSERT_EQ(gif.ImageCount(), 1);
    EXPECT_EQ(matrixBytes(gif.Image(0).Pixels()), QByteArray("\x01\x02"));
    EXPECT_EQ(loadError(gifHeader(2, 1, "90a") + body), "Gif Version must be 87a or 89a");
    EXPECT_EQ(loadError("GIF8"), "Gif Version must be 87a or 89a");
}

TEST(GifFile, animatedFileDecodesEveryFrameInOrder)
{
    const QByteArray control = QByteArray("!\xF9\x04\x00\x0A\x00\x00\x00", 8);
    const QByteArray gif = gifHeader(2, 2) + control + imageBlock(2, 2, literalLzw("\x07\x07\x07\x07")) + control +
                           imageBlock(2, 2, literalLzw("\x09\x09\x09\x09")) + ";";
    TGifFile file;
    file.LoadFromBytes(gif);
    ASSERT_EQ(file.ImageCount(), 2);
    EXPECT_EQ(matrixBytes(file.Image(0).Pixels()), QByteArray(4, 7));
    EXPECT_EQ(file.Image(0).Extensions().size(), 1);
    EXPECT_EQ(file.Image(0).Extensions()[0].Kind(), TExtensionKind::GraphicControl);
    EXPECT_EQ(GifToBmp::FirstImage(file).mid(GifToBmp::kPixelDataOffset), QByteArray("\x07\x07\0\0\x07\x07\0\0", 8));

    // Many large frames in a small file: reading stops at the budget, the first stays.
    QByteArray frames = gifHeader(2, 2);
    for (int i = 0; i < 6; ++i)
        frames += imageBlock(2, 2, literalLzw("\x07\x07\x07\x07"));
    TGifFile bounded(4);
    bounded.LoadFromBytes(frames + ";");
    EXPECT_EQ(bounded.ImageCount(), int(TGifFile::kFramesBudget));
}

TEST(GifFile, unknownExtensionLabelNamedInHex)
{
    EXPECT_EQ(loadError(gifHeader(1, 1) + "!\x2A"), "Unrecognized extension block.\r\nCode = $2A");
    EXPECT_EQ(loadError(gifHeader(1, 1) + "!\xAB"), "Unrecognized extension block.\r\nCode = $AB");
}

TEST(GifFile, hugeDescriptorRefusedBeforeAllocating)
{
    const QByteArray gif = gifHeader(1, 1) + imageBlock(65535, 4097, {}) + ";";
    EXPECT_EQ(loadError(gif), "The picture is too large (65535 x 4097 pixels; at most 268,435,456 pixels are shown).");
}

// Every cut of a valid file must end in a described error or a quiet stop, and never
// read past the bytes it was given (the sanitizer builds catch that part).
TEST(GifFile, fileCutAnywhereEndsQuietlyOrWithDescribedError)
{
    const QByteArray comment = QByteArray("!\xFE\x03""abc\x00", 7);
    const QByteArray local = QByteArray(6, '\x11');
    const QByteArray gif = gifHeader(3, 2) + comment +
                           imageBlock(3, 2, literalLzw(numberedRows(3, 2)), 8, 0x80, local) + ";";
    const std::vector<std::string> described = {"(no error)", "Gif Version must be 87a or 89a", "Bad code Size",
                                   "Unrecognized extension block.\r\nCode = $00"};
    for (qsizetype length = 0; length <= gif.size(); ++length) {
        const std::string error = loadError(gif.left(length));
        EXPECT_NE(std::find(described.begin(), described.end(), error), described.end()) << length << ": " << error;
    }
}

TEST(GifLzw, codeSizeOutsideTwoToNineRefused)
{
    for (int size : {1, 10, 0, 255}) {
        const QByteArray gif = gifHeader(1, 1) + imageBlock(1, 1, {}, size) + ";";
        EXPECT_EQ(loadError(gif), "Bad code Size") << size;
    }
}

TEST(GifLzw, fullTableWithoutClearCodeOverflows)
{
    const QByteArray pixels(5000, '\x01');
    const QByteArray gif = gifHeader(100, 50) + imageBlock(100, 50, literalLzw(pixels, {2, false}), 2) + ";";
    EXPECT_EQ(loadError(gif), "Code size overflow");
    // With the clear code an encoder sends there, the same pixels decode.
    const QByteArray cleared = gifHeader(100, 50) + imageBlock(100, 50, literalLzw(pixels, {2, true}), 2) + ";";
    EXPECT_EQ(loadError(cleared), "(no error)");
}

TEST(GifLzw, codesBeyondTheTableRefused)
{
    auto gifWithCodes = [](std::initializer_list<int> codes) {
        CodePacker packer;
        for (int code : codes)
            packer.Put(code, 3);
        return gifHeader(4, 1) + imageBlock(4, 1, packer.Bytes(), 2) + ";";
    };
    EXPECT_EQ(loadError(gifWithCodes({4, 1, 7})), "Bad code");   // next free is 6
    EXPECT_EQ(loadError(gifWithCodes({4, 5})), "Bad code");      // end right after clear
    EXPECT_EQ(loadError(gifWithCodes({4, 1, 6, 5})), "(no error)");   // the code being defined
}

TEST(GifLzw, firstCodeAfterClearBeyondTableReadsAsZero)
{
    CodePacker packer;
    for (int code : {4, 7, 4, 2, 5})
        packer.Put(code, 3);
    TGifFile gif;
    gif.LoadFromBytes(gifHeader(2, 1) + imageBlock(2, 1, packer.Bytes(), 2) + ";");
    EXPECT_EQ(matrixBytes(gif.Image(0).Pixels()), QByteArray("\x00\x02", 2));
}

TEST(GifLzw, interlacedRowsStoredInPassOrder)
{
    TGifFile gif;
    int rowsReported = 0;
    gif.LoadFromBytes(gifOf(3, 10, numberedRows(3, 10), 0x40), [&] { ++rowsReported; });
    const TByteArray2D& pixels = gif.Image(0).Pixels();
    std::vector<int> rowOfArrival(10, -1);
    for (int row = 1; row <= 10; ++row)
        rowOfArrival.at(pixels.At(row, 1)) = row - 1;
    EXPECT_EQ(rowOfArrival, (std::vector<int>{0, 8, 4, 2, 6, 1, 3, 5, 7, 9}));
    EXPECT_EQ(rowsReported, 10);
}

TEST(GifLzw, smallInterlacedPictureSkipsEmptyPasses)
{
    TGifFile gif;
    gif.LoadFromBytes(gifOf(1, 3, "\x01\x02\x03", 0x40));
    EXPECT_EQ(matrixBytes(gif.Image(0).Pixels()), QByteArray("\x01\x03\x02"));
}

TEST(GifLzw, cutDataKeepsDecodedRowsAndClearsTheRest)
{
    const QByteArray lzw = literalLzw(QByteArray(4 * 6, '\x05'), {8, true, false});
    // 9-bit codes: the clear code and ten pixels take 99 bits, enough for 2.5 rows.
    TGifFile gif;
    gif.LoadFromBytes(gifHeader(4, 6) + imageBlock(4, 6, lzw.left(13)));
    EXPECT_EQ(matrixBytes(gif.Image(0).Pixels()), QByteArray(8, 5) + QByteArray(16, 0));
}

TEST(GifLzw, pixelsPastTheLastRowRefused)
{
    EXPECT_EQ(loadError(gifOf(2, 2, QByteArray(6, 1))), "Dynamic array index out of bounds");
    EXPECT_EQ(loadError(gifOf(2, 2, QByteArray(5, 1))), "(no error)");   // half a row is never stored
    EXPECT_EQ(loadError(gifOf(0, 2, "\x01")), "Dynamic array index out of bounds");
}

TEST(GifMatrix, outOfBoundsWrongRowLengthAndNoMemoryRefused)
{
    TByteArray2D matrix(3, 2);
    const uint8_t row[4] = {1, 2, 3, 4};
    matrix.SetRow(2, row, 3);
    EXPECT_EQ(matrix.At(2, 3), 3);
    EXPECT_EQ(matrix.At(1, 1), 0);
    const std::string outOfBounds = "Dynamic array index out of bounds";
    EXPECT_EQ(errorOf([&] { matrix.SetRow(3, row, 3); }), outOfBounds);
    EXPECT_EQ(errorOf([&] { matrix.SetRow(0, row, 3); }), outOfBounds);
    EXPECT_EQ(errorOf([&] { matrix.At(1, 4); }), outOfBounds);
    EXPECT_EQ(errorOf([&] { matrix.At(1, 0); }), outOfBounds);
    EXPECT_EQ(errorOf([&] { matrix.SetRow(1, row, 4); }), "Row doesn't have equal number of elements as Matrix row");
    EXPECT_EQ(errorOf([&] { TBigByteArray(3).At(4); }), outOfBounds);
    EXPECT_EQ(errorOf([&] { TByteArray2D(0, 5).Row(6); }), outOfBounds);
    EXPECT_EQ(errorOf([] { TBigByteArray(qsizetype(1) << 62); }),
              "error in TBigByteArray.create: Not enough contiguous memory available\r\n"
              " requested memory block: 4611686018427387904 bytes");
}

TEST(GifColorTable, stockPalettesForTwoSixteenAndTwoFiftySix)
{
    for (int count : {0, 2}) {
        const TColorTable table(count);
        EXPECT_EQ(table.Count(), count);
        EXPECT_EQ(table.Entry(0), (TRgb{0, 0, 0}));
        EXPECT_EQ(table.Entry(1), (TRgb{255, 255, 255}));
    }
    const TColorTable vga(16);
    EXPECT_EQ(vga.Entry(1), (TRgb{128, 0, 0}));
    EXPECT_EQ(vga.Entry(3), (TRgb{128, 128, 0}));
    EXPECT_EQ(vga.Entry(7), (TRgb{128, 128, 128}));
    EXPECT_EQ(vga.Entry(8), (TRgb{192, 192, 192}));
    EXPECT_EQ(vga.Entry(12), (TRgb{0, 0, 255}));
    EXPECT_EQ(vga.Entry(15), (TRgb{255, 255, 255}));
    const TColorTable grey(256);
    EXPECT_EQ(grey.Entry(0), (TRgb{0, 0, 0}));
    EXPECT_EQ(grey.Entry(200), (TRgb{200, 200, 200}));
    const TGifFile file;
    EXPECT_EQ(errorOf([&] { TGifSubImage(file, 48); }), "Number of colors (48) wrong; must be a power of 2");
}

TEST(GifToBmp, headerPaletteAndBottomUpPaddedRows)
{
    const QByteArray local = QByteArray("\x10\x20\x30\x40\x50\x60", 6);
    TGifFile gif;
    gif.LoadFromBytes(gifHeader(5, 2) + imageBlock(5, 2, literalLzw("\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A"), 8,
                                                   0x80, local));
    const QByteArray bmp = GifToBmp::FirstImage(gif);
    const auto* b = reinterpret_cast<const uchar*>(bmp.constData());
    auto dword = [&](int at) { return qFromLittleEndian<quint32>(b + at); };
    auto hword = [&](int at) { return qFromLittleEndian<quint16>(b + at); };
    EXPECT_EQ(bmp.left(2), "BM");
    EXPECT_EQ(dword(2), quint32(bmp.size()));
    EXPECT_EQ(dword(10), 1078u);
    EXPECT_EQ(dword(14), 40u);
    EXPECT_EQ(dword(18), 5u);
    EXPECT_EQ(dword(22), 2u);
    EXPECT_EQ(hword(26), 1);
    EXPECT_EQ(hword(28), 8);
    EXPECT_EQ(dword(30), 0u);
    EXPECT_EQ(dword(34), 0u);
    EXPECT_EQ(dword(38), 143u);
    EXPECT_EQ(dword(42), 143u);
    EXPECT_EQ(dword(46), 0u);
    EXPECT_EQ(dword(50), 0u);
    // Local table, blue-green-red-0; the entries it lacks stay black.
    EXPECT_EQ(bmp.mid(54, 12), QByteArray("\x30\x20\x10\x00\x60\x50\x40\x00\x00\x00\x00\x00", 12));
    EXPECT_EQ(bmp.mid(1078), QByteArray("\x06\x07\x08\x09\x0A\0\0\0\x01\x02\x03\x04\x05\0\0\0", 16));

    TGifFile global;
    global.LoadFromBytes(gifOf(1, 1, QByteArray(1, 0)));
    EXPECT_EQ(GifToBmp::FirstImage(global).mid(54 + 4 * 200, 4), QByteArray("\x64\x37\xC8\x00", 4));
    EXPECT_EQ(errorOf([] { GifToBmp::FirstImage(TGifFile()); }), "The file holds no picture.");
}

} // namespace
