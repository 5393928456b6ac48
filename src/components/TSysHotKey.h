// System-wide hot keys: a key with modifiers that reaches the program from whatever
// application has the focus. On X11 each hot key is a passive key grab on the root
// windows; on any other platform (Wayland, offscreen) registration is refused, silently,
// and the program simply has no system hot key.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <cstdint>
#include <map>
#include <vector>

#include "components/SysHotKeyMapping.h"

struct xcb_connection_t;

class TSysHotKey : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    explicit TSysHotKey(QObject* parent = nullptr);
    ~TSysHotKey() override;

    // Grabs the key (a virtual-key code) with the modifier bits 1 Shift, 2 Ctrl, 4 Alt,
    // 8 Windows key as hot key `id`, replacing what `id` had. False, without any message,
    // off X11, for a key the keyboard does not have, for a key another id already holds,
    // or when another client holds the grab.
    bool Register(int id, uint32_t virtualKey, uint32_t modifierBits);
    // Releases the grab; an id that is not registered is ignored.
    void Unregister(int id);
    bool IsRegistered(int id) const;
    // The key and modifier bits `id` was registered with; 0 when not registered.
    uint32_t VirtualKey(int id) const;
    uint32_t Modifiers(int id) const;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

Q_SIGNALS:
    // On the UI thread, each time the key is pressed, whichever application is active.
    void HotKey(int id);

private:
    struct Entry {
        uint32_t virtualKey = 0;
        uint32_t modifierBits = 0;
        uint8_t keycode = 0;
        uint16_t modifiers = 0;
        bool held = false;         // pressed and not yet released: later presses are repeats
        uint32_t releaseTime = 0;  // server time of the last release, to spot auto-repeat
    };

    bool connectToServer();
    bool readKeyboard();
    bool grab(Entry& entry);
    void ungrab(const Entry& entry);
    void regrabAll();
    bool serverAlive() const;

    xcb_connection_t* m_connection = nullptr;
    std::vector<uint32_t> m_roots;
    SysHotKeyKeyboardMap m_keyboard;
    SysHotKeyModifierMasks m_masks;
    bool m_filterInstalled = false;
    std::map<int, Entry> m_entries;
};
