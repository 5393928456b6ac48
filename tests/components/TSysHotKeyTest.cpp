// The system hot key: silent refusal where there is no X server, and the mapping from a
// stored key to the keycode and modifier masks that are grabbed.
#include "components/TSysHotKey.h"
#include "platform/VirtualKeys.h"

#include <QStringList>
#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr uint16_t kShift = 1 << 0, kLock = 1 << 1, kControl = 1 << 2, kMod1 = 1 << 3, kMod2 = 1 << 4,
                   kMod4 = 1 << 6, kMod5 = 1 << 7, kButton1 = 1 << 8;

QStringList g_messages;

void recordMessage(QtMsgType, const QMessageLogContext&, const QString& text)
{
    g_messages << text;
}

// A two-column keyboard: keycode 8 is the keypad 7 (Home unshifted), 9 the letter a,
// 10 a second key carrying KP_7 unshifted, 11-14 the modifier keys; the rest empty.
SysHotKeyKeyboardMap sampleKeyboard()
{
    SysHotKeyKeyboardMap map;
    map.minKeycode = 8;
    map.keysymsPerKeycode = 2;
    map.keysyms = {XK_KP_Home, XK_KP_7, XK_a, XK_A, XK_KP_7, 0,
                   XK_Num_Lock, 0, XK_Super_L, 0, XK_Alt_L, XK_Meta_L, XK_Scroll_Lock, 0,
                   0, 0, 0, 0};
    return map;
}

// Modifier map, one keycode per modifier: Shift..Mod5. Alt on Mod1, Num Lock on Mod2,
// Super on Mod4, Scroll Lock on Mod5.
std::vector<uint8_t> sampleModifierMap()
{
    return {0, 0, 0, 13, 11, 0, 12, 14};
}

} // namespace

TEST(TSysHotKey, registrationOffX11IsRefusedSilently)
{
    g_messages.clear();
    const QtMessageHandler previous = qInstallMessageHandler(recordMessage);
    {
        TSysHotKey hotKey;
        EXPECT_FALSE(hotKey.Register(0, 0x74, hkShift));
        EXPECT_FALSE(hotKey.IsRegistered(0));
        EXPECT_EQ(hotKey.VirtualKey(0), 0u);
        EXPECT_EQ(hotKey.Modifiers(0), 0u);
        hotKey.Unregister(0);
        hotKey.Unregister(42);
    }
    qInstallMessageHandler(previous);
    EXPECT_TRUE(g_messages.isEmpty()) << g_messages.join(QLatin1Char('\n')).toStdString();
}

TEST(TSysHotKey, storedKeysMapToTheKeysymsOfTheirKeys)
{
    EXPECT_EQ(KeysymFromVirtualKey(0x74), uint32_t(XK_F5));
    EXPECT_EQ(KeysymFromVirtualKey(0x70), uint32_t(XK_F1));
    EXPECT_EQ(KeysymFromVirtualKey(0x87), uint32_t(XK_F24));
    // Letters must be the unshifted keysym, or Shift+A would be looked up as a shifted key.
    EXPECT_EQ(KeysymFromVirtualKey('A'), uint32_t(XK_a));
    EXPECT_EQ(KeysymFromVirtualKey('Z'), uint32_t(XK_z));
    EXPECT_EQ(KeysymFromVirtualKey('0'), uint32_t(XK_0));
    EXPECT_EQ(KeysymFromVirtualKey('9'), uint32_t(XK_9));
    EXPECT_EQ(KeysymFromVirtualKey(0x1B), uint32_t(XK_Escape));
    EXPECT_EQ(KeysymFromVirtualKey(0x60), uint32_t(XK_KP_0));
    EXPECT_EQ(KeysymFromVirtualKey(0x69), uint32_t(XK_KP_9));
    EXPECT_EQ(KeysymFromVirtualKey(0x6B), uint32_t(XK_KP_Add));
    EXPECT_EQ(KeysymFromVirtualKey(0x21), uint32_t(XK_Prior));
    EXPECT_EQ(KeysymFromVirtualKey(0xBA), uint32_t(XK_semicolon));
}

TEST(TSysHotKey, unknownVirtualKeysHaveNoKeysym)
{
    for (uint32_t vk : {0x00u, 0x07u, 0x88u, 0xFFu, 0x174u})
        EXPECT_EQ(KeysymFromVirtualKey(vk), 0u) << vk;
}

TEST(TSysHotKey, keycodeSearchPrefersTheUnshiftedPosition)
{
    const SysHotKeyKeyboardMap map = sampleKeyboard();
    EXPECT_EQ(KeycodeFromKeysym(map, XK_KP_7), 10); // first column beats keycode 8's second
    EXPECT_EQ(KeycodeFromKeysym(map, XK_A), 9);     // found in the shifted column when only there
    EXPECT_EQ(KeycodeFromKeysym(map, XK_F5), 0);
    // Empty slots hold NoSymbol (0): an unknown key must not grab the first empty slot.
    EXPECT_EQ(KeycodeFromKeysym(map, 0), 0);
    EXPECT_EQ(KeycodeFromKeysym(SysHotKeyKeyboardMap{}, XK_a), 0);
}

TEST(TSysHotKey, modifierBitsBecomeTheServersModifierMasks)
{
    const SysHotKeyModifierMasks masks = ModifierMasksFromMaps(sampleModifierMap(), 1, sampleKeyboard());
    EXPECT_EQ(masks.numLock, kMod2);
    EXPECT_EQ(masks.scrollLock, kMod5);
    EXPECT_EQ(GrabModifiers(hkShift, masks), kShift);
    EXPECT_EQ(GrabModifiers(hkCtrl | hkAlt, masks), kControl | kMod1);
    EXPECT_EQ(GrabModifiers(hkExt, masks), kMod4);
    EXPECT_EQ(GrabModifiers(0, masks), 0);

    // Super moved to Mod3: the extended bit follows it.
    std::vector<uint8_t> moved = sampleModifierMap();
    std::swap(moved[5], moved[6]);
    EXPECT_EQ(GrabModifiers(hkExt, ModifierMasksFromMaps(moved, 1, sampleKeyboard())), 1 << 5);
}

TEST(TSysHotKey, everyLockCombinationIsGrabbed)
{
    const SysHotKeyModifierMasks masks = ModifierMasksFromMaps(sampleModifierMap(), 1, sampleKeyboard());
    std::vector<uint16_t> variants = LockVariants(masks);
    std::sort(variants.begin(), variants.end());
    const std::vector<uint16_t> expected{0, kLock, kMod2, kLock | kMod2, kMod5, kLock | kMod5, kMod2 | kMod5,
                                         kLock | kMod2 | kMod5};
    EXPECT_EQ(variants, expected);

    // A keyboard without Num Lock or Scroll Lock must not have a guessed mask grabbed.
    const SysHotKeyModifierMasks bare = ModifierMasksFromMaps(std::vector<uint8_t>(8, 0), 1, sampleKeyboard());
    EXPECT_EQ(LockVariants(bare), (std::vector<uint16_t>{0, kLock}));
}

TEST(TSysHotKey, lockSharingAHotKeyModifierIsNotTreatedAsALock)
{
    SysHotKeyModifierMasks masks;
    masks.numLock = masks.super;
    EXPECT_EQ(LockVariants(masks), (std::vector<uint16_t>{0, kLock}));
    // Super still counts in the comparison of a pressed key's state.
    EXPECT_FALSE(StateMatches(kShift | kMod4, kShift, masks));
}

TEST(TSysHotKey, pressedStateMatchesWhateverLocksAndButtons)
{
    const SysHotKeyModifierMasks masks = ModifierMasksFromMaps(sampleModifierMap(), 1, sampleKeyboard());
    EXPECT_TRUE(StateMatches(kShift, kShift, masks));
    EXPECT_TRUE(StateMatches(kShift | kLock | kMod2 | kMod5 | kButton1, kShift, masks));
    EXPECT_FALSE(StateMatches(kShift | kControl, kShift, masks));
    EXPECT_FALSE(StateMatches(kLock, kShift, masks));
    EXPECT_TRUE(StateMatches(kMod2, 0, masks));
}
