// The settings store: values survive a restart with their types, the file keeps the
// registry editor's layout, and a failed save neither loses the old file nor leaves
// temporary files behind.
#include "platform/TRegistry.h"

#include "QtPrinters.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

const QString kCfg = QStringLiteral("Software\\Molvek\\zpt\\cfg");

class TRegistryTest : public ::testing::Test {
protected:
    void SetUp() override { reset(); }
    void TearDown() override { reset(); }

    static void reset()
    {
        TRegistry::ReloadAll();
        QDir(folder()).removeRecursively();
    }
    static QString folder() { return QFileInfo(TRegistry::HiveFile(RegistryHive::CurrentUser)).absolutePath(); }
    static QString hiveFile() { return TRegistry::HiveFile(RegistryHive::CurrentUser); }

    static QByteArray fileBytes()
    {
        QFile f(hiveFile());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void writeFileBytes(const QByteArray& bytes)
    {
        QDir().mkpath(folder());
        QFile f(hiveFile());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    static QStringList tempFiles()
    {
        return QDir(folder()).entryList({QStringLiteral("HKCU.reg.*")}, QDir::Files | QDir::Hidden);
    }
};

TEST_F(TRegistryTest, valuesSurviveRestartWithTheirTypes)
{
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(kCfg, true));
        reg.WriteString(QStringLiteral("FontName"), QStringLiteral("Fixedsys"));
        reg.WriteString(QStringLiteral("Empty"), QString());
        reg.WriteString(QStringLiteral("Unicode"), QStringLiteral("Grüße €"));
        reg.WriteInteger(QStringLiteral("QuitType"), 2);
        reg.WriteInteger(QStringLiteral("Negative"), -5);
        reg.WriteBool(QStringLiteral("Flag"), true);
        reg.CloseKey();
    }
    TRegistry::ReloadAll();
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(kCfg));
    EXPECT_EQ(reg.ReadString(QStringLiteral("FontName")), QStringLiteral("Fixedsys"));
    EXPECT_EQ(reg.ReadString(QStringLiteral("Empty")), QString());
    EXPECT_EQ(reg.ReadString(QStringLiteral("Unicode")), QStringLiteral("Grüße €"));
    EXPECT_EQ(reg.ReadInteger(QStringLiteral("QuitType")), 2);
    EXPECT_EQ(reg.ReadInteger(QStringLiteral("Negative")), -5);
    EXPECT_TRUE(reg.ReadBool(QStringLiteral("Flag")));
    EXPECT_TRUE(reg.ReadBool(QStringLiteral("QuitType")));   // any non-zero integer
}

TEST_F(TRegistryTest, fileHasRegeditLayoutWithCrLf)
{
    {
        TRegistry reg;
        reg.OpenKey(kCfg, true);
        reg.WriteString(QStringLiteral("FontName"), QStringLiteral("Fixedsys"));
        reg.WriteInteger(QStringLiteral("QuitType"), 2);
    }
    EXPECT_EQ(fileBytes(),
              QByteArray("Windows Registry Editor Version 5.00\r\n\r\n"
                         "[HKEY_CURRENT_USER\\Software]\r\n\r\n"
                         "[HKEY_CURRENT_USER\\Software\\Molvek]\r\n\r\n"
                         "[HKEY_CURRENT_USER\\Software\\Molvek\\zpt]\r\n\r\n"
                         "[HKEY_CURRENT_USER\\Software\\Molvek\\zpt\\cfg]\r\n"
                         "\"FontName\"=\"Fixedsys\"\r\n"
                         "\"QuitType\"=dword:00000002\r\n\r\n"));
}

TEST_F(TRegistryTest, quotesAndBackslashesAreEscaped)
{
    const QString name = QStringLiteral("Na\"me\\");
    const QString value = QStringLiteral("C:\\dir\\\"x\"\\");
    {
        TRegistry reg;
        reg.OpenKey(kCfg, true);
        reg.WriteString(name, value);
    }
    EXPECT_TRUE(fileBytes().contains("\"Na\\\"me\\\\\"=\"C:\\\\dir\\\\\\\"x\\\"\\\\\"\r\n"));
    TRegistry::ReloadAll();
    TRegistry reg;
    reg.OpenKey(kCfg, false);
    EXPECT_EQ(reg.ReadString(name), value);
}

TEST_F(TRegistryTest, lineBreaksInStringsDoNotBreakTheFile)
{
    const QString value = QStringLiteral("line 1\r\nline 2\n\"3\"\t");
    {
        TRegistry reg;
        reg.OpenKey(kCfg, true);
        reg.WriteString(QStringLiteral("Multi"), value);
        reg.WriteString(QStringLiteral("After"), QStringLiteral("ok"));
    }
    TRegistry::ReloadAll();
    TRegistry reg;
    reg.OpenKey(kCfg, false);
    EXPECT_EQ(reg.ReadString(QStringLiteral("Multi")), value);
    EXPECT_EQ(reg.ReadString(QStringLiteral("After")), QStringLiteral("ok"));
}

TEST_F(TRegistryTest, wrongTypeReadRaises)
{
    TRegistry reg;
    reg.OpenKey(kCfg, true);
    reg.WriteInteger(QStringLiteral("Number"), 7);
    reg.WriteString(QStringLiteral("Text"), QStringLiteral("7"));
    try {
        reg.ReadString(QStringLiteral("Number"));
        FAIL() << "reading an integer as a string must raise";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.text(), QStringLiteral("Invalid data type for 'Number'"));
    }
    EXPECT_THROW(reg.ReadInteger(QStringLiteral("Text")), ERegistryException);
    EXPECT_THROW(reg.ReadBool(QStringLiteral("Text")), ERegistryException);
}

TEST_F(TRegistryTest, missingValueRaises)
{
    TRegistry reg;
    reg.OpenKey(kCfg, true);
    try {
        reg.ReadInteger(QStringLiteral("Nowhere"));
        FAIL() << "reading a missing value must raise";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.text(), QStringLiteral("Invalid data type for 'Nowhere'"));
    }
    EXPECT_THROW(reg.ReadString(QStringLiteral("Nowhere")), ERegistryException);
    EXPECT_FALSE(reg.ValueExists(QStringLiteral("Nowhere")));
}

TEST_F(TRegistryTest, namesCompareWithoutCaseButKeepTheirSpellingAndOrder)
{
    {
        TRegistry reg;
        reg.OpenKey(kCfg, true);
        for (const char* name : {"beta", "_under", "Gamma", "Alpha"}) {
            reg.WriteInteger(QString::fromLatin1(name), 1);
            ASSERT_TRUE(reg.OpenKey(QStringLiteral("Sub\\") + QString::fromLatin1(name), true));
            reg.CloseKey();
            reg.OpenKey(kCfg, false);
        }
        reg.WriteInteger(QStringLiteral("ALPHA"), 2);   // the same value, other spelling
        EXPECT_TRUE(reg.ValueExists(QStringLiteral("gamma")));
    }
    TRegistry::ReloadAll();
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(QStringLiteral("software\\MOLVEK\\Zpt\\CFG"), false));
    const QStringList expected = {"Alpha", "beta", "Gamma", "_under"};   // '_' sorts after 'Z'
    EXPECT_EQ(reg.GetValueNames(), expected);
    EXPECT_EQ(reg.ReadInteger(QStringLiteral("alpha")), 2);
    ASSERT_TRUE(reg.OpenKey(QStringLiteral("sub"), false));
    EXPECT_EQ(reg.GetKeyNames(), expected);
    EXPECT_EQ(reg.CurrentPath(), QStringLiteral("software\\MOLVEK\\Zpt\\CFG\\sub"));
}

TEST_F(TRegistryTest, slashesInKeyNamesAreNotSeparators)
{
    const QString bookmark = QStringLiteral("/home/user/");
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(QStringLiteral("Software\\Molvek\\zpt\\Bookmarks\\") + bookmark, true));
        reg.WriteString(QStringLiteral("Name"), QStringLiteral("home"));
    }
    TRegistry::ReloadAll();
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(QStringLiteral("Software\\Molvek\\zpt\\Bookmarks"), false));
    EXPECT_EQ(reg.GetKeyNames(), QStringList{bookmark});
    EXPECT_TRUE(reg.KeyExists(bookmark));
    EXPECT_FALSE(reg.KeyExists(QStringLiteral("home")));
}

TEST_F(TRegistryTest, deleteKeyRemovesTheWholeSubtree)
{
    {
        TRegistry reg;
        reg.OpenKey(QStringLiteral("Software\\A\\B\\C"), true);
        reg.WriteString(QStringLiteral("deep"), QStringLiteral("x"));
        reg.OpenKey(QStringLiteral("\\Software\\Keep"), true);
        reg.CloseKey();
        reg.OpenKey(QStringLiteral("Software"), false);
        EXPECT_TRUE(reg.DeleteKey(QStringLiteral("a")));
        EXPECT_FALSE(reg.DeleteKey(QStringLiteral("A")));   // already gone
        EXPECT_FALSE(reg.KeyExists(QStringLiteral("\\Software\\A\\B\\C")));
    }
    TRegistry::ReloadAll();
    TRegistry reg;
    EXPECT_FALSE(reg.KeyExists(QStringLiteral("Software\\A")));
    EXPECT_TRUE(reg.KeyExists(QStringLiteral("Software\\Keep")));   // empty keys are kept
    EXPECT_FALSE(fileBytes().contains("deep"));
}

TEST_F(TRegistryTest, fileIsWrittenOnlyWhenSomethingChanged)
{
    {
        TRegistry reg;
        reg.OpenKey(kCfg, true);
        reg.WriteInteger(QStringLiteral("Same"), 1);
    }
    ASSERT_TRUE(QFile::remove(hiveFile()));
    {
        TRegistry reg;
        reg.OpenKey(kCfg, false);
        reg.WriteInteger(QStringLiteral("Same"), 1);
        reg.ReadInteger(QStringLiteral("Same"));
        reg.CloseKey();
    }
    EXPECT_FALSE(QFile::exists(hiveFile()));
    {
        TRegistry reg;
        reg.OpenKey(kCfg, false);
        reg.WriteInteger(QStringLiteral("Same"), 2);
        reg.CloseKey();
    }
    EXPECT_TRUE(QFile::exists(hiveFile()));
}

TEST_F(TRegistryTest, hivesAreSharedAndReloadAllRereadsTheFile)
{
    TRegistry writer;
    writer.OpenKey(kCfg, true);
    writer.WriteString(QStringLiteral("V"), QStringLiteral("first"));
    TRegistry reader;
    reader.OpenKey(kCfg, false);
    EXPECT_EQ(reader.ReadString(QStringLiteral("V")), QStringLiteral("first"));   // before any save
    writer.CloseKey();

    QByteArray bytes = fileBytes();
    bytes.replace("first", "second");
    writeFileBytes(bytes);
    EXPECT_EQ(reader.ReadString(QStringLiteral("V")), QStringLiteral("first"));   // loaded once
    TRegistry::ReloadAll();
    TRegistry fresh;
    fresh.OpenKey(kCfg, false);
    EXPECT_EQ(fresh.ReadString(QStringLiteral("V")), QStringLiteral("second"));
}

TEST_F(TRegistryTest, tolerantReadSkipsGarbageAndAcceptsLf)
{
    writeFileBytes("Windows Registry Editor Version 5.00\n\n"
                   "\"Orphan\"=\"before any key\"\n"
                   "[HKEY_CURRENT_USER\\Software\\T]\n"
                   "\"Good\"=\"yes\"\n"
                   "\"Num\"=dword:0000001f\n"
                   "\"BadNum\"=dword:xyz\n"
                   "\"TooLong\"=dword:123456789\n"
                   "\"Unterminated=\"x\n"
                   "\"NoEquals\" \"x\"\n"
                   "\"Binary\"=hex:01,02,03\n"
                   "random garbage ]][[ \"\n"
                   "[HKEY_CURRENT_USER\\Software\\T\n"
                   "\"AfterBrokenHeader\"=\"lost\"\n"
                   "[HKEY_LOCAL_MACHINE\\Software\\Other]\n"
                   "\"Foreign\"=\"no\"\n"
                   "[HKEY_CURRENT_USER\\Software\\U]\r\n"
                   "@=\"default\"\r\n"
                   "\"Crlf\"=\"also\"\r\n");
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(QStringLiteral("Software\\T"), false));
    EXPECT_EQ(reg.GetValueNames(), QStringList({"Good", "Num"}));
    EXPECT_EQ(reg.ReadString(QStringLiteral("Good")), QStringLiteral("yes"));
    EXPECT_EQ(reg.ReadInteger(QStringLiteral("Num")), 31);
    EXPECT_FALSE(reg.KeyExists(QStringLiteral("\\Software\\Other")));
    ASSERT_TRUE(reg.OpenKey(QStringLiteral("\\Software\\U"), false));
    EXPECT_EQ(reg.ReadString(QString()), QStringLiteral("default"));
    EXPECT_EQ(reg.ReadString(QStringLiteral("Crlf")), QStringLiteral("also"));
    EXPECT_EQ(reg.GetKeyNames(), QStringList());
}

TEST_F(TRegistryTest, failedRenameRaisesAndLeavesNoTempFile)
{
    // A folder in the file's place makes the final rename fail, even for root. It comes
    // after the hive was read: one there at start would keep the hive from being saved.
    TRegistry reg;
    reg.OpenKey(kCfg, true);
    QDir().mkpath(hiveFile() + QStringLiteral("/inside"));
    reg.WriteString(QStringLiteral("V"), QStringLiteral("x"));
    try {
        reg.CloseKey();
        FAIL() << "saving over a folder must raise";
    } catch (const ERegistryException& e) {
        EXPECT_TRUE(e.text().contains(hiveFile())) << e.text().toStdString();
    }
    EXPECT_EQ(tempFiles(), QStringList());
    EXPECT_TRUE(QFileInfo(hiveFile() + QStringLiteral("/inside")).isDir());
}

// Makes a folder refuse new files for as long as it lives: chmod for a user, the
// immutable flag for root (whom permissions do not stop).
class UnwritableFolder {
public:
    explicit UnwritableFolder(const QString& path)
        : m_path(QFile::encodeName(path))
    {
        if (geteuid() != 0) {
            m_active = ::chmod(m_path.constData(), 0500) == 0;
            return;
        }
        m_active = setImmutable(true);
    }
    ~UnwritableFolder()
    {
        if (!m_active)
            return;
        if (geteuid() != 0)
            ::chmod(m_path.constData(), 0700);
        else
            setImmutable(false);
    }
    bool active() const { return m_active; }

private:
    bool setImmutable(bool on)
    {
        const int fd = ::open(m_path.constData(), O_RDONLY | O_DIRECTORY);
        if (fd < 0)
            return false;
        int flags = 0;
        bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (ok) {
            flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
        return ok;
    }

    QByteArray m_path;
    bool m_active = false;
};

TEST_F(TRegistryTest, unwritableFolderKeepsTheOldFile)
{
    {
        TRegistry reg;
        reg.OpenKey(kCfg, true);
        reg.WriteString(QStringLiteral("V"), QStringLiteral("old"));
    }
    const QByteArray before = fileBytes();
    TRegistry reg;
    reg.OpenKey(kCfg, false);
    reg.WriteString(QStringLiteral("V"), QStringLiteral("new"));
    {
        UnwritableFolder guard(folder());
        if (!guard.active())
            GTEST_SKIP() << "cannot make the settings folder unwritable here";
        EXPECT_THROW(reg.CloseKey(), ERegistryException);
    }
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(tempFiles(), QStringList());
}

// The user's chmod a-w on the settings file is an answer, even to root.
TEST_F(TRegistryTest, readOnlyHiveIsNotReplacedAndTheSaveSaysWhy)
{
    {
        TRegistry reg;
        reg.OpenKey(kCfg, true);
        reg.WriteString(QStringLiteral("V"), QStringLiteral("old"));
    }
    const QByteArray before = fileBytes();
    ASSERT_EQ(::chmod(QFile::encodeName(hiveFile()).constData(), 0444), 0);
    TRegistry reg;
    reg.OpenKey(kCfg, false);
    reg.WriteString(QStringLiteral("V"), QStringLiteral("new"));
    try {
        reg.CloseKey();
        FAIL() << "a read-only settings file was replaced";
    } catch (const ERegistryException& e) {
        EXPECT_TRUE(e.text().contains(QString::fromLocal8Bit(std::strerror(EACCES)))) << e.text().toStdString();
    }
    EXPECT_EQ(fileBytes(), before);
}

TEST_F(TRegistryTest, tempFilesOfAKilledSaveStayForever)
{
    QDir().mkpath(folder());
    auto leave = [](const QString& name, int secondsAgo) {
        QFile f(folder() + u'/' + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURR");
        f.flush();
        const QDateTime written = QDateTime::currentDateTime().addSecs(-secondsAgo);
        ASSERT_TRUE(f.setFileTime(written, QFileDevice::FileModificationTime));
    };
    leave(QStringLiteral("HKCU.reg.dvtmp-a1B2c3"), 3600);   // a save killed an hour ago
    leave(QStringLiteral("HKCU.reg.dvtmp-Zz9Yy8"), 0);      // another instance saving right now
    leave(QStringLiteral("HKCU.reg.backup"), 3600);         // the user's, not ours
    {
        TRegistry reg;
        reg.OpenKey(kCfg, true);
        reg.WriteString(QStringLiteral("V"), QStringLiteral("x"));
    }
    QStringList left = tempFiles();
    left.sort();
    EXPECT_EQ(left, QStringList({"HKCU.reg.backup", "HKCU.reg.dvtmp-Zz9Yy8"}));
}

TEST_F(TRegistryTest, hiveFileFallsBackToDotConfig)
{
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    unsetenv("XDG_CONFIG_HOME");
    const QString withoutXdg = TRegistry::HiveFile(RegistryHive::LocalMachine);
    setenv("XDG_CONFIG_HOME", saved.constData(), 1);
    EXPECT_EQ(withoutXdg, QDir::homePath() + QStringLiteral("/.config/dorvane/HKLM.reg"));
    EXPECT_EQ(TRegistry::HiveFile(RegistryHive::ClassesRoot),
              QFile::decodeName(saved) + QStringLiteral("/dorvane/HKCR.reg"));
}

} // namespace
