// The four hot keys: entry 0 works system-wide (restore/hide), entries 1-3 only while
// the main window has the keyboard (full-screen viewer, viewer on/off, Escape).
#pragma once

#include <QString>
#include <Qt>
#include <array>
#include <cstdint>

struct HotKeyEntry {
    uint32_t VirtKey = 0;
    uint32_t Modifiers = 0;     // hkShift | hkCtrl | hkAlt | hkExt
};

class HotKeyTable {
public:
    HotKeyTable();              // the defaults: Shift+F5, F6, F7, Escape

    std::array<HotKeyEntry, 4> Entries;

    // The entry 1..3 a key press matches (virtual key and Shift/Ctrl/Alt equal), or -1.
    int Match(int qtKey, Qt::KeyboardModifiers modifiers) const;
    // "Alt-Ctrl-Shift-F5": the key's name with the modifier prefixes, each step cut to
    // 29 characters.
    QString KeyName(int entry) const;
    // Third title caption and tray tip texts.
    QString TitleHint() const;
    QString TrayTip() const;
    // The title's third caption while the viewer is on: the keys that leave it.
    QString ViewerModeHint() const;
};
