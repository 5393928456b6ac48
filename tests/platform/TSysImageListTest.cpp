// The icon list must hand out drawable icons even where no desktop sets a theme.
#include "platform/TSysImageList.h"

#include "support/TempDir.h"
#include "QtPrinters.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

TEST(TSysImageList, everyKindOfEntryGetsAnIcon)
{
    TempDir dir;
    const QString text = dir.makeFile(QStringLiteral("notes.txt"), "hello");
    const QString unknown = dir.makeFile(QStringLiteral("blob.zzqq"));
    TSysImageList& list = TSysImageList::Instance();
    EXPECT_NE(list.Handle(), 0u);

    for (int index : {list.FolderIndex(), list.FileIndex(), list.DriveIndex(), list.IndexForPath(text),
                      list.IndexForPath(unknown), list.IndexForPath(dir.path())}) {
        EXPECT_GE(index, 0);
        EXPECT_FALSE(list.Icon(index).isNull()) << index;
        EXPECT_FALSE(list.Icon(index).pixmap(16, 16).isNull()) << index;
    }
    EXPECT_TRUE(list.Icon(-1).isNull());
}

TEST(TSysImageList, mimeTypesComeFromNamesAndFolders)
{
    TempDir dir;
    // A name that says something decides; the contents are not read.
    const QString text = dir.makeFile(QStringLiteral("notes.txt"), "%PDF-1.4");
    EXPECT_EQ(TSysImageList::MimeTypeOf(text), QStringLiteral("text/plain"));
    EXPECT_EQ(TSysImageList::MimeTypeOf(dir.makeDir(QStringLiteral("sub.txt"))), QStringLiteral("inode/directory"));
    EXPECT_EQ(TSysImageList::MimeTypeOf(dir.path() + u'/'), QStringLiteral("inode/directory"));
    EXPECT_EQ(TSysImageList::MimeTypeOf(QStringLiteral("/")), QStringLiteral("inode/mount-point"));

    TSysImageList& list = TSysImageList::Instance();
    EXPECT_EQ(list.IndexForPath(text), list.IndexForMimeType(QStringLiteral("text/plain")));
    EXPECT_NE(list.FolderIndex(), list.FileIndex());
}

TEST(TSysImageList, namesWithoutExtensionAreTypedByTheirContents)
{
    TempDir dir;
    const QString script = dir.makeFile(QStringLiteral("run"), "#!/bin/sh\necho hi\n");
    QFile::copy(QStringLiteral("/bin/true"), dir.path() + QStringLiteral("/tool"));
    EXPECT_EQ(TSysImageList::MimeTypeOf(dir.makeFile(QStringLiteral("photo.png"), "not really")),
              QStringLiteral("image/png"));
    EXPECT_EQ(TSysImageList::MimeTypeOf(script), QStringLiteral("application/x-shellscript"));
    EXPECT_EQ(TSysImageList::MimeTypeOf(dir.path() + QStringLiteral("/tool")),
              QStringLiteral("application/x-executable"));
}

TEST(TSysImageList, wholeNameGlobsAreNotAnsweredFromAnotherNamesSuffix)
{
    // Types are kept per suffix; CMakeLists.txt shares .txt with plain text files.
    EXPECT_EQ(TSysImageList::MimeTypeOfFile(QStringLiteral("/no/such/notes.txt")), QStringLiteral("text/plain"));
    EXPECT_EQ(TSysImageList::MimeTypeOfFile(QStringLiteral("/no/such/CMakeLists.txt")), QStringLiteral("text/x-cmake"));
    EXPECT_EQ(TSysImageList::MimeTypeOfFile(QStringLiteral("/no/such/Makefile.am")), QStringLiteral("text/x-makefile"));
}

} // namespace
