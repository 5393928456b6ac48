// How a stored hot key (virtual-key code and modifier bits) becomes an X11 key grab:
// the key's keysym, the keycode that carries it on the server's keyboard, the X modifier
// mask of the modifier bits, and the lock-modifier variants that must be grabbed too so
// the key still works with Num Lock or Caps Lock on. Pure functions over the tables the
// server hands out, so they can be tested without a display.
#pragma once

#include <cstdint>
#include <vector>

// X modifier masks of the modifiers a hot key uses; 0 where the keyboard has none.
struct SysHotKeyModifierMasks {
    uint16_t shift = 1 << 0;    // ShiftMask
    uint16_t capsLock = 1 << 1; // LockMask
    uint16_t control = 1 << 2;  // ControlMask
    uint16_t alt = 1 << 3;      // Mod1 on nearly every keyboard map
    uint16_t numLock = 1 << 4;  // Mod2 on nearly every keyboard map
    uint16_t super = 1 << 6;    // Mod4 on nearly every keyboard map
    uint16_t scrollLock = 0;    // usually bound to no modifier at all
};

// The keyboard map as the server reports it: keysymsPerKeycode columns for each keycode
// from minKeycode on.
struct SysHotKeyKeyboardMap {
    uint8_t minKeycode = 8;
    int keysymsPerKeycode = 0;
    std::vector<uint32_t> keysyms;
};

// 0 when the virtual-key code has no keysym.
uint32_t KeysymFromVirtualKey(uint32_t virtualKey);

// The keycode that carries the keysym, searched column by column so the unshifted
// position wins (the keypad's digits live in the second column); 0 when none does.
uint8_t KeycodeFromKeysym(const SysHotKeyKeyboardMap& map, uint32_t keysym);

// The X modifier that the keysym (Num_Lock, Super_L, ...) is bound to in the modifier
// map (keycodesPerModifier keycodes for each of the eight modifiers); 0 when unbound.
uint16_t ModifierMaskOfKeysym(const std::vector<uint8_t>& modifierMap, int keycodesPerModifier,
                              const SysHotKeyKeyboardMap& map, uint32_t keysym);

// Reads the Alt, Super, Num Lock and Scroll Lock masks from the server's maps, keeping
// the usual masks where the keyboard binds no key to them.
SysHotKeyModifierMasks ModifierMasksFromMaps(const std::vector<uint8_t>& modifierMap, int keycodesPerModifier,
                                             const SysHotKeyKeyboardMap& map);

// The X modifier mask of the bits 1 Shift, 2 Ctrl, 4 Alt, 8 extended (the Windows key).
uint16_t GrabModifiers(uint32_t modifierBits, const SysHotKeyModifierMasks& masks);

// Every combination of the lock modifiers (none first), each to be grabbed along with
// the hot key's own modifiers.
std::vector<uint16_t> LockVariants(const SysHotKeyModifierMasks& masks);

// True when a key event's state carries exactly the grabbed modifiers, whatever locks
// are on and whatever mouse buttons are held.
bool StateMatches(uint16_t state, uint16_t grabModifiers, const SysHotKeyModifierMasks& masks);
