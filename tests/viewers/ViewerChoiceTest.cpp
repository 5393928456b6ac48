// Which viewer a file gets: the archive magic read from the file, the extension rules
// in their order, and the host's private temporary folder and extracted copies.
#include "platform/PrivateTempFolder.h"
#include "platform/TMessages.h"
#include "support/TempDir.h"
#include "viewers/FileMagic.h"
#include "viewers/ViewerChoice.h"
#include "viewers/ViewerExtensions.h"
#include "viewers/ViewerHost.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QWidget>
#include <sys/stat.h>
#include <unistd.h>

namespace {

ViewerKind choose(const TempDir& dir, const QString& name, bool asText = false, bool info = false)
{
    const QString path = dir.filePath(name);
    ViewerChoice::Facts facts{name, !QFileInfo(path).isDir(), FileMagic::IsRarFile(path),
                              FileMagic::IsAceFile(path)};
    return ViewerChoice::Choose(facts, asText, info);
}

TEST(ViewerChoice, magicOrExtensionRulesPickTheWrongViewer)
{
    TempDir dir;
    dir.makeFile("four.dat", "Rar!");                      // not longer than 4 bytes
    dir.makeFile("five.dat", "Rar!x");
    dir.makeFile("notes.TXT", "Rar!xxxx");
    dir.makeFile("fake.rar", "plain text");
    dir.makeFile("a.bin", "0123456**ACE**x");               // 15 bytes, magic at 7
    dir.makeFile("short.bin", "0123456**ACE**");           // 14 bytes
    dir.makeFile("photo.jpeg", "x");
    dir.makeDir("pictures.gif");
    EXPECT_FALSE(FileMagic::IsRarFile(dir.filePath("four.dat")));
    EXPECT_EQ(choose(dir, "four.dat"), ViewerKind::Text);
    EXPECT_EQ(choose(dir, "five.dat"), ViewerKind::ArchiveRar);
    EXPECT_EQ(choose(dir, "notes.TXT"), ViewerKind::Text);
    EXPECT_EQ(choose(dir, "fake.rar"), ViewerKind::ArchiveRar);
    EXPECT_EQ(choose(dir, "a.bin"), ViewerKind::ArchiveAce);
    EXPECT_EQ(choose(dir, "short.bin"), ViewerKind::Text);
    EXPECT_EQ(choose(dir, "photo.jpeg"), ViewerKind::Text);
    EXPECT_FALSE(ViewerExtensions().IsViewable("photo.jpeg"));
    EXPECT_EQ(choose(dir, "pictures.gif"), ViewerKind::Info);   // a folder named like a picture
    EXPECT_EQ(choose(dir, "five.dat", true), ViewerKind::Text);
    EXPECT_EQ(choose(dir, "five.dat", false, true), ViewerKind::Info);
    EXPECT_FALSE(FileMagic::IsRarFile(dir.filePath("missing")));

    // A pipe named like an archive must not hang the window waiting for a writer.
    const QString fifo = dir.filePath("pipe.rar");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_FALSE(FileMagic::IsRarFile(fifo));
}

TEST(PrivateTempFolder, sharedOrForeignFolderIsUsed)
{
    TempDir tmp;
    qputenv("TMPDIR", QFile::encodeName(tmp.path()));
    const QString folder = PrivateTempFolder::Subfolder("zpttmp/vw");
    ASSERT_FALSE(folder.isEmpty());
    EXPECT_EQ(QFileInfo(folder).permissions() & 0x0077, 0);     // nothing for group and others
    const QString base = PrivateTempFolder::Path();
    ::chmod(QFile::encodeName(base).constData(), 0755);
    QString error;
    EXPECT_TRUE(PrivateTempFolder::Path(&error).isEmpty());
    EXPECT_TRUE(error.contains(base)) << error.toStdString();
    QDir().rmpath(folder);
    ::rmdir(QFile::encodeName(base).constData());
    QFile::link(tmp.makeDir("elsewhere"), base);                  // a planted link
    EXPECT_TRUE(PrivateTempFolder::Path().isEmpty());
}

TEST(ViewerHost, extractedCopyKeptOrFailedDeleteSilent)
{
    std::vector<QString> shown;
    TMessages::SetResponder([&](const MessageRequest& r) {
        shown.push_back(r.text);
        return MsgResult::Ok;
    });
    TempDir dir;
    ViewerExtensions table;
    QWidget window;
    ViewerHost host(table, &window);
    host.SetViewerTempFile(dir.makeFile("copy.txt", "x"));
    host.StopViewers();
    EXPECT_FALSE(QFile::exists(dir.filePath("copy.txt")));
    EXPECT_TRUE(host.ViewerTempFile().isEmpty());

    // A copy that cannot go (its folder is not writable) is reported once and forgotten.
    const QString locked = dir.makeDir("locked");
    host.SetViewerTempFile(dir.makeFile("locked/busy.txt", "x"));
    ::chmod(QFile::encodeName(locked).constData(), 0500);
    host.StopViewers();
    ::chmod(QFile::encodeName(locked).constData(), 0700);
    if (::geteuid() != 0) {
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0], "Unable to delete " + dir.filePath("locked/busy.txt") + "\nMay be it is still in use...");
    }
    EXPECT_TRUE(host.ViewerTempFile().isEmpty());
    TMessages::SetResponder({});
}

} // namespace
