// The picture control and the image frame: where each scale style puts the picture,
// which loader an extension picks, the busy cursor, see-through corners, the rubber
// band, and the frame's hint.
#include "viewers/image/EImageError.h"
#include "viewers/image/TEnhImage.h"
#include "viewers/image/TFRVwImage.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QMouseEvent>

namespace {

using Layout = TEnhImage::Layout;

QByteArray encoded(QSize size, const char* format)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QRect paintRect(QSize client, QSize picture, TEnhImage::TScaleStyle style, bool overSize = false, bool center = false,
                bool border = false)
{
    return TEnhImage::PaintRect(client, picture, Layout{style, overSize, center, border});
}

TEST(TEnhImagePaintRect, eachScaleStyleSizesThePicture)
{
    const QSize pane(200, 100);
    EXPECT_EQ(paintRect(pane, {400, 300}, TEnhImage::ssNormal), QRect(0, 0, 400, 300));
    EXPECT_EQ(paintRect(pane, {50, 40}, TEnhImage::ssStretchXY), QRect(0, 0, 200, 100));
    EXPECT_EQ(paintRect(pane, {50, 40}, TEnhImage::ssStretchX), QRect(0, 0, 200, 40));
    EXPECT_EQ(paintRect(pane, {50, 40}, TEnhImage::ssStretchY), QRect(0, 0, 50, 100));
    // The smaller ratio wins and fractions are dropped: 400 / 3 = 133.3.
    EXPECT_EQ(paintRect(pane, {400, 300}, TEnhImage::ssScale), QRect(0, 0, 133, 100));
    EXPECT_EQ(paintRect(pane, {1000, 300}, TEnhImage::ssScale), QRect(0, 0, 200, 60));
}

TEST(TEnhImagePaintRect, smallPictureStaysNaturalUnderScaleUnlessOverSize)
{
    EXPECT_EQ(paintRect({200, 100}, {50, 40}, TEnhImage::ssScale), QRect(0, 0, 50, 40));
    EXPECT_EQ(paintRect({200, 100}, {50, 40}, TEnhImage::ssScale, true), QRect(0, 0, 125, 100));
    // 15.0 / 11 * 11 is a hair under 15 in floating point; the fitting side must not lose it.
    EXPECT_EQ(paintRect({15, 15}, {11, 11}, TEnhImage::ssScale, true), QRect(0, 0, 15, 15));
}

TEST(TEnhImagePaintRect, centerAndBorderShiftWithinTheArea)
{
    EXPECT_EQ(paintRect({200, 100}, {50, 40}, TEnhImage::ssNormal, false, true), QRect(75, 30, 50, 40));
    EXPECT_EQ(paintRect({202, 102}, {50, 40}, TEnhImage::ssNormal, false, true, true), QRect(76, 31, 50, 40));
    EXPECT_EQ(paintRect({202, 102}, {50, 40}, TEnhImage::ssNormal, false, false, true), QRect(1, 1, 50, 40));
    EXPECT_EQ(paintRect({202, 102}, {50, 40}, TEnhImage::ssStretchXY, false, false, true), QRect(1, 1, 200, 100));
    EXPECT_EQ(paintRect({200, 100}, {400, 300}, TEnhImage::ssNormal, false, true), QRect(-100, -100, 400, 300));
}

TEST(TEnhImage, extensionPicksTheLoaderAndCursorIsRestored)
{
    TempDir dir;
    const QByteArray jpeg = encoded({64, 48}, "JPG");
    TEnhImage image;
    image.SetScaleRatio(50); // only the JPEG loader scales
    image.LoadFromFile(dir.makeFile("photo.JFIF", jpeg));
    EXPECT_EQ(image.Picture().size(), QSize(32, 24));
    image.LoadFromFile(dir.makeFile("photo.jpeg", jpeg));
    EXPECT_EQ(image.Picture().size(), QSize(32, 24));
    image.LoadFromFile(dir.makeFile("photo.bmp", encoded({20, 10}, "BMP")));
    EXPECT_EQ(image.Picture().size(), QSize(20, 10));

    EXPECT_THROW(image.LoadFromFile(dir.makeFile("photo.gif", jpeg)), EImageError);
    try {
        image.LoadFromFile(dir.makeFile("broken.bmp", "BM nonsense"));
        ADD_FAILURE() << "a broken BMP loaded";
    } catch (const EImageError& e) {
        EXPECT_TRUE(e.Text().contains("broken.bmp")) << e.Text().toStdString();
    }
    EXPECT_EQ(image.Picture().size(), QSize(20, 10)) << "a failed load keeps the picture";
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(TEnhImage, transparentShowsButtonFaceWhereBottomLeftColourIs)
{
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    picture.setPixel(0, 1, qRgb(255, 0, 0));
    picture.setPixel(1, 0, qRgb(255, 0, 0));
    TEnhImage image;
    image.resize(20, 20);
    image.SetScaleStyle(TEnhImage::ssStretchXY);
    image.SetTransparent(true);
    image.SetPicture(picture);
    const QImage shown = image.grab().toImage();
    EXPECT_EQ(shown.pixelColor(15, 5), image.palette().color(QPalette::Button));
    EXPECT_EQ(shown.pixelColor(5, 15), image.palette().color(QPalette::Button));
    EXPECT_EQ(shown.pixelColor(5, 5), QColor(Qt::blue));
}

void drag(TEnhImage& image, QPoint from, QPoint to)
{
    auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, image.mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(&image, &event);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton);
    send(QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::NoButton);
}

TEST(TEnhImage, dragSelectsOrderedRectOnlyWhenSelectable)
{
    TEnhImage image;
    std::vector<QRect> selections;
    QObject::connect(&image, &TEnhImage::Selection, [&](const QRect& r) { selections.push_back(r); });
    drag(image, {50, 40}, {10, 5});
    EXPECT_TRUE(selections.empty());
    image.SetSelectable(true);
    drag(image, {50, 40}, {10, 5});
    drag(image, {10, 40}, {50, 5});
    ASSERT_EQ(selections.size(), 2u);
    EXPECT_EQ(selections[0], QRect(QPoint(10, 5), QPoint(50, 40)));
    EXPECT_EQ(selections[1], QRect(QPoint(10, 5), QPoint(50, 40)));
}

TEST(TFRVwImage, hintFollowsThePictureAndFailedLoadLeavesNoOldPicture)
{
    TempDir dir;
    TFRVwImage frame;
    TEnhImage* control = frame.findChild<TEnhImage*>("VWImage");
    ASSERT_NE(control, nullptr);
    frame.Load(dir.makeFile("photo.jpg", encoded({64, 48}, "JPG")));
    EXPECT_EQ(frame.Hint(), "64x48 pixel");
    EXPECT_EQ(control->toolTip(), "64x48 pixel");
    EXPECT_THROW(frame.Load(dir.makeFile("other.jpg", "not a jpeg")), EImageError);
    EXPECT_TRUE(control->Picture().isNull());
    EXPECT_TRUE(frame.Hint().isEmpty());
}

} // namespace
