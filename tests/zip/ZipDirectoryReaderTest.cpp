// Listing archives made by Info-ZIP and Python's zipfile, and damaged or padded copies
// of them: what is listed, and which warning or error comes with it.
#include "zip/ZipDirectoryReader.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QtEndian>
#include <sys/stat.h>

namespace {

bool run(const QString& folder, const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::vector<int> codes(const ZipListing& listing)
{
    std::vector<int> result;
    for (const ZipMessage& m : listing.Messages)
        result.push_back(m.Code);
    return result;
}

QStringList names(const ZipListing& listing)
{
    QStringList result;
    for (const ZipDirEntry& e : listing.Entries)
        result << e.FileName;
    return result;
}

// Three entries by Info-ZIP: a compressible text, a folder and a small binary.
class InfoZipArchive : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir.makeFile(QStringLiteral("a.txt"), QByteArray("hello zip\n").repeated(100));
        dir.makeFile(QStringLiteral("sub/b.bin"), QByteArray("\x01\x02\x03", 3));
        ASSERT_TRUE(run(dir.path(), QStringLiteral("zip"), {QStringLiteral("-q"), QStringLiteral("-r"),
                                                            QStringLiteral("z.zip"), QStringLiteral("a.txt"),
                                                            QStringLiteral("sub")}));
        bytes = contentOf(dir.filePath(QStringLiteral("z.zip")));
    }

    ZipListing listBytes(const QByteArray& content)
    {
        return ZipDirectoryReader::List(dir.makeFile(QStringLiteral("t.zip"), content), CodePageMode::Auto);
    }

    // Directory start and size as the end record stores them.
    qint64 directoryOffset() const { return qFromLittleEndian<uint32_t>(bytes.constData() + bytes.size() - 6); }
    qint64 centralHeader(int index) const
    {
        qint64 at = directoryOffset();
        for (int i = 0; i < index; ++i)
            at = bytes.indexOf("PK\x01\x02", at + 1);
        return at;
    }
    // The archive with its directory cut after `length` bytes, the end record saying so.
    QByteArray cutDirectory(qint64 length) const
    {
        QByteArray end = bytes.right(22);
        qToLittleEndian<uint32_t>(uint32_t(length), end.data() + 12);
        return bytes.left(directoryOffset() + length) + end;
    }

    TempDir dir;
    QByteArray bytes;
};

TEST_F(InfoZipArchive, listsNamesSizesCrcsAndMethods)
{
    const ZipListing listing = ZipDirectoryReader::List(dir.filePath(QStringLiteral("z.zip")), CodePageMode::Auto);
    EXPECT_TRUE(listing.Messages.empty());
    ASSERT_EQ(names(listing), QStringList({"a.txt", "sub/", "sub/b.bin"}));
    const ZipDirEntry& text = listing.Entries[0];
    EXPECT_EQ(text.Method, 8);
    EXPECT_EQ(text.UncompressedSize, 1000u);
    EXPECT_LT(text.CompressedSize, 100u);
    EXPECT_EQ(text.Crc32, 0x4cb7e7e4u);
    EXPECT_EQ(listing.Entries[2].Method, 0);
    EXPECT_EQ(listing.Entries[2].Crc32, 0x55bc801du);
    EXPECT_EQ(listing.Entries[2].FileNameLength, 9);
    EXPECT_FALSE(text.Encrypted);
    EXPECT_EQ(listing.FirstLocalHeaderOffset, 0);
    EXPECT_EQ(listing.DirectoryOffset, directoryOffset());
    EXPECT_EQ(listing.EndRecordOffset, bytes.size() - 22);
}

TEST_F(InfoZipArchive, archiveCommentAndWhatFollowsIt)
{
    const QByteArray comment = QByteArray("remark ").repeated(15).left(100);
    QByteArray commented = bytes + comment;
    qToLittleEndian<uint16_t>(100, commented.data() + bytes.size() - 2);
    const ZipListing listing = listBytes(commented);
    EXPECT_EQ(listing.ArchiveComment, QString::fromLatin1(comment));
    EXPECT_EQ(listing.Entries.size(), 3u);
    EXPECT_TRUE(listing.Messages.empty());

    // Padding up to a whole sector with zeros is how some media store files.
    const qsizetype pad = 300;
    const qsizetype commentLength = ((512 - (bytes.size() + pad) % 512) % 512);
    QByteArray padded = bytes + QByteArray(commentLength, 'c');
    qToLittleEndian<uint16_t>(uint16_t(commentLength), padded.data() + bytes.size() - 2);
    EXPECT_TRUE(listBytes(padded + QByteArray(pad, '\0')).Messages.empty());
    const ZipListing garbage = listBytes(padded + QByteArray(pad, 'g'));
    EXPECT_EQ(codes(garbage), std::vector<int>({10204}));
    EXPECT_EQ(garbage.Messages[0].Text, "Warning - Garbage at the end of the zipfile!");
    EXPECT_EQ(garbage.Entries.size(), 3u);
}

TEST_F(InfoZipArchive, bytesInFrontAreWarnedAboutAndSkipped)
{
    const ZipListing listing = listBytes(QByteArray("MZ stub ").repeated(128) + bytes);
    EXPECT_EQ(codes(listing), std::vector<int>({10203}));
    EXPECT_TRUE(listing.ExtraBytesInFront);
    EXPECT_EQ(names(listing), QStringList({"a.txt", "sub/", "sub/b.bin"}));
}

TEST_F(InfoZipArchive, damageEndsTheListingAfterTheEntriesBeforeIt)
{
    const qint64 third = centralHeader(2) - directoryOffset();
    ZipListing listing = listBytes(cutDirectory(third + 30));
    EXPECT_EQ(codes(listing), std::vector<int>({11013}));
    EXPECT_EQ(listing.Entries.size(), 2u);

    listing = listBytes(cutDirectory(third + 46 + 3));
    EXPECT_EQ(codes(listing), std::vector<int>({11017}));
    EXPECT_EQ(listing.Messages[0].Text, "Error while reading a central file name");

    QByteArray damaged = bytes;
    damaged[centralHeader(1) + 3] = 9;
    listing = listBytes(damaged);
    EXPECT_EQ(codes(listing), std::vector<int>({11015}));
    EXPECT_EQ(names(listing), QStringList({"a.txt"}));

    // A directory said to be larger than the file is not read at all.
    QByteArray oversized = bytes;
    qToLittleEndian<uint32_t>(0x7FFFFFFF, oversized.data() + bytes.size() - 10);
    EXPECT_EQ(codes(listBytes(oversized)), std::vector<int>({11036}));
    EXPECT_EQ(codes(listBytes(bytes.left(bytes.size() - 30))), std::vector<int>({11036}));
}

TEST_F(InfoZipArchive, oemNamesFollowTheCodePageModeAndHost)
{
    QByteArray oem = bytes;
    const qint64 header = centralHeader(0);
    oem[header + 46] = char(0x81);   // "ü" in code page 437, not UTF-8
    oem[header + 5] = 0;             // made on FAT
    EXPECT_EQ(listBytes(oem).Entries[0].FileName, QString::fromUtf8("ü.txt"));
    EXPECT_EQ(ZipDirectoryReader::List(dir.filePath("t.zip"), CodePageMode::None).Entries[0].FileName,
              QString::fromLatin1("\x81.txt"));
    oem[header + 5] = 3;             // Unix: only cpOEM converts
    EXPECT_EQ(listBytes(oem).Entries[0].FileName, QString::fromLatin1("\x81.txt"));
    EXPECT_EQ(ZipDirectoryReader::List(dir.filePath("t.zip"), CodePageMode::Oem).Entries[0].FileName,
              QString::fromUtf8("ü.txt"));
}

TEST(ZipDirectoryReader, zip64AndUtf8NamesGiveTrueValues)
{
    TempDir dir;
    const QString script = QStringLiteral(
        "import zipfile\n"
        "with zipfile.ZipFile('p.zip', 'w', allowZip64=True) as z:\n"
        "    z.writestr('Grüße.txt', b'g' * 5000, zipfile.ZIP_DEFLATED)\n"
        "    with z.open(zipfile.ZipInfo('big.bin'), 'w', force_zip64=True) as f:\n"
        "        f.write(b'x' * 70000)\n");
    ASSERT_TRUE(run(dir.path(), QStringLiteral("python3"), {QStringLiteral("-c"), script}));
    ZipListing listing = ZipDirectoryReader::List(dir.filePath("p.zip"), CodePageMode::Oem);
    EXPECT_TRUE(listing.Messages.empty());
    ASSERT_EQ(names(listing), QStringList({QString::fromUtf8("Grüße.txt"), "big.bin"}));
    EXPECT_EQ(listing.Entries[0].UncompressedSize, 5000u);
    EXPECT_EQ(listing.Entries[1].UncompressedSize, 70000u);

    // Info-ZIP's forced zip64: end record and locator, sizes in the extra field.
    dir.makeFile(QStringLiteral("c.txt"), QByteArray(3000, 'c'));
    ASSERT_TRUE(run(dir.path(), QStringLiteral("zip"), {"-q", "-fz", "f.zip", "c.txt"}));
    const QByteArray forced = contentOf(dir.filePath("f.zip"));
    for (const QByteArray& content : {forced, QByteArray(700, 's') + forced}) {
        listing = ZipDirectoryReader::List(dir.makeFile("g.zip", content), CodePageMode::Auto);
        ASSERT_EQ(names(listing), QStringList({"c.txt"}));
        EXPECT_EQ(listing.Entries[0].UncompressedSize, 3000u);
        EXPECT_EQ(listing.Entries[0].LocalHeaderOffset, 0u);
        EXPECT_EQ(listing.ExtraBytesInFront, content.size() != forced.size());
    }
}

TEST(ZipDirectoryReader, encryptedEntriesAreMarked)
{
    TempDir dir;
    dir.makeFile(QStringLiteral("s.txt"), "secret text");
    ASSERT_TRUE(run(dir.path(), QStringLiteral("zip"), {"-q", "-P", "secret", "e.zip", "s.txt"}));
    const ZipListing listing = ZipDirectoryReader::List(dir.filePath("e.zip"), CodePageMode::Auto);
    ASSERT_EQ(listing.Entries.size(), 1u);
    EXPECT_TRUE(listing.Entries[0].Encrypted);
}

TEST(ZipDirectoryReader, whatIsNotARegularFile)
{
    TempDir dir;
    const ZipListing missing = ZipDirectoryReader::List(dir.filePath("none.zip"), CodePageMode::Auto);
    EXPECT_TRUE(missing.Entries.empty());
    EXPECT_TRUE(missing.Messages.empty());

    const QString fifo = dir.filePath("pipe.zip");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const ZipListing pipe = ZipDirectoryReader::List(fifo, CodePageMode::Auto);
    EXPECT_EQ(codes(pipe), std::vector<int>({11002}));
    EXPECT_EQ(pipe.Messages[0].Text, "Zip file could not be opened");
    EXPECT_EQ(codes(ZipDirectoryReader::List(dir.path(), CodePageMode::Auto)), std::vector<int>({11002}));
}

} // namespace
