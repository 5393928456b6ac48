// The named self-extractor sets in DORVN.INI and the INI file under them: what the file
// holds after saving, which set a name finds, and a damaged file read without harm.
#include "platform/IniFile.h"
#include "platform/TMessages.h"
#include "zip/SfxSets.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QFile>

namespace {

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Shown {
    QStringList texts;
    Shown()
    {
        TMessages::SetResponder([this](const MessageRequest& r) {
            texts << r.text;
            return MsgResult::Ok;
        });
    }
    ~Shown() { TMessages::SetResponder({}); }
};

TEST(SfxSets, quotingLostOrMissingKeysNotDefaulted)
{
    TempDir dir;
    const QString ini = dir.makeFile("DORVN.INI", "[RenameSet1]\nName=\"not a sfx set\"\n"
                                                  "[sfxset7]\nCaption=bare text\n");
    SfxSets sets(ini);
    SfxSet set;
    set.Caption = "  Setup of \"Tools\"  ";
    set.CommandLine = "><setup.exe -q";
    set.DefDirectory = "/opt/tools";
    set.UseTempDir = true;
    set.CanDisableCmdLine = false;
    set.OverwriteMode = 2;
    ASSERT_TRUE(sets.Save("Tools", set));

    const QByteArray text = contentOf(ini);
    EXPECT_TRUE(text.contains("[SfxSet1]\nName=\"Tools\"\nCaption=\"  Setup of \"Tools\"  \"\n"
                              "CommandLine=\"><setup.exe -q\"\nDefDirectory=\"/opt/tools\"\nUseTempDir=1\n"
                              "CanDisableCmdLine=0\nCanSelectFiles=0\nUserOverwrite=0\nOverwriteMode=2\n"))
        << text.toStdString();
    EXPECT_TRUE(text.startsWith("[RenameSet1]\nName=\"not a sfx set\"\n[sfxset7]\nCaption=bare text\n"));

    EXPECT_EQ(sets.Names(), (QStringList{"<no name>", "Tools"}));
    EXPECT_EQ(sets.Load("tOOLS"), set);
    SfxSet bare;
    bare.Caption = "bare text";
    EXPECT_EQ(sets.Load("<NO NAME>"), bare);
    EXPECT_FALSE(sets.Load("not a sfx set"));
}

TEST(SfxSets, otherCaseMakesSecondSetOrEmptyNameSaved)
{
    TempDir dir;
    const QString ini = dir.filePath("config/dorvane/DORVN.INI");
    SfxSets sets(ini);
    SfxSet first;
    first.Caption = "first";
    ASSERT_TRUE(sets.Save("Backup", first));
    SfxSet second;
    second.Caption = "second";
    ASSERT_TRUE(sets.Save("BACKUP", second));
    EXPECT_EQ(sets.Names(), QStringList{"BACKUP"});
    EXPECT_EQ(sets.Load("backup"), second);

    Shown shown;
    const QByteArray before = contentOf(ini);
    EXPECT_FALSE(sets.Save("", first));
    EXPECT_EQ(shown.texts, QStringList{"Invalid name"});
    EXPECT_EQ(contentOf(ini), before);

    sets.Erase("Backup");
    EXPECT_TRUE(sets.Names().isEmpty());
}

TEST(IniFile, damagedBytesOrLongLinesBreakReading)
{
    IniFile ini(QString{});
    const QByteArray longValue(3 << 20, 'v');
    const QByteArray nul(1, '\0');
    ini.Parse("\xEF\xBB\xBF[One]\rLatin=caf\xE9\r\n[two]\nLong=" + longValue + "\n" + nul + "junk\xFF\xFE\n"
              "[broken\n=no key\nKey = \"padded\" \n");
    EXPECT_EQ(ini.Sections(), (QStringList{"One", "two"}));
    EXPECT_EQ(ini.ReadString("ONE", "latin"), QString::fromLatin1("caf\xE9"));
    EXPECT_EQ(ini.ReadString("Two", "LONG").size(), longValue.size());
    EXPECT_EQ(ini.ReadString("two", "key"), "padded");
    EXPECT_EQ(ini.ReadInteger("two", "long", -1), -1);

    // What was not understood is written back as it was read.
    IniFile again(QString{});
    again.Parse(ini.Serialize());
    EXPECT_EQ(again.Serialize(), ini.Serialize());
    EXPECT_TRUE(ini.Serialize().contains("[broken\n=no key\n"));

    // A key line whose trimmed key starts with a byte-order mark must not come back
    // as a section once the mark is read as the file's own.
    IniFile marked(QString{});
    marked.Parse("\f\xEF\xBB\xBF[S=1]\n");
    IniFile reread(QString{});
    reread.Parse(marked.Serialize());
    EXPECT_TRUE(reread.Sections().isEmpty());
}

} // namespace
