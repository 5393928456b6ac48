// Virtual-key codes, the numbers the settings store keeps for hot keys (F5 = 0x74),
// mapped to and from Qt keys in one table, with the names a keyboard layout gives them.
#pragma once

#include <QString>
#include <Qt>
#include <cstdint>

// Modifier bits of a hot-key entry.
constexpr uint32_t hkShift = 1;
constexpr uint32_t hkCtrl = 2;
constexpr uint32_t hkAlt = 4;
constexpr uint32_t hkExt = 8;

// 0 when the Qt key has no virtual-key code.
uint32_t VirtualKeyFromQt(int qtKey);
// Qt::Key_unknown when the code is not known.
int QtKeyFromVirtualKey(uint32_t virtualKey);
// The key's name as a keyboard layout names it ("F5", "Esc", "A"); "" when unknown.
QString VirtualKeyName(uint32_t virtualKey);

uint32_t ModifierBitsFromQt(Qt::KeyboardModifiers modifiers);
Qt::KeyboardModifiers QtModifiersFromBits(uint32_t bits);
