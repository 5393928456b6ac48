// Virtual-key codes to keysyms, keysyms to keycodes, modifier bits to X masks.
#include "components/SysHotKeyMapping.h"

#include <X11/XF86keysym.h>
#include <X11/keysym.h>

#include <algorithm>
#include <array>
#include <initializer_list>

namespace {

struct KeysymRow {
    uint32_t virtualKey;
    uint32_t keysym;
};

// Keys outside the contiguous runs of letters, digits, function and keypad keys.
// Punctuation follows the US layout that the OEM codes are named after.
constexpr std::array kKeysyms{
    KeysymRow{0x08, XK_BackSpace},
    KeysymRow{0x09, XK_Tab},
    KeysymRow{0x0C, XK_Clear},
    KeysymRow{0x0D, XK_Return},
    KeysymRow{0x13, XK_Pause},
    KeysymRow{0x14, XK_Caps_Lock},
    KeysymRow{0x1B, XK_Escape},
    KeysymRow{0x20, XK_space},
    KeysymRow{0x21, XK_Prior},
    KeysymRow{0x22, XK_Next},
    KeysymRow{0x23, XK_End},
    KeysymRow{0x24, XK_Home},
    KeysymRow{0x25, XK_Left},
    KeysymRow{0x26, XK_Up},
    KeysymRow{0x27, XK_Right},
    KeysymRow{0x28, XK_Down},
    KeysymRow{0x29, XK_Select},
    KeysymRow{0x2A, XK_Print},
    KeysymRow{0x2B, XK_Execute},
    KeysymRow{0x2C, XK_Print},
    KeysymRow{0x2D, XK_Insert},
    KeysymRow{0x2E, XK_Delete},
    KeysymRow{0x2F, XK_Help},
    KeysymRow{0x5B, XK_Super_L},
    KeysymRow{0x5C, XK_Super_R},
    KeysymRow{0x5D, XK_Menu},
    KeysymRow{0x5F, XF86XK_Sleep},
    KeysymRow{0x6A, XK_KP_Multiply},
    KeysymRow{0x6B, XK_KP_Add},
    KeysymRow{0x6C, XK_KP_Separator},
    KeysymRow{0x6D, XK_KP_Subtract},
    KeysymRow{0x6E, XK_KP_Decimal},
    KeysymRow{0x6F, XK_KP_Divide},
    KeysymRow{0x90, XK_Num_Lock},
    KeysymRow{0x91, XK_Scroll_Lock},
    KeysymRow{0xA6, XF86XK_Back},
    KeysymRow{0xA7, XF86XK_Forward},
    KeysymRow{0xA8, XF86XK_Refresh},
    KeysymRow{0xA9, XF86XK_Stop},
    KeysymRow{0xAA, XF86XK_Search},
    KeysymRow{0xAB, XF86XK_Favorites},
    KeysymRow{0xAC, XF86XK_HomePage},
    KeysymRow{0xAD, XF86XK_AudioMute},
    KeysymRow{0xAE, XF86XK_AudioLowerVolume},
    KeysymRow{0xAF, XF86XK_AudioRaiseVolume},
    KeysymRow{0xB0, XF86XK_AudioNext},
    KeysymRow{0xB1, XF86XK_AudioPrev},
    KeysymRow{0xB2, XF86XK_AudioStop},
    KeysymRow{0xB3, XF86XK_AudioPlay},
    KeysymRow{0xB4, XF86XK_Mail},
    KeysymRow{0xB5, XF86XK_AudioMedia},
    KeysymRow{0xB6, XF86XK_Launch0},
    KeysymRow{0xB7, XF86XK_Launch1},
    KeysymRow{0xBA, XK_semicolon},
    KeysymRow{0xBB, XK_equal},
    KeysymRow{0xBC, XK_comma},
    KeysymRow{0xBD, XK_minus},
    KeysymRow{0xBE, XK_period},
    KeysymRow{0xBF, XK_slash},
    KeysymRow{0xC0, XK_grave},
    KeysymRow{0xDB, XK_bracketleft},
    KeysymRow{0xDC, XK_backslash},
    KeysymRow{0xDD, XK_bracketright},
    KeysymRow{0xDE, XK_apostrophe},
    KeysymRow{0xE2, XK_less},
};

constexpr int kModifierCount = 8;

// The distinct lock modifiers. A lock bound to the same modifier as one of the hot key's
// own would turn a grab of that modifier into a grab without it; such a lock is left out.
std::vector<uint16_t> locksOf(const SysHotKeyModifierMasks& masks)
{
    const uint16_t own = masks.shift | masks.control | masks.alt | masks.super;
    std::vector<uint16_t> locks;
    for (uint16_t lock : {masks.capsLock, masks.numLock, masks.scrollLock})
        if (lock != 0 && (lock & own) == 0 && std::find(locks.begin(), locks.end(), lock) == locks.end())
            locks.push_back(lock);
    return locks;
}

} // namespace

uint32_t KeysymFromVirtualKey(uint32_t vk)
{
    // Letters grab the unshifted keysym: the keyboard map lists 'a' in the first column,
    // and Shift is a modifier of the grab, not part of the key.
    if (vk >= 'A' && vk <= 'Z')
        return XK_a + (vk - 'A');
    if (vk >= '0' && vk <= '9')
        return XK_0 + (vk - '0');
    if (vk >= 0x60 && vk <= 0x69)
        return XK_KP_0 + (vk - 0x60);
    if (vk >= 0x70 && vk <= 0x87)
        return XK_F1 + (vk - 0x70);
    for (const KeysymRow& row : kKeysyms)
        if (row.virtualKey == vk)
            return row.keysym;
    return 0;
}

uint8_t KeycodeFromKeysym(const SysHotKeyKeyboardMap& map, uint32_t keysym)
{
    if (keysym == 0 || map.keysymsPerKeycode <= 0)
        return 0;
    const size_t width = size_t(map.keysymsPerKeycode);
    const size_t keycodes = map.keysyms.size() / width;
    for (size_t column = 0; column < width; ++column)
        for (size_t row = 0; row < keycodes; ++row) {
            if (map.keysyms[row * width + column] != keysym)
                continue;
            const size_t keycode = map.minKeycode + row;
            if (keycode <= 255)
                return uint8_t(keycode);
        }
    return 0;
}

uint16_t ModifierMaskOfKeysym(const std::vector<uint8_t>& modifierMap, int keycodesPerModifier,
                              const SysHotKeyKeyboardMap& map, uint32_t keysym)
{
    const uint8_t keycode = KeycodeFromKeysym(map, keysym);
    if (keycode == 0 || keycodesPerModifier <= 0)
        return 0;
    const size_t perModifier = size_t(keycodesPerModifier);
    for (size_t modifier = 0; modifier < kModifierCount; ++modifier)
        for (size_t i = 0; i < perModifier; ++i) {
            const size_t index = modifier * perModifier + i;
            if (index < modifierMap.size() && modifierMap[index] == keycode)
                return uint16_t(1u << modifier);
        }
    return 0;
}

SysHotKeyModifierMasks ModifierMasksFromMaps(const std::vector<uint8_t>& modifierMap, int keycodesPerModifier,
                                             const SysHotKeyKeyboardMap& map)
{
    const auto boundTo = [&](std::initializer_list<uint32_t> keysyms) -> uint16_t {
        for (uint32_t keysym : keysyms)
            if (uint16_t mask = ModifierMaskOfKeysym(modifierMap, keycodesPerModifier, map, keysym))
                return mask;
        return 0;
    };
    SysHotKeyModifierMasks masks;
    if (uint16_t alt = boundTo({XK_Alt_L, XK_Alt_R, XK_Meta_L}))
        masks.alt = alt;
    if (uint16_t super = boundTo({XK_Super_L, XK_Super_R, XK_Hyper_L}))
        masks.super = super;
    // Num Lock and Scroll Lock are taken exactly as bound: guessing a mask for a lock that
    // is not there would only double the grabs.
    masks.numLock = boundTo({XK_Num_Lock});
    masks.scrollLock = boundTo({XK_Scroll_Lock});
    return masks;
}

uint16_t GrabModifiers(uint32_t bits, const SysHotKeyModifierMasks& masks)
{
    uint16_t mods = 0;
    if (bits & 1)
        mods |= masks.shift;
    if (bits & 2)
        mods |= masks.control;
    if (bits & 4)
        mods |= masks.alt;
    if (bits & 8)
        mods |= masks.super;
    return mods;
}

std::vector<uint16_t> LockVariants(const SysHotKeyModifierMasks& masks)
{
    const std::vector<uint16_t> locks = locksOf(masks);
    std::vector<uint16_t> variants;
    for (unsigned subset = 0; subset < (1u << locks.size()); ++subset) {
        uint16_t mask = 0;
        for (size_t i = 0; i < locks.size(); ++i)
            if (subset & (1u << i))
                mask |= locks[i];
        variants.push_back(mask);
    }
    return variants;
}

bool StateMatches(uint16_t state, uint16_t grabModifiers, const SysHotKeyModifierMasks& masks)
{
    // The low eight bits are the keyboard modifiers; above them are the mouse buttons.
    uint16_t locks = 0;
    for (uint16_t lock : locksOf(masks))
        locks |= lock;
    const uint16_t relevant = uint16_t(0xFF & ~locks);
    return (state & relevant) == (grabModifiers & relevant);
}
