// JPEG decoding through libjpeg: sizes, scaling, grey and 256-colour output, CMYK,
// the warning for a file that cannot be opened, and broken or oversized pictures.
#include "viewers/image/EImageError.h"
#include "viewers/image/JpegLoader.h"
#include "platform/TMessages.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QColor>
#include <QImageWriter>
#include <QPainter>
#include <QProcess>
#include <vector>

namespace {

// Red on the left, blue on the right.
QByteArray twoColourJpeg(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::red);
    QPainter(&image).fillRect(size.width() / 2, 0, size.width(), size.height(), Qt::blue);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 95);
    return bytes;
}

bool near(QRgb actual, QColor expected)
{
    return std::abs(qRed(actual) - expected.red()) < 24 && std::abs(qGreen(actual) - expected.green()) < 24
        && std::abs(qBlue(actual) - expected.blue()) < 24;
}

std::string describe(const QImage& image, QPoint at)
{
    return QColor(image.pixel(at)).name().toStdString();
}

std::string errorOf(const QByteArray& bytes)
{
    try {
        JpegLoader::FromBytes(bytes);
    } catch (const EImageError& e) {
        return e.Text().toStdString();
    }
    return "no error";
}

TEST(JpegLoader, coloursScaleGreyAndPaletteComeOutRight)
{
    TempDir dir;
    const QString path = dir.makeFile("photo.jpg", twoColourJpeg(QSize(64, 48)));
    const QImage colour = JpegLoader::FromFile(path);
    EXPECT_EQ(colour.size(), QSize(64, 48));
    EXPECT_TRUE(near(colour.pixel(8, 24), Qt::red)) << describe(colour, {8, 24});
    EXPECT_TRUE(near(colour.pixel(56, 24), Qt::blue)) << describe(colour, {56, 24});

    JpegOptions half;
    half.ScaleRatio = 50;
    EXPECT_EQ(JpegLoader::FromFile(path, half).size(), QSize(32, 24));

    JpegOptions grey;
    grey.ForceGray = true;
    const QImage grayImage = JpegLoader::FromFile(path, grey);
    EXPECT_TRUE(grayImage.isGrayscale());
    EXPECT_EQ(grayImage.size(), QSize(64, 48));

    JpegOptions eightBit;
    eightBit.ScreenDepth = 8;
    const QImage indexed = JpegLoader::FromFile(path, eightBit);
    EXPECT_EQ(indexed.format(), QImage::Format_Indexed8);
    EXPECT_LE(indexed.colorCount(), 256);
    EXPECT_TRUE(near(indexed.pixel(8, 24), Qt::red)) << describe(indexed, {8, 24});
    EXPECT_TRUE(near(indexed.pixel(56, 24), Qt::blue)) << describe(indexed, {56, 24});

    // Large enough for pixels of their own mapping, odd width for an uneven row.
    const QImage large = JpegLoader::FromBytes(twoColourJpeg(QSize(1201, 1000)));
    EXPECT_TRUE(near(large.copy().pixel(1190, 990), Qt::blue)) << describe(large, {1190, 990});
}

TEST(JpegLoader, cmykPictureShowsItsColours)
{
    TempDir dir;
    const QString path = dir.filePath("cmyk.jpg");
    if (QProcess::execute("convert", {"-size", "16x16", "xc:red", "-colorspace", "CMYK", path}) != 0)
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    const QImage image = JpegLoader::FromFile(path);
    EXPECT_TRUE(near(image.pixel(8, 8), Qt::red)) << describe(image, {8, 8});
    JpegOptions grey;
    grey.ForceGray = true;
    EXPECT_TRUE(JpegLoader::FromFile(path, grey).isGrayscale());
}

TEST(JpegLoader, unopenableFileWarnsWithNameAndErrorCode)
{
    std::vector<MessageRequest> shown;
    TMessages::SetResponder([&](const MessageRequest& r) {
        shown.push_back(r);
        return MsgResult::Ok;
    });
    const QImage image = JpegLoader::FromFile("/no/such/folder/photo.jpg");
    TMessages::SetResponder({});
    EXPECT_TRUE(image.isNull());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Can't open /no/such/folder/photo.jpg (error code 2)");
    EXPECT_EQ(shown[0].kind, MsgKind::Warning);
    EXPECT_EQ(shown[0].buttons, MsgButtons::Ok);
}

TEST(JpegLoader, brokenPictureThrowsLibjpegTextButCutScanStillShows)
{
    const QByteArray good = twoColourJpeg(QSize(64, 48));
    EXPECT_EQ(errorOf("GIF89a not a jpeg at all"), "Not a JPEG file: starts with 0x47 0x49");
    EXPECT_EQ(errorOf({}), "Empty input file");
    EXPECT_EQ(errorOf(good.left(20)), "JPEG datastream contains no image");
    TempDir dir;
    EXPECT_THROW(JpegLoader::FromFile(dir.makeFile("cut.jpg", good.left(20))), EImageError);
    // Data ending inside the scan is libjpeg's warning, not an error: the rows that
    // arrived are worth showing.
    EXPECT_EQ(JpegLoader::FromBytes(good.left(good.size() - 40)).size(), QSize(64, 48));
}

TEST(JpegLoader, endlessScansAreRefused)
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "JPG");
    writer.setProgressiveScanWrite(true);
    ASSERT_TRUE(writer.write(image));
    // The last scan again and again: libjpeg only warns about a scan repeated.
    const qsizetype lastScan = bytes.lastIndexOf("\xFF\xDA");
    const QByteArray scan = bytes.mid(lastScan, bytes.size() - 2 - lastScan);
    bytes.insert(bytes.size() - 2, scan.repeated(600));
    EXPECT_EQ(errorOf(bytes), "The picture has more than 500 scans.");
}

TEST(JpegLoader, hugeHeaderIsRefusedBeforeAllocating)
{
    QByteArray bytes = twoColourJpeg(QSize(16, 16));
    const qsizetype sof = bytes.indexOf("\xFF\xC0");
    ASSERT_GT(sof, 0);
    const char dims[] = {char(0xFD), char(0xE8), char(0xFD), char(0xE8)}; // 65000 x 65000
    bytes.replace(sof + 5, 4, QByteArray(dims, 4));
    EXPECT_EQ(errorOf(bytes),
              "The picture is too large (65000 x 65000 pixels; at most 268,435,456 pixels are shown).");
}

} // namespace
