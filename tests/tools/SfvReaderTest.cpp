// Reading SFV files: which lines make which rows, the line limit and line ends.
#include "tools/sfv/SfvReader.h"

#include "support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

TEST(SfvReader, sizeAndChecksumLinesMeetInOneRowPerNameWhateverTheCase)
{
    const std::vector<SfvEntry> rows = SfvReader::Parse(
        "; a comment\r\n"
        ";         1234  14:28.19 2024-01-31 Only Sized.BIN\r\n"
        ";           10  14:28.19 2024-01-31 Track.mp3\r\n"
        "TRACK.MP3 11111111\r\n"
        "track.mp3 2222aaaa\r\n"
        "nospace\r\n");
    ASSERT_EQ(rows.size(), 2u) << "comments and lines without a space make no row";

    EXPECT_EQ(rows[0].Key, "only sized.bin");
    EXPECT_EQ(rows[0].Written, "Only Sized.BIN") << "the name as written is kept for opening";
    EXPECT_EQ(rows[0].Length, "1234");
    EXPECT_EQ(rows[0].Crc, "") << "a size line gives no CRC";

    EXPECT_EQ(rows[1].Key, "track.mp3");
    EXPECT_EQ(rows[1].Written, "Track.mp3") << "the first spelling names the file";
    EXPECT_EQ(rows[1].Length, "10");
    EXPECT_EQ(rows[1].Crc, "2222aaaa") << "the later CRC replaces the earlier, as written";
}

TEST(SfvReader, checksumIsAfterTheLastSpaceAndMustBeA32BitHexNumber)
{
    const std::vector<SfvEntry> rows = SfvReader::Parse(
        "My Song.mp3 0A1B2C3D\n"
        "short.bin 1B2C3D\n"
        "padded.bin 000000001B2C3D4E\n"
        "toolong.bin 1B2C3D4E5\n"
        "nothex.bin 0A1B2C3G\n"
        "trailing.bin \n"
        " 12345678\n");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].Key, "my song.mp3");
    EXPECT_EQ(rows[0].Crc, "0A1B2C3D");
    EXPECT_EQ(rows[1].Crc, "1B2C3D") << "kept as written, without the missing zeros";
    EXPECT_EQ(rows[2].Crc, "000000001B2C3D4E") << "leading zeros do not make it longer than 32 bits";
}

TEST(SfvReader, onlyTheFirst1024BytesOfALineCount)
{
    const QByteArray head = QByteArray(1015, 'a') + " ABCDEF01";   // 1024 bytes
    const QByteArray tail = QByteArray(967, 'b') + " 12345678";    // would move the last space
    ASSERT_EQ((head + tail).size(), 2000);
    const std::vector<SfvEntry> rows = SfvReader::Parse(head + tail + "\nnext.bin 00000001\n");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].Written, QByteArray(1015, 'a'));
    EXPECT_EQ(rows[0].Crc, "ABCDEF01");
    EXPECT_EQ(rows[1].Key, "next.bin") << "the line after a long one is read whole";
}

TEST(SfvReader, everyLineEndReadsAcrossTheReadBuffersBoundaries)
{
    // CR LF, LF CR, a lone CR and a lone LF, with lines falling across the 10240-byte
    // reads of the file at every offset in turn.
    const char* ends[] = {"\r\n", "\n\r", "\r", "\n"};
    QByteArray sfv;
    int lines = 0;
    while (sfv.size() < 3 * SfvReader::kBufferSize) {
        sfv += "file" + QByteArray::number(lines) + ".bin " + QByteArray::number(lines, 16) + ends[lines % 4];
        ++lines;
    }
    TempDir dir;
    const std::optional<std::vector<SfvEntry>> rows = SfvReader::ReadFile(QFile::encodeName(dir.makeFile("a.sfv", sfv)));
    ASSERT_TRUE(rows.has_value());
    ASSERT_EQ(int(rows->size()), lines);
    for (int i = 0; i < lines; ++i) {
        ASSERT_EQ((*rows)[size_t(i)].Written, "file" + QByteArray::number(i) + ".bin");
        ASSERT_EQ((*rows)[size_t(i)].Crc, QString::number(i, 16));
    }
}

TEST(SfvReader, badBytesAreNamesLikeAnyOther)
{
    // A NUL or an invalid UTF-8 byte in a name stays in the name; nothing is lost or
    // read outside the line.
    const std::vector<SfvEntry> rows = SfvReader::Parse(QByteArray("a\0b\xff.BIN 1\n", 11));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].Written, QByteArray("a\0b\xff.BIN", 8));
    EXPECT_EQ(rows[0].Key, SfvReader::KeyOf(rows[0].Written));
}
