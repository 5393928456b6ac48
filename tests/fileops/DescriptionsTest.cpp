#include "fileops/Descriptions.h"

#include "platform/FileAttributes.h"
#include "platform/FileNames.h"
#include "platform/TMessages.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

QByteArray contentOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QStringList leftoverTemporaries(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("DSC*")}, QDir::Files | QDir::Hidden);
}

mode_t modeOf(const QString& path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

// Captures the warnings a rewrite shows instead of opening message boxes.
struct ShownMessages {
    ShownMessages()
    {
        TMessages::SetResponder([this](const MessageRequest& r) {
            texts << r.text;
            return MsgResult::Ok;
        });
    }
    ~ShownMessages() { TMessages::SetResponder({}); }
    QStringList texts;
};

} // namespace

TEST(Descriptions, sameNameTwiceReadGivesFirstLoadGivesLastWriteChangesBoth)
{
    TempDir dir;
    const QString file = dir.makeFile("DESCRIPT.ION", "File.txt first\r\nother.txt keep\r\nFILE.TXT second\r\n");
    EXPECT_EQ(ReadDescription(dir.filePath("file.txt")), "first");
    const QHash<QString, QString> loaded = LoadDescriptions(dir.path());
    EXPECT_EQ(loaded.value("FILE.TXT"), "second");
    EXPECT_EQ(loaded.value("OTHER.TXT"), "keep");
    EXPECT_EQ(loaded.size(), 2);

    ASSERT_TRUE(WriteDescription(dir.filePath("file.txt"), "new"));
    EXPECT_EQ(contentOf(file), "File.txt new\r\nother.txt keep\r\nFILE.TXT new\r\n")
        << "each line keeps its own spelling of the name";
}

TEST(Descriptions, quotedNamesAndSecondSpacesReadAndWriteInTheirForm)
{
    TempDir dir;
    const QString file = dir.makeFile("DESCRIPT.ION", "\"my file.txt\" text with  spaces\r\na.txt  lead\r\n");
    EXPECT_EQ(ReadDescription(dir.filePath("my file.txt")), "text with  spaces");
    EXPECT_EQ(LoadDescriptions(dir.path() + '/').value("A.TXT"), " lead");

    ASSERT_TRUE(WriteDescription(dir.filePath("other file.txt"), "quoted"));
    ASSERT_TRUE(WriteDescription(dir.filePath("plain.txt"), "plain one"));
    EXPECT_EQ(contentOf(file), "\"my file.txt\" text with  spaces\r\na.txt  lead\r\n"
                               "\"other file.txt\" quoted\r\nplain.txt plain one\r\n");
}

// Describing one entry must not touch the others: lines that name nothing, lines too
// long to show whole and every kind of line end are written back as they were.
TEST(Descriptions, rewriteChangesOnlyTheDescribedLinesAndKeepsEveryOtherByte)
{
    TempDir dir;
    const QByteArray longLine = "long.txt " + QByteArray(5000, 'd') + "\n";
    const QByteArray unnamed = "noname\r\n\"open quote\r\n";
    const QString file = dir.makeFile("DESCRIPT.ION", "a.txt A\rb.txt B\nc.txt C\n\r" + unnamed + longLine + "e.txt E");
    const QHash<QString, QString> loaded = LoadDescriptions(dir.path());
    EXPECT_EQ(loaded.value("A.TXT"), "A");
    EXPECT_EQ(loaded.value("C.TXT"), "C");
    EXPECT_EQ(loaded.value("E.TXT"), "E");
    EXPECT_EQ(loaded.size(), 5);

    ASSERT_TRUE(WriteDescription(dir.filePath("c.txt"), "changed"));
    ASSERT_TRUE(WriteDescription(dir.filePath("b.txt"), QString()));
    ASSERT_TRUE(WriteDescription(dir.filePath("new.txt"), "N"));
    EXPECT_EQ(contentOf(file), "a.txt A\rc.txt changed\n\r" + unnamed + longLine + "e.txt E\r\nnew.txt N\r\n");

    TempDir fresh;
    ASSERT_TRUE(WriteDescription(fresh.filePath("x"), QString()));
    EXPECT_FALSE(QFile::exists(fresh.filePath("DESCRIPT.ION"))) << "an empty description needs no file";
}

// A pasted or typed line break must not end the line and start a forged one.
TEST(Descriptions, lineBreaksInTheTextCannotAddLines)
{
    TempDir dir;
    ASSERT_TRUE(WriteDescription(dir.filePath("a.txt"), "one\r\nb.txt forged\ttab"));
    EXPECT_EQ(contentOf(dir.filePath("DESCRIPT.ION")), "a.txt one  b.txt forged tab\r\n");
}

TEST(Descriptions, longLineIsReadAsItsStartAndTheNextLineNormally)
{
    TempDir dir;
    const QByteArray longLine = "long.txt " + QByteArray(5000 - 9, 'd');
    ASSERT_EQ(longLine.size(), 5000);
    // 7 bytes of name and space, then two-byte characters: the cut at 4096 falls inside one.
    const QByteArray utf8Line = "uu.txt " + QString(3000, QChar(0xE9)).toUtf8();
    dir.makeFile("DESCRIPT.ION", longLine + "\r\nb.txt B\r\n" + utf8Line + "\r\nc.txt C\r\n");

    const QHash<QString, QString> loaded = LoadDescriptions(dir.path());
    EXPECT_EQ(loaded.value("LONG.TXT"), QString(4096 - 9, 'd'));
    EXPECT_EQ(loaded.value("B.TXT"), "B");
    EXPECT_EQ(loaded.value("UU.TXT"), QString((4096 - 7) / 2, QChar(0xE9))) << "the cut must not split a character";
    EXPECT_EQ(loaded.value("C.TXT"), "C");
    EXPECT_EQ(ReadDescription(dir.filePath("b.txt")), "B");
}

// Anyone who can write to a shared folder can plant a file of gigabytes; the listing
// must stop at the bound, and describing an entry must not lose what lies past it.
TEST(Descriptions, hugeFileIsReadUpToTheBoundAndRewrittenWhole)
{
    TempDir dir;
    const QString huge = dir.makeSizedFile("DESCRIPT.ION", qint64(6) << 30);
    {
        QFile f(huge);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_EQ(f.write("a.txt A\r\n"), 9);
        ASSERT_TRUE(f.seek(kDescriptionReadLimit + 100));
        ASSERT_EQ(f.write("\nb.txt B\r\n"), 10);
    }
    const QHash<QString, QString> loaded = LoadDescriptions(dir.path());
    EXPECT_EQ(loaded.value("A.TXT"), "A");
    EXPECT_EQ(loaded.size(), 1) << "a line past the bound was read";
    EXPECT_EQ(ReadDescription(dir.filePath("b.txt")), QString());

    // The rewrite with a bound of a few bytes: lines that begin past it are copied as
    // they were, and the new line goes where the listing sees it.
    TempDir small;
    const QByteArray rest = "c.txt C\r\n\"open quote\nd.txt D";
    const QString file = small.makeFile("DESCRIPT.ION", "a.txt A\r\nb.txt B\r\n" + rest);
    const qint64 bound = 12;   // inside the line of b.txt
    EXPECT_EQ(LoadDescriptions(small.path(), bound).keys(), QStringList{"A.TXT"});
    ASSERT_TRUE(WriteDescription(small.filePath("b.txt"), "changed", bound));
    ASSERT_TRUE(WriteDescription(small.filePath("n.txt"), "N", bound));
    EXPECT_EQ(contentOf(file), "a.txt A\r\nb.txt changed\r\nn.txt N\r\n" + rest);
}

TEST(Descriptions, lowerCaseFileIsFoundAndKeepsItsSpelling)
{
    TempDir dir;
    const QString lower = dir.makeFile("descript.ion", "README the manual\r\n");
    EXPECT_EQ(FindDescriptionFile(dir.path()), lower);
    EXPECT_EQ(ReadDescription(dir.filePath("readme")), "the manual");

    ASSERT_TRUE(WriteDescription(dir.filePath("readme"), "changed"));
    EXPECT_EQ(contentOf(lower), "README changed\r\n");
    EXPECT_FALSE(QFile::exists(dir.filePath("DESCRIPT.ION"))) << "a second file beside the first";

    // With several spellings the exact name wins.
    const QString exact = dir.makeFile("DESCRIPT.ION", "README exact\r\n");
    dir.makeFile("Descript.Ion", "README mixed\r\n");
    EXPECT_EQ(FindDescriptionFile(dir.path()), exact);
    EXPECT_EQ(ReadDescription(dir.filePath("readme")), "exact");
    EXPECT_TRUE(FindDescriptionFile(dir.makeDir("empty")).isEmpty());
}

TEST(Descriptions, bytesThatAreNotUtf8SurviveARewrite)
{
    TempDir dir;
    const QByteArray latinName("caf\xe9.txt");
    const QByteArray other("\"d\xe9j\xe0 vu.txt\" \xff\xfe raw\r\nutf.txt caf\xc3\xa9\r\n");
    const QString file = dir.makeFile("DESCRIPT.ION", latinName + " d\xe9j\xe0\r\n" + other);
    const QString latinPath = DecodeFileName(QFile::encodeName(dir.path()) + '/' + latinName);

    EXPECT_EQ(ReadDescription(latinPath), QStringLiteral("déjà"));
    const QHash<QString, QString> loaded = LoadDescriptions(dir.path());
    EXPECT_EQ(loaded.value(QStringLiteral("UTF.TXT")), QStringLiteral("café"));
    EXPECT_TRUE(loaded.contains(DecodeFileName(QByteArray("CAF\xe9.TXT"))));

    ASSERT_TRUE(WriteDescription(latinPath, QStringLiteral("é")));
    EXPECT_EQ(contentOf(file), latinName + " \xc3\xa9\r\n" + other);
}

TEST(Descriptions, rewrittenFileIsHiddenAndKeepsItsAccessAndAttributes)
{
    TempDir dir;
    const QString file = dir.makeFile("DESCRIPT.ION", "a.txt A\r\n");
    ::chmod(QFile::encodeName(file).constData(), 0640);
    ASSERT_TRUE(WriteFileAttributes(file, faSysFile, nullptr));
    ASSERT_TRUE(WriteDescription(dir.filePath("b.txt"), "B"));
    uint32_t attr = 0;
    ASSERT_TRUE(ReadFileAttributes(file, &attr));
    EXPECT_TRUE(attr & faHidden);
    EXPECT_TRUE(attr & faSysFile) << "the attributes it had are kept";
    EXPECT_EQ(modeOf(file), 0640u);
    EXPECT_TRUE(leftoverTemporaries(dir.path()).isEmpty());

    // A new file is hidden too, and readable as any new file, not private like a temporary one.
    TempDir fresh;
    const mode_t previous = ::umask(022);
    ASSERT_TRUE(WriteDescription(fresh.filePath("x"), "X"));
    ::umask(previous);
    ASSERT_TRUE(ReadFileAttributes(fresh.filePath("DESCRIPT.ION"), &attr));
    EXPECT_TRUE(attr & faHidden);
    EXPECT_EQ(modeOf(fresh.filePath("DESCRIPT.ION")), 0644u);
}

TEST(Descriptions, unwritableNamesLeaveEverythingAsItWas)
{
    TempDir dir;
    const QString file = dir.makeFile("DESCRIPT.ION", "a.txt A\r\n");
    ShownMessages shown;
    EXPECT_FALSE(WriteDescription(dir.filePath("a \"b\""), "x"));
    EXPECT_FALSE(WriteDescription(dir.filePath("\"a"), "x"));
    EXPECT_EQ(shown.texts.size(), 2);
    EXPECT_FALSE(WriteDescription("/", "x"));
    EXPECT_FALSE(WriteDescription("relative", "x"));
    EXPECT_EQ(contentOf(file), "a.txt A\r\n");
    EXPECT_TRUE(leftoverTemporaries(dir.path()).isEmpty());

    // A folder's own description lives in its parent, with or without a trailing slash.
    dir.makeDir("sub");
    ASSERT_TRUE(WriteDescription(dir.filePath("sub/inner"), "in"));
    EXPECT_EQ(ReadDescription(dir.filePath("sub/INNER/")), "in");
}

TEST(Descriptions, folderInTheFilesPlaceIsRefusedAndLeftAsItWas)
{
    TempDir dir;
    dir.makeFile("DESCRIPT.ION/blocker");   // a folder cannot be replaced by a file
    ShownMessages shown;
    EXPECT_FALSE(WriteDescription(dir.filePath("a.txt"), "A"));
    EXPECT_EQ(shown.texts,
              QStringList{"Unable to write the description to " + dir.filePath("DESCRIPT.ION")
                          + ": it is not a regular file."});
    EXPECT_TRUE(QFile::exists(dir.filePath("DESCRIPT.ION/blocker")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"DESCRIPT.ION"});
}

TEST(Descriptions, fifoNamedLikeTheFileIsNeitherWaitedOnNorReplaced)
{
    TempDir dir;
    const QString fifo = dir.filePath("DESCRIPT.ION");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    ShownMessages shown;
    EXPECT_TRUE(LoadDescriptions(dir.path()).isEmpty());
    EXPECT_EQ(ReadDescription(dir.filePath("a.txt")), QString());
    EXPECT_FALSE(WriteDescription(dir.filePath("a.txt"), "A"));
    struct stat st;
    ASSERT_EQ(::lstat(QFile::encodeName(fifo).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_EQ(shown.texts.size(), 1);
}

// A rewrite must not become a copy of gigabytes of holes on the UI thread.
TEST(Descriptions, fileTooLargeToRewriteIsRefusedAndKept)
{
    TempDir dir;
    const QString huge = dir.makeSizedFile("DESCRIPT.ION", qint64(2) << 30);
    {
        QFile f(huge);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_EQ(f.write("a.txt A\r\n"), 9);
    }
    ShownMessages shown;
    EXPECT_FALSE(WriteDescription(dir.filePath("b.txt"), "B"));
    ASSERT_EQ(shown.texts.size(), 1);
    EXPECT_TRUE(shown.texts[0].contains("16 MiB")) << shown.texts[0].toStdString();
    EXPECT_EQ(QFileInfo(huge).size(), qint64(2) << 30);
    EXPECT_EQ(ReadDescription(dir.filePath("a.txt")), "A");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"DESCRIPT.ION"});
}

TEST(Descriptions, entryPastTheReadBoundIsDescribedOnItsOwnLine)
{
    TempDir dir;
    const QString file = dir.makeFile("DESCRIPT.ION", "a.txt A\r\nb.txt B\r\n");
    ASSERT_TRUE(WriteDescription(dir.filePath("b.txt"), "new", 9));
    EXPECT_EQ(contentOf(file), "a.txt A\r\nb.txt new\r\n");
}

TEST(Descriptions, rewriteKeepsTheFilesOtherAttributes)
{
    TempDir dir;
    const QString file = dir.makeFile("DESCRIPT.ION", "a.txt A\r\n");
    const QByteArray native = QFile::encodeName(file);
    if (::setxattr(native.constData(), "user.origin", "mail", 4, 0) != 0)
        GTEST_SKIP() << "no user attributes on this file system";
    ASSERT_TRUE(WriteDescription(dir.filePath("b.txt"), "B"));
    char value[16] = {};
    EXPECT_EQ(::getxattr(native.constData(), "user.origin", value, sizeof value), 4);
    EXPECT_STREQ(value, "mail");
}

namespace {

// A small tmpfs of its own makes a full disk and a read-only folder real even for root,
// whom permissions do not stop. Null when mounting is not allowed here.
class SmallVolume {
public:
    explicit SmallVolume(const QString& where) : m_where(QFile::encodeName(where))
    {
        m_mounted = ::geteuid() == 0 && ::mount("tmpfs", m_where.constData(), "tmpfs", 0, "size=64k") == 0;
    }
    ~SmallVolume()
    {
        if (m_mounted)
            ::umount2(m_where.constData(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }
    bool makeReadOnly()
    {
        return ::mount(nullptr, m_where.constData(), nullptr, MS_REMOUNT | MS_RDONLY, "size=64k") == 0;
    }

private:
    QByteArray m_where;
    bool m_mounted = false;
};

void fillUp(const QString& path)
{
    QFile filler(path);
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
}

} // namespace

// A description that cannot be saved must say so, with the system's reason.
TEST(Descriptions, unsavableDescriptionSaysWhyAndLeavesTheOldFile)
{
    TempDir dir;
    ShownMessages shown;
    const auto refusal = [](const QString& file, int error) {
        return QStringLiteral("Unable to write the description to %1: %2.")
            .arg(file, QString::fromLocal8Bit(strerror(error)));
    };
    const QString readOnly = dir.makeFile("DESCRIPT.ION", "a.txt A\r\n");
    ::chmod(QFile::encodeName(readOnly).constData(), 0444);
    EXPECT_FALSE(WriteDescription(dir.filePath("a.txt"), "changed"));
    EXPECT_EQ(contentOf(readOnly), "a.txt A\r\n");
    EXPECT_FALSE(WriteDescription(dir.filePath("removed/a.txt"), "A")) << "a folder removed while shown";
    EXPECT_EQ(shown.texts,
              (QStringList{refusal(readOnly, EACCES), refusal(dir.filePath("removed/DESCRIPT.ION"), ENOENT)}));
    EXPECT_TRUE(leftoverTemporaries(dir.path()).isEmpty());

    const QString folder = dir.makeDir("vol");
    SmallVolume volume(folder);
    if (!volume.mounted())
        GTEST_SKIP() << "a full or read-only volume needs root to mount a tmpfs";
    const QByteArray old = "a.txt " + QByteArray(3000, 'a') + "\r\n";
    const QString file = dir.makeFile("vol/DESCRIPT.ION", old);
    fillUp(folder + "/filler");
    shown.texts.clear();
    EXPECT_FALSE(WriteDescription(folder + "/b.txt", "B"));
    EXPECT_EQ(contentOf(file), old);
    EXPECT_TRUE(leftoverTemporaries(folder).isEmpty()) << "a half-written temporary file was left";

    QFile::remove(folder + "/filler");
    ASSERT_TRUE(volume.makeReadOnly());
    EXPECT_FALSE(WriteDescription(folder + "/a.txt", "changed"));
    EXPECT_EQ(contentOf(file), old);
    EXPECT_EQ(shown.texts, (QStringList{refusal(file, ENOSPC), refusal(file, EROFS)}));
}
