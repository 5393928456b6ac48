// The item hint: the lines each kind of item shows, in order, and the window that
// shows them next to the cursor until the cursor leaves the item.
#include "viewers/ItemHint.h"
#include "viewers/ItemHintWindow.h"

#include "core/DateTexts.h"
#include "core/DosTime.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QScreen>

namespace {

const QDate kDay(2024, 3, 5);

QString DateLine()
{
    return ShortDateText(kDay) + " 14:07";
}

HintEntry Entry(HintEntry::Kind kind, const QString& name)
{
    HintEntry entry;
    entry.EntryKind = kind;
    entry.Name = name;
    entry.DosTime = *PackDosTime(QDateTime(kDay, QTime(14, 7)));
    return entry;
}

TEST(ItemHint, fileLinesMissingOrOutOfOrder)
{
    HintEntry file = Entry(HintEntry::Kind::File, "a<b>.mp3");
    file.Size = 1234567;
    file.Viewable = true;
    file.Readonly = true;
    file.Description = "notes";
    file.Mp3Info = "\rTitle : Song";
    file.ZipComment = "hi";
    EXPECT_EQ(ItemHint::Text(file), "a<b>.mp3\r" + DateLine() +
                                        "\rSize : 1,234,567 bytes\rSupported, Readonly\rTitle : Song"
                                        "\rZip comment:\rhi\rnotes");
}

TEST(ItemHint, folderWithUnknownSizeClaimsSupportedOrSize)
{
    HintEntry folder = Entry(HintEntry::Kind::Directory, "docs");
    folder.Viewable = true;
    folder.Hidden = true;
    EXPECT_EQ(ItemHint::Text(folder), "docs\r" + DateLine() + "\rTotal size : <unknown>\rHidden");
}

TEST(ItemHint, measuredFolderOrParentLacksTotals)
{
    HintEntry folder = Entry(HintEntry::Kind::Directory, "docs");
    folder.SizeKnown = true;
    folder.Size = 2048000;
    folder.AllocatedSize = 2101248;
    folder.DirCount = 3;
    folder.FileCount = 12;
    const QString totals = "\rTotal size : 2,048,000 bytes\rBytes used : 2,101,248\r3 dirs and 12 files";
    EXPECT_EQ(ItemHint::Text(folder), "docs\r" + DateLine() + totals);
    folder.EntryKind = HintEntry::Kind::Parent;
    folder.Name = "..";
    EXPECT_EQ(ItemHint::Text(folder), "..\r" + DateLine() + totals);
}

TEST(ItemHint, unconvertibleStampNotSaidInvalid)
{
    HintEntry file = Entry(HintEntry::Kind::File, "x");
    file.DosTime = 0; // month 0
    file.Size = 0;
    EXPECT_EQ(ItemHint::Text(file), "x\r<invalid date>\rSize : 0 bytes");
}

TEST(ItemHint, driveSpaceLinesWrongOrShownWhenNotReady)
{
    HintEntry drive = Entry(HintEntry::Kind::Drive, "/media/usb");
    drive.DosTime = 0;
    drive.TotalBytes = 1024000;
    drive.FreeBytes = 256000;
    EXPECT_EQ(ItemHint::Text(drive), "/media/usb");
    drive.ShowsSpace = true;
    const QString space = "Size : 1,000 KB\rUsed : 750 KB\rFree : 250 KB";
    EXPECT_EQ(ItemHint::Text(drive), "/media/usb\r" + space);
    drive.EntryKind = HintEntry::Kind::DriveButton;
    EXPECT_EQ(ItemHint::Text(drive), space);
}

TEST(ItemHint, maxWidthIgnoresNarrowListFloor)
{
    EXPECT_EQ(ItemHint::MaxWidth(100), 180);
    EXPECT_EQ(ItemHint::MaxWidth(239), 180);
    EXPECT_EQ(ItemHint::MaxWidth(400), 300);
}

class ItemHintWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_owner.setGeometry(0, 0, 400, 300);
        m_owner.show();
    }
    void TearDown() override { ItemHintWindow::Hide(); }

    QWidget m_owner;
};

TEST_F(ItemHintWindowTest, hintMisplacedUnwrappedOrOffScreen)
{
    const QString text = "averyveryveryveryveryveryveryverylongnamewithoutspaces<b>.txt\r"
                         "a description long enough to need more than one line at this width";
    ItemHintWindow::Show(&m_owner, QPoint(100, 100), QRect(50, 90, 200, 20), text, 180);
    ItemHintWindow* hint = ItemHintWindow::Current();
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(hint->isVisible());
    EXPECT_EQ(hint->pos(), QPoint(110, 110));
    EXPECT_LE(hint->width(), 180);
    EXPECT_GE(hint->height(), 4 * hint->fontMetrics().lineSpacing());
    EXPECT_EQ(hint->objectName(), "ItemHint");
    EXPECT_EQ(hint->accessibleName(), text);

    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint corner = area.bottomRight() - QPoint(5, 5);
    ItemHintWindow::Show(&m_owner, corner, QRect(corner, QSize(1, 1)), text, 180);
    hint = ItemHintWindow::Current();
    EXPECT_TRUE(area.contains(hint->geometry()));
    EXPECT_FALSE(hint->geometry().contains(corner)) << "the hint would take the mouse from the item";
}

TEST_F(ItemHintWindowTest, hintOutlivesCursorLeavingOrKeyPress)
{
    ItemHintWindow::Show(&m_owner, QPoint(100, 100), QRect(50, 90, 200, 20), "hint", 180);
    ASSERT_NE(ItemHintWindow::Current(), nullptr);
    ItemHintWindow::Current()->CursorMovedTo(QPoint(240, 109));
    ASSERT_NE(ItemHintWindow::Current(), nullptr) << "hidden while still on the item";
    ItemHintWindow::Current()->CursorMovedTo(QPoint(240, 110));
    EXPECT_EQ(ItemHintWindow::Current(), nullptr);

    ItemHintWindow::Show(&m_owner, QPoint(100, 100), QRect(50, 90, 200, 20), "hint", 180);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QApplication::sendEvent(&m_owner, &press);
    EXPECT_EQ(ItemHintWindow::Current(), nullptr);

    ItemHintWindow::Show(&m_owner, QPoint(100, 100), QRect(50, 90, 200, 20), "hint", 180);
    m_owner.hide();
    EXPECT_EQ(ItemHintWindow::Current(), nullptr);
}

} // namespace
