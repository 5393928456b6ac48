// Texts of a row's cells: size units, shortening to a column width without splitting a
// character, and which entries show a size or time at all.
#include "app/CellTexts.h"

#include "AppTestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>

namespace {

TEST(CellTexts, sizeUnitSwitchesAtTheWrongValue)
{
    EXPECT_EQ(CellTexts::SizeText(999), "999");
    EXPECT_EQ(CellTexts::SizeText(1000), "1 KB");
    EXPECT_EQ(CellTexts::SizeText(1536), "1.5 KB");
    EXPECT_EQ(CellTexts::SizeText(1022976), "999 KB");
    EXPECT_EQ(CellTexts::SizeText(1022977), "1 MB");
    EXPECT_EQ(CellTexts::SizeText(int64_t(5) << 30), "5,120 MB");
    EXPECT_EQ(CellTexts::SizeText(-5), "-5");
}

TEST(CellTexts, fittedTextOverrunsWidthOrCutsTooMuch)
{
    const QFontMetrics fm(QApplication::font());
    const QString text = QStringLiteral("a rather long file name that will not fit.txt");
    const QString mark = QStringLiteral("...");
    const int full = fm.horizontalAdvance(text);
    const int markWidth = fm.horizontalAdvance(mark);
    EXPECT_EQ(CellTexts::FitText(fm, text, full, mark, true), text);
    for (int width : {full - 1, full / 2, markWidth + 1}) {
        SCOPED_TRACE(width);
        // Mark and text are measured apart: their sum must fit, and one more
        // character must not.
        const QString tail = CellTexts::FitText(fm, text, width, mark, true);
        ASSERT_TRUE(tail.endsWith(mark));
        const QString kept = tail.chopped(mark.size());
        EXPECT_TRUE(text.startsWith(kept));
        EXPECT_LE(markWidth + fm.horizontalAdvance(kept), width);
        EXPECT_GT(markWidth + fm.horizontalAdvance(text.left(kept.size() + 1)), width);

        const QString head = CellTexts::FitText(fm, text, width, mark, false);
        ASSERT_TRUE(head.startsWith(mark));
        const QString rest = head.mid(mark.size());
        EXPECT_TRUE(text.endsWith(rest));
        EXPECT_LE(markWidth + fm.horizontalAdvance(rest), width);
        EXPECT_GT(markWidth + fm.horizontalAdvance(text.right(rest.size() + 1)), width);

        // Descriptions lose their first characters without a mark.
        const QString desc = CellTexts::FitText(fm, text, width, QString(), false);
        EXPECT_TRUE(text.endsWith(desc));
        EXPECT_LE(fm.horizontalAdvance(desc), width);
        EXPECT_FALSE(desc.isEmpty());
    }
    EXPECT_EQ(CellTexts::FitText(fm, text, 0, mark, true), mark);
    EXPECT_EQ(CellTexts::FitText(fm, text, 0, mark, false), mark);
    EXPECT_EQ(CellTexts::FitText(fm, text, 0, QString(), false), QString());
}

TEST(CellTexts, fittedTextSplitsSurrogatePair)
{
    const QFontMetrics fm(QApplication::font());
    const QString text = QString::fromUtf8("a\xF0\x9F\x98\x80" "b\xF0\x9F\x8E\x89" "c\xF0\x9F\x98\x80" "d");
    for (int width = 0; width <= fm.horizontalAdvance(text); ++width) {
        for (bool atEnd : {true, false}) {
            for (const QString& mark : {QStringLiteral("..."), QString()}) {
                const QString fitted = CellTexts::FitText(fm, text, width, mark, atEnd);
                // A lone surrogate does not survive a round trip through UTF-8.
                EXPECT_EQ(QString::fromUtf8(fitted.toUtf8()), fitted) << width << " " << atEnd;
            }
        }
    }
}

TEST(CellTexts, entryShowsSizeOrTimeItDoesNotHave)
{
    TFileData drive;
    drive.Kind = fkDrive;
    drive.Size = 0;
    EXPECT_EQ(EntryTexts::Size(drive, false), "");
    EXPECT_EQ(EntryTexts::Time(drive), "");

    TFileData folder;
    folder.Kind = fkDirectory;
    folder.AllocatedSize = 8192;
    EXPECT_EQ(EntryTexts::Size(folder, true), "");          // not measured yet
    folder.Size = 500;
    EXPECT_EQ(EntryTexts::Size(folder, false), "500");
    EXPECT_EQ(EntryTexts::Size(folder, true), "8 KB");

    TFileData file;
    file.Size = 500;
    file.AllocatedSize = 8192;
    EXPECT_EQ(EntryTexts::Size(file, true), "500");
    EXPECT_EQ(EntryTexts::Time(file), "<invalid date>");     // packed 0: month 0
    file.Time = (44u << 25) | (7u << 21) | (15u << 16) | (13u << 11) | (5u << 5);   // 2024-07-15 13:05
    EXPECT_TRUE(EntryTexts::Time(file).endsWith(" 13:05")) << EntryTexts::Time(file).toStdString();
}

} // namespace
