// The file-holding component: the temporary file it makes when loaded, whose file it
// deletes, storing the file back, and the window's empty-zip template.
#include "zip/EFileSourceError.h"
#include "zip/EmptyZipSource.h"
#include "zip/TFileSource.h"
#include "zip/ZipDirectoryReader.h"

#include "platform/PrivateTempFolder.h"
#include "support/TempDir.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

QByteArray uncompressedData(const QByteArray& bytes)
{
    const quint32 n = quint32(bytes.size());
    return QByteArray(1, char(n)) + char(n >> 8) + char(n >> 16) + char(n >> 24) + bytes;
}

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString storeError(const TFileSource& source)
{
    try {
        source.FileData();
    } catch (const EFileSourceError& error) {
        return error.Text();
    }
    return {};
}

} // namespace

TEST(TFileSource, loadTakesTheFirstFreeNumberInThePrivateFolderAndDestructionDeletes)
{
    // An extension of this process alone, so other tests loading at the same time
    // cannot take the names this test expects.
    const QString extension = QStringLiteral(".t%1").arg(::getpid());
    const QString folder = PrivateTempFolder::Path();
    ASSERT_FALSE(folder.isEmpty());
    QStringList taken;
    for (int second = 0; second < 60; ++second) {
        taken << folder + QStringLiteral("/~fs%1%2%3").arg(second).arg(0).arg(extension);
        QFile file(taken.back());
        ASSERT_TRUE(file.open(QIODevice::NewOnly));
        file.write("taken");
    }

    QString held;
    {
        TFileSource source(QStringLiteral("FSTest"));
        source.Extension = extension;
        source.Load(uncompressedData("held bytes"));
        held = source.FileName();
        EXPECT_EQ(QFileInfo(held).path(), folder);
        EXPECT_TRUE(taken.contains(held.chopped(extension.size() + 1) + QLatin1Char('0') + extension)) << held.toStdString();
        EXPECT_TRUE(held.endsWith(QLatin1Char('1') + extension)) << held.toStdString();
        EXPECT_EQ(contentOf(held), "held bytes");
        EXPECT_EQ(source.FileData(), uncompressedData("held bytes"));
    }
    EXPECT_FALSE(QFile::exists(held));
    for (const QString& path : taken) {
        EXPECT_EQ(contentOf(path), "taken");
        QFile::remove(path);
    }
}

TEST(TFileSource, anotherFileNameDeletesOnlyTheOwnFileAndTakesItsExtension)
{
    TempDir dir;
    const QString outside = dir.makeFile("notes.d/archive.tar.gz", "outside");
    QString own;
    {
        TFileSource source(QStringLiteral("FSTest"));
        source.Extension = QStringLiteral(".zip");
        source.Load(uncompressedData("own"));
        own = source.FileName();
        source.SetFileName(outside);
        EXPECT_FALSE(QFile::exists(own));
        EXPECT_EQ(source.FileName(), outside);
        EXPECT_EQ(source.Extension, ".gz");
        source.SetFileName(dir.filePath("notes.d/README"));
        EXPECT_EQ(source.Extension, "");
    }
    EXPECT_EQ(contentOf(outside), "outside");   // not the component's to delete
}

TEST(TFileSource, goneFileReadsAsNoNameAndCannotBeStored)
{
    TFileSource source(QStringLiteral("SFTest"));
    source.Load(uncompressedData("soon gone"));
    const QString path = source.FileName();
    ASSERT_TRUE(QFile::remove(path));
    EXPECT_EQ(source.FileName(), QString());
    EXPECT_EQ(storeError(source), "SFTest cannot store file: " + path + " (file is missing)");
}

TEST(TFileSource, compressedDataComesBackAsTheSameFileAndDamagedDataKeepsTheOldOne)
{
    TempDir dir;
    const QByteArray content = QByteArray("a zip template ").repeated(500);
    TFileSource writer(QStringLiteral("Writer"));
    writer.SetFileName(dir.makeFile("template.zip", content));
    writer.SetCompress(true);
    EXPECT_TRUE(writer.Store());
    const QByteArray data = writer.FileData();
    EXPECT_TRUE(data.startsWith("PMCS10"));
    EXPECT_LT(data.size(), content.size());

    TFileSource reader(QStringLiteral("Reader"));
    reader.SetCompress(true);
    reader.Load(data);
    const QString held = reader.FileName();
    EXPECT_EQ(contentOf(held), content);

    EXPECT_THROW(reader.Load(data.chopped(1)), ECompressError);
    reader.SetCompress(false);
    EXPECT_THROW(reader.Load(uncompressedData("short").chopped(1)), EFileSourceError);
    EXPECT_EQ(reader.FileName(), held);
}

TEST(TFileSource, windowTemplateIsA22ByteZipThatListsEmpty)
{
    const auto emptyZip = MakeEmptyZipSource();
    EXPECT_EQ(emptyZip->Name(), "SFEmptyZip");
    EXPECT_FALSE(emptyZip->Compress());
    EXPECT_TRUE(emptyZip->Store());
    const QString path = emptyZip->FileName();
    EXPECT_TRUE(path.endsWith(".zip")) << path.toStdString();
    EXPECT_EQ(contentOf(path), QByteArray("PK\x05\x06", 4) + QByteArray(18, '\0'));
    const ZipListing listing = ZipDirectoryReader::List(path, CodePageMode::Auto);
    EXPECT_TRUE(listing.Entries.empty());
    EXPECT_TRUE(listing.Messages.empty());
}
