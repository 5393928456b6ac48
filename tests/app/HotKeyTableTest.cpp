// The hot keys: their defaults, the names shown in the title and tray tip, and which
// key presses match the window's own keys.
#include "app/HotKeyTable.h"

#include "AppTestSupport.h"
#include "platform/VirtualKeys.h"

#include <gtest/gtest.h>

namespace {

TEST(HotKeyTable, defaultsOrTheirTextsAreWrong)
{
    const HotKeyTable keys;
    EXPECT_EQ(keys.Entries[0].VirtKey, 0x74u);
    EXPECT_EQ(keys.Entries[0].Modifiers, hkShift);
    EXPECT_EQ(keys.Entries[1].VirtKey, 0x75u);
    EXPECT_EQ(keys.Entries[2].VirtKey, 0x76u);
    EXPECT_EQ(keys.Entries[3].VirtKey, 0x1Bu);
    for (int i = 1; i < 4; ++i)
        EXPECT_EQ(keys.Entries[size_t(i)].Modifiers, 0u);
    EXPECT_EQ(keys.KeyName(0), "Shift-F5");
    EXPECT_EQ(keys.KeyName(3), "Esc");
    EXPECT_EQ(keys.TitleHint(), "Esc or Shift-F5 to hide");
    EXPECT_EQ(keys.TrayTip(), "Shift-F5 to hide/restore");
}

TEST(HotKeyTable, modifierPrefixesInWrongOrder)
{
    HotKeyTable keys;
    keys.Entries[0] = {0x74, hkAlt | hkCtrl | hkShift | hkExt};
    EXPECT_EQ(keys.KeyName(0), "Alt-Ctrl-Shift-F5");
    keys.Entries[0] = {0x2C, hkAlt | hkCtrl | hkShift};
    EXPECT_EQ(keys.KeyName(0), "Alt-Ctrl-Shift-Print Screen");
    EXPECT_EQ(keys.TrayTip(), "Alt-Ctrl-Shift-Print Screen to hide/restore");
    keys.Entries[0] = {'A', hkCtrl};
    EXPECT_EQ(keys.KeyName(0), "Ctrl-A");
}

TEST(HotKeyTable, keyPressMatchesWithOtherModifiersOrTheGlobalKey)
{
    HotKeyTable keys;
    EXPECT_EQ(keys.Match(Qt::Key_F6, Qt::NoModifier), 1);
    EXPECT_EQ(keys.Match(Qt::Key_F7, Qt::NoModifier), 2);
    EXPECT_EQ(keys.Match(Qt::Key_Escape, Qt::NoModifier), 3);
    EXPECT_EQ(keys.Match(Qt::Key_F6, Qt::ShiftModifier), -1);
    EXPECT_EQ(keys.Match(Qt::Key_Escape, Qt::ControlModifier), -1);
    // Entry 0 works system-wide only; the window does not take it.
    EXPECT_EQ(keys.Match(Qt::Key_F5, Qt::ShiftModifier), -1);
    EXPECT_EQ(keys.Match(Qt::Key_F8, Qt::NoModifier), -1);
    EXPECT_EQ(keys.Match(Qt::Key_unknown, Qt::NoModifier), -1);

    // The extended-key bit is not a modifier a press carries.
    keys.Entries[2] = {0x2E, hkCtrl | hkExt};
    EXPECT_EQ(keys.Match(Qt::Key_Delete, Qt::ControlModifier), 2);
    EXPECT_EQ(keys.Match(Qt::Key_Delete, Qt::ControlModifier | Qt::KeypadModifier), 2);
    EXPECT_EQ(keys.Match(Qt::Key_Delete, Qt::NoModifier), -1);
}

} // namespace
