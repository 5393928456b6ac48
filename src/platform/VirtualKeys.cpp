#include "platform/VirtualKeys.h"

#include <QCoreApplication>

#include <array>

namespace {

struct KeyRow {
    uint32_t vk;
    int qt;
    const char* name;
};

// Keys that are not letters, digits or function keys.
constexpr std::array kKeys{
    KeyRow{0x08, Qt::Key_Backspace, QT_TRANSLATE_NOOP("VirtualKeys", "Backspace")},
    KeyRow{0x09, Qt::Key_Tab, QT_TRANSLATE_NOOP("VirtualKeys", "Tab")},
    KeyRow{0x0D, Qt::Key_Return, QT_TRANSLATE_NOOP("VirtualKeys", "Enter")},
    KeyRow{0x13, Qt::Key_Pause, QT_TRANSLATE_NOOP("VirtualKeys", "Pause")},
    KeyRow{0x14, Qt::Key_CapsLock, QT_TRANSLATE_NOOP("VirtualKeys", "Caps Lock")},
    KeyRow{0x1B, Qt::Key_Escape, QT_TRANSLATE_NOOP("VirtualKeys", "Esc")},
    KeyRow{0x20, Qt::Key_Space, QT_TRANSLATE_NOOP("VirtualKeys", "Space")},
    KeyRow{0x21, Qt::Key_PageUp, QT_TRANSLATE_NOOP("VirtualKeys", "Page Up")},
    KeyRow{0x22, Qt::Key_PageDown, QT_TRANSLATE_NOOP("VirtualKeys", "Page Down")},
    KeyRow{0x23, Qt::Key_End, QT_TRANSLATE_NOOP("VirtualKeys", "End")},
    KeyRow{0x24, Qt::Key_Home, QT_TRANSLATE_NOOP("VirtualKeys", "Home")},
    KeyRow{0x25, Qt::Key_Left, QT_TRANSLATE_NOOP("VirtualKeys", "Left")},
    KeyRow{0x26, Qt::Key_Up, QT_TRANSLATE_NOOP("VirtualKeys", "Up")},
    KeyRow{0x27, Qt::Key_Right, QT_TRANSLATE_NOOP("VirtualKeys", "Right")},
    KeyRow{0x28, Qt::Key_Down, QT_TRANSLATE_NOOP("VirtualKeys", "Down")},
    KeyRow{0x2C, Qt::Key_Print, QT_TRANSLATE_NOOP("VirtualKeys", "Print Screen")},
    KeyRow{0x2D, Qt::Key_Insert, QT_TRANSLATE_NOOP("VirtualKeys", "Insert")},
    KeyRow{0x2E, Qt::Key_Delete, QT_TRANSLATE_NOOP("VirtualKeys", "Delete")},
    KeyRow{0x6A, Qt::Key_multiply, QT_TRANSLATE_NOOP("VirtualKeys", "Num *")},
    KeyRow{0x6B, Qt::Key_Plus, QT_TRANSLATE_NOOP("VirtualKeys", "Num +")},
    KeyRow{0x6D, Qt::Key_Minus, QT_TRANSLATE_NOOP("VirtualKeys", "Num -")},
    KeyRow{0x6F, Qt::Key_Slash, QT_TRANSLATE_NOOP("VirtualKeys", "Num /")},
    KeyRow{0x90, Qt::Key_NumLock, QT_TRANSLATE_NOOP("VirtualKeys", "Num Lock")},
    KeyRow{0x91, Qt::Key_ScrollLock, QT_TRANSLATE_NOOP("VirtualKeys", "Scroll Lock")},
    KeyRow{0xBA, Qt::Key_Semicolon, ";"},        KeyRow{0xBB, Qt::Key_Equal, "="},
    KeyRow{0xBC, Qt::Key_Comma, ","},            KeyRow{0xBE, Qt::Key_Period, "."},
    KeyRow{0xBF, Qt::Key_Question, "/"},         KeyRow{0xC0, Qt::Key_QuoteLeft, "`"},
    KeyRow{0xDB, Qt::Key_BracketLeft, "["},      KeyRow{0xDC, Qt::Key_Backslash, "\\"},
    KeyRow{0xDD, Qt::Key_BracketRight, "]"},     KeyRow{0xDE, Qt::Key_Apostrophe, "'"},
};

} // namespace

uint32_t VirtualKeyFromQt(int qtKey)
{
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return uint32_t('A' + (qtKey - Qt::Key_A));
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return uint32_t('0' + (qtKey - Qt::Key_0));
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return 0x70 + uint32_t(qtKey - Qt::Key_F1);
    if (qtKey == Qt::Key_Enter)
        return 0x0D;
    if (qtKey == Qt::Key_Backtab)
        return 0x09;
    for (const KeyRow& row : kKeys)
        if (row.qt == qtKey)
            return row.vk;
    return 0;
}

int QtKeyFromVirtualKey(uint32_t vk)
{
    if (vk >= 'A' && vk <= 'Z')
        return Qt::Key_A + int(vk - 'A');
    if (vk >= '0' && vk <= '9')
        return Qt::Key_0 + int(vk - '0');
    if (vk >= 0x70 && vk <= 0x87)
        return Qt::Key_F1 + int(vk - 0x70);
    for (const KeyRow& row : kKeys)
        if (row.vk == vk)
            return row.qt;
    return Qt::Key_unknown;
}

QString VirtualKeyName(uint32_t vk)
{
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))
        return QString(QChar(char16_t(vk)));
    if (vk >= 0x70 && vk <= 0x87)
        return QStringLiteral("F%1").arg(vk - 0x6F);
    for (const KeyRow& row : kKeys)
        if (row.vk == vk)
            return QCoreApplication::translate("VirtualKeys", row.name);
    return {};
}

uint32_t ModifierBitsFromQt(Qt::KeyboardModifiers m)
{
    uint32_t bits = 0;
    if (m & Qt::ShiftModifier)
        bits |= hkShift;
    if (m & Qt::ControlModifier)
        bits |= hkCtrl;
    if (m & Qt::AltModifier)
        bits |= hkAlt;
    return bits;
}

Qt::KeyboardModifiers QtModifiersFromBits(uint32_t bits)
{
    Qt::KeyboardModifiers m;
    if (bits & hkShift)
        m |= Qt::ShiftModifier;
    if (bits & hkCtrl)
        m |= Qt::ControlModifier;
    if (bits & hkAlt)
        m |= Qt::AltModifier;
    return m;
}
