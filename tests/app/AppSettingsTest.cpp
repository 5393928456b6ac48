// The general options in the settings store: defaults, a round trip through the hive
// file, and a value of the wrong type.
#include "app/AppSettings.h"

#include "AppTestSupport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <tuple>

namespace {

const QString kCfg = kSettingsRoot + QStringLiteral("\\cfg");

auto fields(const AppSettings& s)
{
    return std::make_tuple(s.QuitType, s.ShowBigSize, s.ShowAttrs, s.ShowListHints, s.ShowDrives,
                           s.ShowZipComment, s.ShowSupported, s.FastZipMove, s.UseAsyncShell,
                           s.MonFoldChanges, s.MonRootSubDirs, s.MonFoldDelay, s.HideDescription,
                           s.HideHidden, s.HideExtra);
}

TEST(AppSettings, missingKeyOrValueLosesTheDefaults)
{
    IsolatedConfig config;
    AppSettings s;
    EXPECT_FALSE(s.Load());
    EXPECT_EQ(fields(s), fields(AppSettings{}));
    EXPECT_EQ(s.QuitType, 0);
    EXPECT_TRUE(s.ShowDrives && s.HideDescription);
    EXPECT_FALSE(s.HideHidden || s.MonFoldChanges);
    EXPECT_EQ(s.MonFoldDelay, 15);
    EXPECT_FALSE(QFile::exists(config.HiveFile()));

    {
        TRegistry reg;
        reg.OpenKey(kCfg, true);
        reg.WriteInteger("QuitType", 3);
    }
    TRegistry::ReloadAll();
    AppSettings partial;
    EXPECT_TRUE(partial.Load());
    AppSettings expected;
    expected.QuitType = 3;
    EXPECT_EQ(fields(partial), fields(expected));
}

TEST(AppSettings, savedValuesComeBackDifferent)
{
    IsolatedConfig config;
    const AppSettings out{2, true, false, false, false, true, false, true, true, true, true, 42, false, true, true};
    out.Save();
    TRegistry::ReloadAll();              // as after a restart
    AppSettings in;
    ASSERT_TRUE(in.Load());
    EXPECT_EQ(fields(in), fields(out));

    QFile file(config.HiveFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("[HKEY_CURRENT_USER\\Software\\Molvek\\zpt\\cfg]")) << text.constData();
    EXPECT_TRUE(text.contains("\"MonFoldDelay\"=dword:0000002a")) << text.constData();
}

TEST(AppSettings, wrongTypeReadRaises)
{
    IsolatedConfig config;
    {
        TRegistry reg;
        reg.OpenKey(kCfg, true);
        reg.WriteString("MonFoldDelay", "fifteen");
    }
    AppSettings s;
    EXPECT_THROW(s.Load(), ERegistryException);
}

} // namespace
