// GIF pictures as the picture control gets them: files written by ImageMagick decoded
// pixel for pixel and colour for colour as giflib decodes them, the first frame of an
// animation, an unreadable file, and the largest picture the decoder accepts.
#include "viewers/image/EGifException.h"
#include "viewers/image/TGifBitmap.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <gif_lib.h>

namespace {

bool makeWithConvert(const QStringList& arguments)
{
    QProcess convert;
    convert.start(QStringLiteral("convert"), arguments);
    return convert.waitForFinished(60000) && convert.exitStatus() == QProcess::NormalExit && convert.exitCode() == 0;
}

// Compares every pixel's palette index and the colour it stands for with giflib's
// decoding of the first image.
void expectSameAsGiflib(const QString& path)
{
    SCOPED_TRACE(path.toStdString());
    int error = 0;
    GifFileType* gif = DGifOpenFileName(QFile::encodeName(path).constData(), &error);
    ASSERT_NE(gif, nullptr);
    ASSERT_EQ(DGifSlurp(gif), GIF_OK);
    const SavedImage& first = gif->SavedImages[0];
    const ColorMapObject* colors = first.ImageDesc.ColorMap ? first.ImageDesc.ColorMap : gif->SColorMap;
    const QImage image = TGifBitmap::FromFile(path);
    ASSERT_EQ(image.width(), first.ImageDesc.Width);
    ASSERT_EQ(image.height(), first.ImageDesc.Height);
    ASSERT_EQ(image.format(), QImage::Format_Indexed8);
    int mismatches = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int index = first.RasterBits[y * image.width() + x];
            const GifColorType rgb = colors->Colors[index];
            mismatches += image.pixelIndex(x, y) != index || image.pixel(x, y) != qRgb(rgb.Red, rgb.Green, rgb.Blue);
        }
    }
    EXPECT_EQ(mismatches, 0);
    DGifCloseFile(gif, &error);
}

TEST(GifBitmap, toolMadeFilesDecodeAsGiflibDecodesThem)
{
    if (QStandardPaths::findExecutable(QStringLiteral("convert")).isEmpty())
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    TempDir dir;
    const QList<QStringList> pictures = {
        {"-size", "97x61", "gradient:red-blue", "-colors", "200"},
        {"-size", "97x61", "gradient:red-blue", "-colors", "200", "-interlace", "GIF"},
        {"-size", "33x17", "pattern:checkerboard", "-colors", "2"},
        // Noise fills the code table many times over: clear codes at every width.
        {"-seed", "7", "-size", "640x480", "plasma:fractal", "-colors", "256"},
        {"-seed", "7", "-size", "301x203", "plasma:fractal", "-colors", "16", "-interlace", "GIF"},
    };
    for (int i = 0; i < pictures.size(); ++i) {
        const QString path = dir.filePath(QStringLiteral("picture%1.gif").arg(i));
        ASSERT_TRUE(makeWithConvert(pictures[i] + QStringList{path})) << i;
        expectSameAsGiflib(path);
    }
}

TEST(GifBitmap, animationShowsItsFirstFrame)
{
    if (QStandardPaths::findExecutable(QStringLiteral("convert")).isEmpty())
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    TempDir dir;
    const QString path = dir.filePath(QStringLiteral("anim.gif"));
    ASSERT_TRUE(makeWithConvert({"-delay", "10", "-size", "16x8", "xc:red", "xc:blue", "xc:lime", "-loop", "0", path}));
    int rows = 0;
    const QImage image = TGifBitmap::FromFile(path, [&] { ++rows; });
    ASSERT_EQ(image.size(), QSize(16, 8));
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(15, 7), qRgb(255, 0, 0));
    EXPECT_GE(rows, 8);   // every decoded row of every frame
}

TEST(GifBitmap, unreadableFileNamedInTheError)
{
    TempDir dir;
    const QString path = dir.filePath(QStringLiteral("missing.gif"));
    try {
        TGifBitmap::FromFile(path);
        FAIL() << "no error";
    } catch (const EImageError& e) {
        EXPECT_TRUE(e.Text().contains(path)) << e.Text().toStdString();
    }
}

// 16383 x 16385 is just within the decoder's bound, but its rows padded to 4 bytes
// take the QImage past Qt's default 256 MB allocation limit.
TEST(GifBitmap, largestAcceptedPictureStillLoads)
{
    auto word = [](int value) { return QByteArray(1, char(value & 0xFF)) + char(value >> 8); };
    // No compressed data: every row stays at colour 0, here (16, 32, 48).
    const QByteArray gif = "GIF89a" + word(1) + word(1) + QByteArray("\x80\x00\x00", 3) +
                           QByteArray("\x10\x20\x30\xFF\xFF\xFF", 6) + "," + word(0) + word(0) + word(16383) +
                           word(16385) + QByteArray("\x00\x08\x00", 3) + ";";
    const QImage image = TGifBitmap::FromBytes(gif);
    ASSERT_EQ(image.size(), QSize(16383, 16385));
    EXPECT_EQ(image.pixel(0, 0), qRgb(16, 32, 48));
    EXPECT_EQ(image.pixel(16382, 16384), qRgb(16, 32, 48));
}

} // namespace
