// Checking files against SFV rows: what each status means, SFV files written by cksfv,
// names in another case.
#include "SfvTestSupport.h"

#include "core/Crc32.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace sfvtest;
using Status = SfvValidator::Status;

TEST(Crc32, givesTheCheckValueWholeOrInPieces)
{
    EXPECT_EQ(Crc32::Of("123456789"), 0xCBF43926u);
    EXPECT_EQ(Crc32::Of({}), 0u);
    const QByteArray bytes = pattern(100000);
    Crc32 pieces;
    for (qsizetype at = 0; at < bytes.size(); at += 20480)
        pieces.Update(bytes.constData() + at, std::min<qsizetype>(20480, bytes.size() - at));
    EXPECT_EQ(pieces.Value(), Crc32::Of(bytes));
}

TEST(SfvValidator, filesListedByCksfvValidateAndDamageIsReported)
{
    TempDir dir;
    // Sizes around the 20480-byte block: empty, one byte, one block, one block and a byte.
    const QList<qint64> sizes = {0, 1, 20480, 20481, 100000};
    QStringList names;
    for (const qint64 size : sizes) {
        names << QStringLiteral("file %1.bin").arg(size);
        dir.makeFile(names.last(), pattern(size, int(size)));
    }
    ASSERT_TRUE(writeWithCksfv(dir, "all.sfv", names)) << "cksfv must be installed (scripts/install-deps.sh)";

    const std::optional<std::vector<SfvEntry>> rows = SfvReader::ReadFile(QFile::encodeName(dir.filePath("all.sfv")));
    ASSERT_TRUE(rows.has_value());
    ASSERT_EQ(rows->size(), size_t(sizes.size()));
    for (size_t i = 0; i < rows->size(); ++i) {
        EXPECT_EQ((*rows)[i].Length, QString::number(sizes[int(i)])) << "cksfv's size lines are read";
        EXPECT_EQ((*rows)[i].Crc.size(), 8);
    }
    for (const auto& [name, status] : validate(dir, *rows))
        EXPECT_EQ(status, Status::ValidatedOk) << name.toStdString();

    QByteArray damaged = pattern(100000, 100000);
    damaged[50000] = char(damaged[50000] ^ 1);
    dir.makeFile("file 100000.bin", damaged);
    dir.makeFile("file 20481.bin", pattern(20480, 20481));
    QFile::remove(dir.filePath("file 1.bin"));
    const auto after = validate(dir, *rows);
    EXPECT_EQ(after.at("file 100000.bin"), Status::CrcDiffers);
    EXPECT_EQ(after.at("file 20481.bin"), Status::SizeDiffers);
    EXPECT_EQ(after.at("file 1.bin"), Status::UnableToOpen);
    EXPECT_EQ(after.at("file 20480.bin"), Status::ValidatedOk) << "the rows after a failure are still checked";
    EXPECT_EQ(after.at("file 0.bin"), Status::ValidatedOk);
}

TEST(SfvValidator, crcMustBeWrittenInFullAndASizeLineAloneNeverValidates)
{
    // Content whose CRC has leading zeros.
    QByteArray content;
    for (int i = 0; Crc32::Of(content) >= 0x01000000u; ++i)
        content = QByteArray::number(i);
    const QString crc = QString::asprintf("%.8X", Crc32::Of(content));
    TempDir dir;
    dir.makeFile("z.bin", content);
    const QByteArray size = QByteArray::number(content.size());
    const QByteArray sizeLine = ";" + QByteArray(13 - size.size(), ' ') + size + "  14:28.19 2024-01-31 z.bin\n";

    EXPECT_EQ(validateText(dir, "z.bin " + crc.toLower().toLatin1()).at("z.bin"), Status::ValidatedOk);
    EXPECT_EQ(validateText(dir, "z.bin " + crc.mid(2).toLatin1()).at("z.bin"), Status::CrcDiffers);
    EXPECT_EQ(validateText(dir, sizeLine).at("z.bin"), Status::CrcDiffers);
    EXPECT_EQ(validateText(dir, sizeLine + "z.bin " + crc.toLatin1()).at("z.bin"), Status::ValidatedOk);
    const QByteArray notANumber = ";" + QByteArray(12 - size.size(), ' ') + "x" + size + "  14:28.19 2024-01-31 z.bin\n";
    EXPECT_EQ(validateText(dir, notANumber + "z.bin " + crc.toLatin1()).at("z.bin"), Status::SizeDiffers);
}

TEST(SfvValidator, aNameInAnotherCaseFindsTheOneFileSoNamed)
{
    TempDir dir;
    dir.makeFile("movie.avi", "movie");
    dir.makeFile("Exact.txt", "exact");
    dir.makeFile("EXACT.TXT", "other");
    dir.makeFile("Twin.dat", "one");
    dir.makeFile("TWIN.dat", "one");
    const QByteArray sfv = "MOVIE.AVI " + crcText("movie") + "\nExact.txt " + crcText("exact") + "\ntwin.DAT "
                           + crcText("one") + "\n";
    const auto statuses = validateText(dir, sfv);
    EXPECT_EQ(statuses.at("movie.avi"), Status::ValidatedOk);
    EXPECT_EQ(statuses.at("exact.txt"), Status::ValidatedOk) << "the exact name wins over another case";
    EXPECT_EQ(statuses.at("twin.dat"), Status::UnableToOpen) << "two candidates: none is guessed";
}

TEST(SfvValidator, aFifoOrFolderUnderAListedNameIsUnopenableAndDoesNotHang)
{
    TempDir dir;
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("pipe.bin")).constData(), 0600), 0);
    dir.makeDir("folder.bin");
    const auto statuses = validateText(dir, "pipe.bin 00000000\nfolder.bin 00000000\n");
    EXPECT_EQ(statuses.at("pipe.bin"), Status::UnableToOpen);
    EXPECT_EQ(statuses.at("folder.bin"), Status::UnableToOpen);
}
