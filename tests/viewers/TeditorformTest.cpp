// The text editor: saving keeps the file whole on a full disk and keeps its line ends
// and its bytes that are not UTF-8, and closing a changed memo asks before anything is
// lost. A save replaces only the file that was opened, not behind the back of its
// mode, its owner or another program, and keeps what the file carried.
#include "platform/TMessages.h"
#include "support/TempDir.h"
#include "viewers/text/Teditorform.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileDialog>
#include <QPlainTextEdit>
#include <grp.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

QByteArray contentOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

struct Answers {
    std::vector<QString> asked;
    MsgResult answer = MsgResult::Ok;
    Answers()
    {
        TMessages::SetResponder([this](const MessageRequest& r) {
            asked.push_back(r.text);
            return r.buttons == MsgButtons::Ok ? MsgResult::Ok : answer;
        });
    }
    ~Answers() { TMessages::SetResponder({}); }
};

// Answers the save dialog with a name, as a user typing it would.
struct CopyName {
    int asked = 0;
    explicit CopyName(const QString& path)
    {
        SetModalResponder([this, path](QDialog& dialog) {
            ++asked;
            auto* files = qobject_cast<QFileDialog*>(&dialog);
            if (!files)
                return int(QDialog::Rejected);
            files->selectFile(path);
            return int(QDialog::Accepted);
        });
    }
    ~CopyName() { SetModalResponder({}); }
};

mode_t modeOf(const QString& path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

QByteArray attributeOf(const QString& path, const char* name)
{
    char value[256];
    const ssize_t size = ::getxattr(QFile::encodeName(path).constData(), name, value, sizeof value);
    return size < 0 ? QByteArray("<none>") : QByteArray(value, size);
}

// An access ACL (the kernel's xattr form) that also lets one other user read.
QByteArray aclLettingRead(uint32_t user)
{
    struct Entry {
        uint16_t tag, perm;
        uint32_t id;
    };
    const uint32_t version = 2;
    const Entry entries[] = {{0x01, 6, ~0u}, {0x02, 4, user}, {0x04, 4, ~0u}, {0x10, 4, ~0u}, {0x20, 4, ~0u}};
    return QByteArray(reinterpret_cast<const char*>(&version), sizeof version)
        + QByteArray(reinterpret_cast<const char*>(entries), sizeof entries);
}

TEST(Teditorform, fullDiskHalfWritesTheFileOrLineEndsChange)
{
    Answers answers;
    TempDir dir;
    const QString file = dir.makeFile("notes.txt", "one\r\ntwo\r\n");
    Teditorform editor(file, QString::fromLatin1(contentOf(file)), Teditorform::Charset::Utf8, {});
    editor.Memo()->setPlainText("one\ntwo\nthree\n");
    ASSERT_TRUE(editor.SaveFile());
    EXPECT_EQ(contentOf(file), "one\r\ntwo\r\nthree\r\n");

    // Bytes that are not UTF-8 come back as they were, beside the user's change.
    const QByteArray latin1 = "caf\xe9\n";
    const QString old = dir.makeFile("old.txt", latin1);
    const Teditorform::Charset charset = Teditorform::CharsetOf(latin1, false);
    Teditorform legacy(old, Teditorform::Decode(latin1, charset), charset, {});
    legacy.Memo()->moveCursor(QTextCursor::End);
    legacy.Memo()->insertPlainText("!");
    ASSERT_TRUE(legacy.SaveFile());
    EXPECT_EQ(contentOf(old), "caf\xe9\n!");

    // Saving through a link changes the file it names and keeps the link.
    const QString link = dir.filePath("link.txt");
    ASSERT_TRUE(QFile::link(old, link));
    Teditorform linked(link, "new\n", Teditorform::Charset::Utf8, {});
    ASSERT_TRUE(linked.SaveFile());
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(contentOf(old), "new\n");

    const QString volume = dir.makeDir("vol");
    if (::geteuid() != 0 || ::mount("tmpfs", QFile::encodeName(volume).constData(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "a full disk needs root to mount a small tmpfs";
    const QString small = dir.makeFile("vol/small.txt", "old text\n");
    Teditorform big(small, "old text\n", Teditorform::Charset::Utf8, {});
    big.Memo()->setPlainText(QString(200000, 'x'));
    EXPECT_FALSE(big.SaveFile());
    EXPECT_EQ(contentOf(small), "old text\n");
    EXPECT_EQ(QDir(volume).entryList(QDir::Files), QStringList{"small.txt"});   // no temporary left
    EXPECT_EQ(answers.asked.size(), 1u);
    ::umount2(QFile::encodeName(volume).constData(), MNT_DETACH);
}

TEST(Teditorform, changedMemoClosesWithoutAsking)
{
    Answers answers;
    TempDir dir;
    const QString file = dir.makeFile("a.txt", "abc\n");
    Teditorform editor(file, "abc\n", Teditorform::Charset::Utf8, {});
    editor.show();
    EXPECT_TRUE(editor.close());                       // unchanged: no question
    EXPECT_TRUE(answers.asked.empty());

    editor.show();
    editor.Memo()->moveCursor(QTextCursor::End);
    editor.Memo()->insertPlainText("d");                // a change the user typed
    answers.answer = MsgResult::Cancel;
    EXPECT_FALSE(editor.close());
    EXPECT_EQ(answers.asked.back(), "Save changes to " + file + " ?");
    answers.answer = MsgResult::Yes;
    EXPECT_TRUE(editor.close());
    EXPECT_EQ(contentOf(file), "abc\nd");
}

TEST(Teditorform, linkPutInTheFilesPlaceAfterOpeningIsNotWrittenThrough)
{
    Answers answers;
    answers.answer = MsgResult::No;
    TempDir dir;
    const QString file = dir.makeFile("a.txt", "mine\n");
    const QString elsewhere = dir.makeFile("secret", "keep\n");
    Teditorform editor(file, "mine\n", Teditorform::Charset::Utf8, {});
    editor.Memo()->setPlainText("typed\n");
    ASSERT_TRUE(QFile::remove(file));
    ASSERT_TRUE(QFile::link(elsewhere, file));
    EXPECT_FALSE(editor.SaveFile());
    EXPECT_EQ(contentOf(elsewhere), "keep\n");
    EXPECT_TRUE(QFileInfo(file).isSymLink());
    EXPECT_EQ(answers.asked.size(), 1u);
}

TEST(Teditorform, fileChangedOnDiskIsOverwrittenOnlyWhenTheUserSaysSo)
{
    Answers answers;
    TempDir dir;
    const QString file = dir.makeFile("a.txt", "loaded\n");
    Teditorform editor(file, "loaded\n", Teditorform::Charset::Utf8, {});
    editor.Memo()->setPlainText("typed\n");
    dir.makeFile("a.txt", "written by another program\n");

    answers.answer = MsgResult::Cancel;
    EXPECT_FALSE(editor.SaveFile());
    EXPECT_EQ(contentOf(file), "written by another program\n");
    ASSERT_EQ(answers.asked.size(), 1u);
    EXPECT_TRUE(answers.asked[0].contains("was changed by another program")) << answers.asked[0].toStdString();

    // "No" saves a copy under the name the save dialog gives.
    const QString copy = dir.filePath("copy.txt");
    {
        CopyName name(copy);
        answers.answer = MsgResult::No;
        EXPECT_TRUE(editor.SaveFile());
        EXPECT_EQ(name.asked, 1);
    }
    EXPECT_EQ(contentOf(copy), "typed\n");
    EXPECT_EQ(contentOf(file), "written by another program\n");

    answers.answer = MsgResult::Yes;
    EXPECT_TRUE(editor.SaveFile());
    EXPECT_EQ(contentOf(file), "typed\n");
}

TEST(Teditorform, readOnlyFileIsRefusedAndACopyOffered)
{
    Answers answers;
    TempDir dir;
    const QString file = dir.makeFile("a.txt", "old\n");
    ::chmod(QFile::encodeName(file).constData(), 0444);
    Teditorform editor(file, "old\n", Teditorform::Charset::Utf8, {});
    editor.Memo()->setPlainText("new\n");
    answers.answer = MsgResult::No;
    EXPECT_FALSE(editor.SaveFile());
    EXPECT_EQ(contentOf(file), "old\n");
    ASSERT_EQ(answers.asked.size(), 1u);
    EXPECT_EQ(answers.asked[0], file + " is read-only.\nSave a copy?");

    CopyName name(dir.filePath("copy.txt"));
    answers.answer = MsgResult::Yes;
    EXPECT_TRUE(editor.SaveFile());
    EXPECT_EQ(contentOf(dir.filePath("copy.txt")), "new\n");
    EXPECT_EQ(contentOf(file), "old\n");
}

TEST(Teditorform, anotherUsersFileIsNotReplaced)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "another user needs root to become one";
    Answers answers;
    answers.answer = MsgResult::No;
    TempDir dir;
    // Everyone may write the folder and the file: only the owner differs.
    ::chmod(QFile::encodeName(dir.path()).constData(), 0777);
    const QString file = dir.makeFile("a.txt", "root's\n");
    ::chmod(QFile::encodeName(file).constData(), 0666);
    Teditorform editor(file, "root's\n", Teditorform::Charset::Utf8, {});
    editor.Memo()->setPlainText("nobody's\n");
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setresgid(65534, 65534, 65534) != 0
            || ::setresuid(65534, 65534, 65534) != 0)
            ::_exit(9);
        const bool saved = editor.SaveFile();
        struct stat st;
        const bool untouched = ::stat(QFile::encodeName(file).constData(), &st) == 0 && st.st_uid == 0
            && contentOf(file) == "root's\n";
        ::_exit(saved ? 1 : !untouched ? 2 : answers.asked.size() != 1 ? 3 : 0);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: saved, 2: replaced, 3: not told";
}

TEST(Teditorform, saveKeepsAttributesAndAclOfTheFile)
{
    Answers answers;
    TempDir dir;
    const QString file = dir.makeFile("a.txt", "old\n");
    const QByteArray native = QFile::encodeName(file);
    if (::setxattr(native.constData(), "user.origin", "mail", 4, 0) != 0)
        GTEST_SKIP() << "no user attributes on this file system";
    const QByteArray acl = aclLettingRead(65534);
    ASSERT_EQ(::setxattr(native.constData(), "system.posix_acl_access", acl.constData(), size_t(acl.size()), 0), 0);
    const QByteArray aclBefore = attributeOf(file, "system.posix_acl_access");
    Teditorform editor(file, "old\n", Teditorform::Charset::Utf8, {});
    editor.Memo()->setPlainText("new\n");
    ASSERT_TRUE(editor.SaveFile());
    EXPECT_EQ(contentOf(file), "new\n");
    EXPECT_EQ(attributeOf(file, "user.origin"), "mail");
    EXPECT_EQ(attributeOf(file, "system.posix_acl_access"), aclBefore);
}

TEST(Teditorform, saveDropsSetIdBitsAndKeepsHardLinks)
{
    Answers answers;
    TempDir dir;
    const QString program = dir.makeFile("tool", "#!/bin/sh\n");
    ::chmod(QFile::encodeName(program).constData(), 04755);
    Teditorform tool(program, "#!/bin/sh\n", Teditorform::Charset::Utf8, {});
    tool.Memo()->setPlainText("#!/bin/sh\nrm -rf ~\n");
    ASSERT_TRUE(tool.SaveFile());
    EXPECT_EQ(modeOf(program), 0755u);

    const QString linked = dir.makeFile("linked", "old\n");
    ::chmod(QFile::encodeName(linked).constData(), 02755);
    const QString other = dir.filePath("other name");
    ASSERT_EQ(::link(QFile::encodeName(linked).constData(), QFile::encodeName(other).constData()), 0);
    Teditorform editor(linked, "old\n", Teditorform::Charset::Utf8, {});
    editor.Memo()->setPlainText("new\n");
    ASSERT_TRUE(editor.SaveFile());
    EXPECT_EQ(contentOf(other), "new\n");
    EXPECT_EQ(modeOf(linked), 0755u);
}

} // namespace
