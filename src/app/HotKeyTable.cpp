#include "app/HotKeyTable.h"

#include "platform/VirtualKeys.h"

#include <QCoreApplication>

HotKeyTable::HotKeyTable()
{
    Entries[0] = {0x74, hkShift};
    Entries[1] = {0x75, 0};
    Entries[2] = {0x76, 0};
    Entries[3] = {0x1B, 0};
}

int HotKeyTable::Match(int qtKey, Qt::KeyboardModifiers modifiers) const
{
    const uint32_t vk = VirtualKeyFromQt(qtKey);
    if (vk == 0)
        return -1;
    const uint32_t bits = ModifierBitsFromQt(modifiers);
    for (int i = 1; i <= 3; ++i) {
        const HotKeyEntry& e = Entries[size_t(i)];
        if (e.VirtKey == vk && (e.Modifiers & (hkShift | hkCtrl | hkAlt)) == bits)
            return i;
    }
    return -1;
}

QString HotKeyTable::KeyName(int entry) const
{
    const HotKeyEntry& e = Entries[size_t(entry)];
    QString name = VirtualKeyName(e.VirtKey).left(38);
    if (e.Modifiers & hkShift)
        name = (QCoreApplication::translate("HotKeyTable", "Shift-") + name).left(29);
    if (e.Modifiers & hkCtrl)
        name = (QCoreApplication::translate("HotKeyTable", "Ctrl-") + name).left(29);
    if (e.Modifiers & hkAlt)
        name = (QCoreApplication::translate("HotKeyTable", "Alt-") + name).left(29);
    return name;
}

QString HotKeyTable::TitleHint() const
{
    return KeyName(3) + QCoreApplication::translate("HotKeyTable", " or ") + KeyName(0)
           + QCoreApplication::translate("HotKeyTable", " to hide");
}

QString HotKeyTable::ViewerModeHint() const
{
    return QCoreApplication::translate("HotKeyTable", "Viewer mode activated. Press ") + KeyName(3)
           + QCoreApplication::translate("HotKeyTable", " or ") + KeyName(2)
           + QCoreApplication::translate("HotKeyTable", " to exit or ") + KeyName(1)
           + QCoreApplication::translate("HotKeyTable", " to toggle full screen mode");
}

QString HotKeyTable::TrayTip() const
{
    return (KeyName(0) + QCoreApplication::translate("HotKeyTable", " to hide/restore")).left(62);
}
