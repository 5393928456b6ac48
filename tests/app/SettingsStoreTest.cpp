// Each section of the settings store through the real hive file: written, the store
// forgotten as at a restart, read back; and values that other versions or hands left
// there (unknown extensions, stray names, partial keys).
#include "app/SettingsStore.h"

#include "AppTestSupport.h"
#include "app/AppSettings.h"
#include "platform/FileNames.h"
#include "platform/VirtualKeys.h"
#include "viewers/ViewerExtensions.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <climits>
#include <sys/inotify.h>
#include <unistd.h>

namespace {

QString key(const QString& sub) { return kSettingsRoot + QLatin1Char('\\') + sub; }

void restart() { TRegistry::ReloadAll(); }

QStringList names(const std::vector<CoolBand>& bands)
{
    QStringList list;
    for (const CoolBand& b : bands)
        list << b.Name;
    return list;
}

TEST(SettingsStore, supportedLosesDisabledBuiltInOrUnknownExtension)
{
    IsolatedConfig config;
    ViewerExtensions out;
    out.Find(".BMP")->Enabled = false;
    out.Append("nfo2", true);
    out.Append(".foo", false);
    SettingsStore::SaveSupported(out);
    {
        TRegistry reg;                     // by hand: other case, any text but "0"
        reg.OpenKey(key("supported"), true);
        reg.WriteString(".txt", "0");
        reg.WriteString(".XYZ", "yes");
    }
    restart();

    ViewerExtensions in;
    SettingsStore::LoadSupported(in);
    EXPECT_FALSE(in.Find(".BMP")->Enabled);
    EXPECT_FALSE(in.Find(".TXT")->Enabled);
    EXPECT_TRUE(in.Find(".GIF")->Enabled);
    ASSERT_EQ(in.Count(), 17);
    for (const char* ext : {".NFO2", ".FOO", ".XYZ"})
        ASSERT_NE(in.Find(ext), nullptr) << ext;
    EXPECT_TRUE(in.Find(".NFO2")->Enabled);
    EXPECT_FALSE(in.Find(".FOO")->Enabled);
    EXPECT_TRUE(in.Find(".XYZ")->Enabled);
    EXPECT_FALSE(in.Find(".XYZ")->BuiltIn);

    SettingsStore::SaveSupported(ViewerExtensions{});    // rows removed since go from the store
    restart();
    ViewerExtensions again;
    SettingsStore::LoadSupported(again);
    EXPECT_EQ(again.Count(), 14);
    EXPECT_TRUE(again.Find(".BMP")->Enabled);
}

TEST(SettingsStore, bookmarksComeBackInWrongOrderOrKeepDeletedOnes)
{
    IsolatedConfig config;
    EXPECT_TRUE(SettingsStore::LoadBookmarks().isEmpty());
    SettingsStore::SaveBookmarks({"/tmp/b/", "/tmp/A/", "/tmp/c/", "/old/"});
    SettingsStore::SaveBookmarks({"/tmp/b/", "/tmp/A/", "/tmp/c/"});
    restart();
    EXPECT_EQ(SettingsStore::LoadBookmarks(), (QStringList{"/tmp/A/", "/tmp/b/", "/tmp/c/"}));
}

TEST(SettingsStore, bookmarkFolderChangedByStore)
{
    IsolatedConfig config;
    SettingsStore::SaveBookmarks({"/tmp/a\\b/"});
    restart();
    EXPECT_EQ(SettingsStore::LoadBookmarks(), QStringList{"/tmp/a\\b/"});
    SettingsStore::SaveBookmarks({"/tmp/Docs/", "/tmp/docs/"});
    restart();
    EXPECT_EQ(SettingsStore::LoadBookmarks(), (QStringList{"/tmp/Docs/", "/tmp/docs/"}));
    // Duplicates are allowed, and names holding the escape characters survive too.
    SettingsStore::SaveBookmarks({"/tmp/50%/", "/tmp/50%/", "/tmp/x%%2/"});
    restart();
    EXPECT_EQ(SettingsStore::LoadBookmarks(), (QStringList{"/tmp/50%/", "/tmp/50%/", "/tmp/x%%2/"}));
}

TEST(SettingsStore, eachBookmarkSavedWithAWriteOfItsOwn)
{
    IsolatedConfig config;
    const QString folder = QFileInfo(config.HiveFile()).absolutePath();
    ASSERT_TRUE(QDir().mkpath(folder));
    // Every save renames a temporary file of its own into place: count those renames
    // (their distinct names keep the kernel from merging the events into one).
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, QFile::encodeName(folder).constData(), IN_MOVED_FROM), 0);
    QStringList folders;
    for (int i = 0; i < 2000; ++i)
        folders << QStringLiteral("/data/folder %1/").arg(i);
    SettingsStore::SaveBookmarks(folders);
    int renames = 0;
    alignas(inotify_event) char buffer[64 * 1024];
    for (ssize_t n; (n = ::read(watch, buffer, sizeof buffer)) > 0;) {
        for (const char* p = buffer; p < buffer + n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(p);
            renames += (event->mask & (IN_MOVED_FROM | IN_Q_OVERFLOW)) ? 1 : 0;
            p += sizeof(inotify_event) + event->len;
        }
    }
    ::close(watch);
    EXPECT_EQ(renames, 1);
    restart();
    EXPECT_EQ(SettingsStore::LoadBookmarks().size(), 2000);
}

TEST(SettingsStore, bytesThatAreNotUtf8ComeBackReplaced)
{
    IsolatedConfig config;
    const QStringList folders{DecodeFileName("/tmp/Caf\xE9/"), DecodeFileName("/tmp/two\nlines/"),
                              DecodeFileName("/tmp/\xC3/\xA9")};
    SettingsStore::SaveBookmarks(folders);
    {
        // Edited by hand in Latin-1, next to a value an older version wrote as UTF-8.
        QFile file(config.HiveFile());
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write("[HKEY_CURRENT_USER\\Software\\Molvek\\zpt\\TextView]\r\n"
                   "\"FontName\"=\"Gr\xFC\xDF" "e\"\r\n\"Old\"=\"Gr\xC3\xBC\xC3\x9F" "e\"\r\n");
    }
    restart();
    EXPECT_EQ(SettingsStore::LoadBookmarks(), folders);
    TextViewSettings view;
    SettingsStore::LoadTextView(view);
    EXPECT_EQ(EncodeFileName(view.FontName), QByteArray("Gr\xFC\xDF" "e"));
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKeyReadOnly(key("TextView")));
        EXPECT_EQ(reg.ReadString("Old"), QStringLiteral("Grüße"));
    }

    SettingsStore::SaveTextView(view);     // what was read goes back byte for byte
    QFile file(config.HiveFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("\"FontName\"=\"Gr\xFC\xDF" "e\"\r\n"));
    EXPECT_TRUE(text.contains("\\bookmarks\\/tmp/Caf\xE9/]\r\n"));
}

TEST(SettingsStore, extremeNumbersOverflowWhereTheyAreUsed)
{
    IsolatedConfig config;
    {
        TRegistry reg;
        auto open = [&](const char* sub) { reg.OpenKey(u'\\' + key(sub), true); };
        open("cfg");
        reg.WriteInteger("MonFoldDelay", INT_MAX);
        open("LeftHeader");
        reg.WriteInteger("width0", INT_MAX);
        reg.WriteInteger("width1", INT_MIN);
        open("HotKeys\\key1");
        reg.WriteInteger("VirtKey", -1);
        open("TextView");
        reg.WriteInteger("FontSize", INT_MAX);
        reg.WriteInteger("TabSize", 0);
        reg.WriteInteger("FontFore", INT_MIN);
        reg.WriteInteger("FontBack", INT_MAX);
        open("CoolBar1\\TBDrives");
        reg.WriteInteger("width", INT_MAX);
        open("MainForm");
        reg.WriteString("Left", "-2147483648");
        reg.WriteString("Top", "2147483647");
        reg.WriteString("Width", "2147483647");
        reg.WriteString("Height", "-5");
    }
    restart();

    AppSettings s;
    ASSERT_TRUE(s.Load());
    EXPECT_EQ(s.MonFoldDelay, 999);        // the dialog's largest; ms = value * 100
    std::array<int, 4> widths{1, 1, 1, 1};
    SettingsStore::LoadHeaderWidths("LeftHeader", widths);
    EXPECT_TRUE(widths[0] > 1 && widths[0] <= SHRT_MAX && widths[1] == 0) << widths[0] << ' ' << widths[1];
    HotKeyTable hotKeys;
    SettingsStore::LoadHotKeys(hotKeys);
    EXPECT_LE(hotKeys.Entries[1].VirtKey, 0xFFu);
    TextViewSettings view;
    SettingsStore::LoadTextView(view);
    EXPECT_EQ(std::tie(view.FontSize, view.TabSize, view.FontFore, view.FontBack),
              std::make_tuple(24, 1, 0, 0xFFFFFF));
    const auto bands = SettingsStore::LoadCoolBar({{"TBDrives", false, 1}});
    EXPECT_TRUE(bands[0].Width > 1 && bands[0].Width <= SHRT_MAX) << bands[0].Width;
    const auto p = SettingsStore::LoadPlacement();
    ASSERT_TRUE(p);
    EXPECT_TRUE(p->Left < 0 && p->Left >= SHRT_MIN && p->Top > 0 && p->Top <= SHRT_MAX) << p->Left << ' ' << p->Top;
    EXPECT_TRUE(p->Width > 0 && p->Width <= SHRT_MAX && p->Height == 0) << p->Width << ' ' << p->Height;
}

TEST(SettingsStore, modifierWordsMisread)
{
    EXPECT_EQ(SettingsStore::DecodeModifiers("CTRL and ALT"), hkCtrl | hkAlt);
    EXPECT_EQ(SettingsStore::DecodeModifiers("ctrl and Alt"), hkCtrl | hkAlt);
    EXPECT_EQ(SettingsStore::DecodeModifiers("Shift ext"), hkShift | hkExt);
    EXPECT_EQ(SettingsStore::DecodeModifiers(""), 0u);
    EXPECT_EQ(SettingsStore::EncodeModifiers(hkShift | hkCtrl), "shift ctrl ");
    EXPECT_EQ(SettingsStore::EncodeModifiers(hkShift | hkCtrl | hkAlt | hkExt), "shift ctrl alt ext ");
    EXPECT_EQ(SettingsStore::EncodeModifiers(0), "");
}

TEST(SettingsStore, hotKeysLostOrReadWithoutTheirKey)
{
    IsolatedConfig config;
    HotKeyTable custom;
    custom.Entries[0] = {0x70, hkCtrl | hkAlt};
    custom.Entries[3] = {0x41, hkShift | hkCtrl};
    HotKeyTable untouched = custom;
    SettingsStore::LoadHotKeys(untouched);             // no HotKeys key: nothing changes
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(std::make_pair(untouched.Entries[i].VirtKey, untouched.Entries[i].Modifiers),
                  std::make_pair(custom.Entries[i].VirtKey, custom.Entries[i].Modifiers)) << i;

    SettingsStore::SaveHotKeys(custom);
    restart();
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKeyReadOnly(key("HotKeys\\key3")));
        EXPECT_EQ(reg.ReadString("modifiers"), "shift ctrl ");
        EXPECT_EQ(reg.ReadInteger("VirtKey"), 0x41);
    }
    HotKeyTable in;
    SettingsStore::LoadHotKeys(in);
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(std::make_pair(in.Entries[i].VirtKey, in.Entries[i].Modifiers),
                  std::make_pair(custom.Entries[i].VirtKey, custom.Entries[i].Modifiers)) << i;
}

TEST(SettingsStore, coolBarOrderOrBandValuesLost)
{
    const QStringList all{"TBGeneral", "TBNavigation", "TBDrives"};
    QStringList saved = all;
    std::sort(saved.begin(), saved.end());
    do {
        QStringList start = all;
        std::sort(start.begin(), start.end());
        do {
            SCOPED_TRACE((saved.join(',') + " from " + start.join(',')).toStdString());
            IsolatedConfig config;
            std::vector<CoolBand> out;
            for (int i = 0; i < saved.size(); ++i)
                out.push_back({saved[i], i == 2, 100 + i});
            SettingsStore::SaveCoolBar(out);
            restart();
            std::vector<CoolBand> bands;
            for (const QString& n : start)
                bands.push_back({n, false, 1});
            const std::vector<CoolBand> in = SettingsStore::LoadCoolBar(bands);
            ASSERT_EQ(names(in), saved);
            for (int i = 0; i < 3; ++i)
                EXPECT_EQ(std::make_pair(in[size_t(i)].Break, in[size_t(i)].Width), std::make_pair(i == 2, 100 + i));
        } while (std::next_permutation(start.begin(), start.end()));
    } while (std::next_permutation(saved.begin(), saved.end()));
}

TEST(SettingsStore, headerWidthTouchesWrongSection)
{
    IsolatedConfig config;
    {
        TRegistry reg;
        reg.OpenKey(key("LeftHeader"), true);
        reg.WriteInteger("width2", 120);
        reg.WriteInteger("widthX", 1);
        reg.WriteInteger("width7", 1);
        reg.WriteInteger("width-1", 1);
        reg.WriteInteger("other", 1);
    }
    restart();
    std::array<int, 4> widths{50, 60, 70, 80};
    SettingsStore::LoadHeaderWidths("LeftHeader", widths);
    EXPECT_EQ(widths, (std::array<int, 4>{50, 60, 120, 80}));
    std::array<int, 4> right{1, 2, 3, 4};
    SettingsStore::LoadHeaderWidths("RightHeader", right);
    EXPECT_EQ(right, (std::array<int, 4>{1, 2, 3, 4}));

    SettingsStore::SaveHeaderWidths("RightHeader", {90, 91, 92, 93});
    restart();
    SettingsStore::LoadHeaderWidths("RightHeader", right);
    EXPECT_EQ(right, (std::array<int, 4>{90, 91, 92, 93}));
}

TEST(SettingsStore, textViewValuesLost)
{
    IsolatedConfig config;
    TextViewSettings untouched;
    SettingsStore::LoadTextView(untouched);
    EXPECT_EQ(untouched.FontName, "Fixedsys");
    const TextViewSettings out{"Mono Sans", 15, 0x123456, 0x654321, 0x00FF00, 4, true};
    SettingsStore::SaveTextView(out);
    restart();
    TextViewSettings in;
    SettingsStore::LoadTextView(in);
    EXPECT_EQ(std::tie(in.FontName, in.FontSize, in.FontFore, in.FontBack, in.LinkFore, in.TabSize, in.PrintPage),
              std::tie(out.FontName, out.FontSize, out.FontFore, out.FontBack, out.LinkFore, out.TabSize,
                       out.PrintPage));
}

TEST(SettingsStore, placementLostOrPlacedAtZeroEdge)
{
    IsolatedConfig config;
    EXPECT_FALSE(SettingsStore::LoadPlacement().has_value());
    SettingsStore::SavePlacement({10, 20, 800, 600, 3, true});
    restart();
    {
        TRegistry reg;                                      // stored as text
        ASSERT_TRUE(reg.OpenKeyReadOnly(key("MainForm")));
        EXPECT_EQ(reg.ReadString("Width"), "800");
        EXPECT_EQ(reg.ReadString("RestoreToMax"), "1");
    }
    auto in = SettingsStore::LoadPlacement();
    ASSERT_TRUE(in);
    EXPECT_EQ(std::make_tuple(in->Left, in->Top, in->Width, in->Height, in->State, in->RestoreToMax),
              std::make_tuple(10, 20, 800, 600, 3, true));
    EXPECT_TRUE(in->HasBounds());

    {
        TRegistry reg;
        reg.OpenKey(key("MainForm"), true);
        reg.WriteString("Left", "0");
        reg.WriteString("Height", "tall");
    }
    restart();
    in = SettingsStore::LoadPlacement();
    ASSERT_TRUE(in);
    EXPECT_EQ(in->Left, 0);
    EXPECT_EQ(in->Height, 0);
    EXPECT_EQ(in->Top, 20);
    EXPECT_FALSE(in->HasBounds());
}

} // namespace
