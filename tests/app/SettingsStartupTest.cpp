// The main window's settings across restarts: what a first start uses, what one run
// hands to the next through the store, and a damaged value met at start-up.
#include "AppTestSupport.h"
#include "FormTestSupport.h"
#include "platform/VirtualKeys.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST(SettingsAtStartup, firstStartUsesWrongDefaults)
{
    IsolatedConfig config;
    CapturedMessages messages;
    TempDir dir;
    for (const char* name : {".hidden", "descript.ion", "plain"})
        dir.makeFile(name);
    auto form = StartForm();
    EXPECT_TRUE(form->StartupDone());
    EXPECT_TRUE(messages.shown.empty());
    const AppSettings& s = form->Settings();
    EXPECT_TRUE(s.ShowDrives && s.HideDescription);
    EXPECT_FALSE(s.HideHidden || s.MonFoldChanges);
    EXPECT_EQ(s.QuitType, 0);
    EXPECT_EQ(form->HotKeys().Entries[0].VirtKey, 0x74u);
    EXPECT_EQ(form->HotKeys().Entries[0].Modifiers, hkShift);
    EXPECT_TRUE(BookmarkItems(*form).isEmpty());

    TDirData& left = form->Left();
    form->MoveTo(left, dir.path(), true);
    EXPECT_EQ(EntryNames(left).mid(0, left.DirCount + left.FileCount), (QStringList{"..", ".hidden", "plain"}));
    EXPECT_EQ(left.DriveCount, form->Volumes().size());
}

TEST(SettingsAtStartup, storedSettingsLostAcrossRestart)
{
    IsolatedConfig config;
    CapturedMessages messages;
    TempDir dir;
    const QString kept = dir.makeDir("kept");
    {
        auto first = StartForm();
        first->MoveTo(first->Left(), kept, true);
        first->Left().SortCombo->setCurrentIndex(1);    // not stored: must not disturb the rest
        first->AddbookmarkClick();
        first->Settings().QuitType = 2;
        first->HotKeys().Entries[2] = {0x77, hkCtrl | hkAlt};
        first->Viewers().Find(".BMP")->Enabled = false;
        first->Viewers().Append("log", true);
    }                                                    // the destructor writes the settings
    TRegistry::ReloadAll();
    auto second = StartForm();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(BookmarkItems(*second), QStringList{"bkmk03=" + kept + '/'});
    EXPECT_EQ(second->Settings().QuitType, 2);
    EXPECT_EQ(second->HotKeys().Entries[2].VirtKey, 0x77u);
    EXPECT_EQ(second->HotKeys().Entries[2].Modifiers, hkCtrl | hkAlt);
    EXPECT_FALSE(second->Viewers().IsViewable("a.bmp"));
    EXPECT_TRUE(second->Viewers().IsViewable("a.log"));
}

TEST(SettingsAtStartup, wrongTypeValueStopsStartupSilently)
{
    IsolatedConfig config;
    {
        TRegistry reg;
        reg.OpenKey(kSettingsRoot + QStringLiteral("\\cfg"), true);
        reg.WriteString(QStringLiteral("QuitType"), QStringLiteral("2"));
    }
    TRegistry::ReloadAll();
    {
        CapturedMessages messages;
        auto form = StartForm();
        EXPECT_TRUE(form->StartupDone());
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].kind, MsgKind::Error);
        EXPECT_FALSE(messages.shown[0].text.isEmpty());
        EXPECT_EQ(form->Settings().QuitType, 0);
        EXPECT_GT(form->Left().Count, 0);
    }
    // That run wrote the value with its proper type: the next start is clean.
    TRegistry::ReloadAll();
    CapturedMessages messages;
    auto again = StartForm();
    EXPECT_TRUE(messages.shown.empty());
}

TEST(SettingsAtStartup, unreadableSettingsFileSilentlyReplacedByDefaults)
{
    // Root reads a file whatever its mode; a folder in the file's place stops anyone.
    for (const bool asFolder : {true, false}) {
        if (!asFolder && geteuid() == 0)
            continue;
        SCOPED_TRACE(asFolder ? "a folder" : "mode 000");
        IsolatedConfig config;
        const QString file = config.HiveFile();
        const QByteArray path = QFile::encodeName(file);
        QByteArray before;
        if (asFolder) {
            ASSERT_TRUE(QDir().mkpath(file + QStringLiteral("/inside")));
        } else {
            {
                TRegistry reg;
                reg.OpenKey(kSettingsRoot + QStringLiteral("\\bookmarks\\/kept/"), true);
            }
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            before = f.readAll();
            ASSERT_EQ(::chmod(path.constData(), 0), 0);
            TRegistry::ReloadAll();
        }
        {
            CapturedMessages messages;
            StartForm().reset();                       // start, then shut down and save
            ASSERT_EQ(messages.shown.size(), 1u);
            EXPECT_EQ(messages.shown[0].kind, MsgKind::Error);
            const QString reason = QString::fromLocal8Bit(std::strerror(asFolder ? EISDIR : EACCES));
            EXPECT_TRUE(messages.shown[0].text.contains(file) && messages.shown[0].text.contains(reason))
                << messages.shown[0].text.toStdString();
        }
        if (asFolder) {
            EXPECT_TRUE(QFileInfo(file + QStringLiteral("/inside")).isDir());
        } else {
            ::chmod(path.constData(), 0600);
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            EXPECT_EQ(f.readAll(), before);
        }
        const QDir folder = QFileInfo(file).absoluteDir();
        EXPECT_EQ(folder.entryList({QStringLiteral("HKCU.reg.*")}, QDir::Files), QStringList());
    }
}

} // namespace
