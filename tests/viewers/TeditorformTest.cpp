// The text editor: saving keeps the file whole on a full disk and keeps its line ends
// and its bytes that are not UTF-8, and closing a changed memo asks before anything is
// lost.
#include "platform/TMessages.h"
#include "support/TempDir.h"
#include "viewers/text/Teditorform.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <sys/mount.h>
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

} // namespace
