// System-wide hot keys as passive key grabs on the X server's root windows, fed by the
// xcb events that Qt's own connection receives.
#include "components/TSysHotKey.h"

#include <QCoreApplication>
#include <QGuiApplication>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>
#include <xcb/xproto.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace {

#if QT_CONFIG(xcb)
struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T>
using XcbReply = std::unique_ptr<T, FreeDeleter>;

// Qt's connection when the application runs on X11, else null.
xcb_connection_t* qtConnection()
{
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app)
        return nullptr;
    auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection || xcb_connection_has_error(connection))
        return nullptr;
    return connection;
}
#endif

} // namespace

TSysHotKey::TSysHotKey(QObject* parent)
    : QObject(parent)
{
}

TSysHotKey::~TSysHotKey()
{
    if (m_filterInstalled && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
    // After the application is gone its connection is closed, and the server dropped
    // the grabs with it.
    if (!serverAlive())
        return;
    for (const auto& [id, entry] : m_entries)
        ungrab(entry);
#if QT_CONFIG(xcb)
    xcb_flush(m_connection);
#endif
}

bool TSysHotKey::Register(int id, uint32_t virtualKey, uint32_t modifierBits)
{
    Unregister(id);
    if (!connectToServer() || !readKeyboard())
        return false;

    Entry entry;
    entry.virtualKey = virtualKey;
    entry.modifierBits = modifierBits;
    entry.keycode = KeycodeFromKeysym(m_keyboard, KeysymFromVirtualKey(virtualKey));
    entry.modifiers = GrabModifiers(modifierBits, m_masks);
    if (entry.keycode == 0)
        return false;
    // The server lets one client grab a key twice; ungrabbing one id would then silently
    // take the key from the other.
    for (const auto& [otherId, other] : m_entries)
        if (other.keycode == entry.keycode && other.modifiers == entry.modifiers)
            return false;
    if (!grab(entry))
        return false;
    m_entries[id] = entry;
    return true;
}

void TSysHotKey::Unregister(int id)
{
    const auto found = m_entries.find(id);
    if (found == m_entries.end())
        return;
    if (serverAlive()) {
        ungrab(found->second);
#if QT_CONFIG(xcb)
        xcb_flush(m_connection);
#endif
    }
    m_entries.erase(found);
}

bool TSysHotKey::IsRegistered(int id) const
{
    return m_entries.count(id) != 0;
}

uint32_t TSysHotKey::VirtualKey(int id) const
{
    const auto found = m_entries.find(id);
    return found == m_entries.end() ? 0 : found->second.virtualKey;
}

uint32_t TSysHotKey::Modifiers(int id) const
{
    const auto found = m_entries.find(id);
    return found == m_entries.end() ? 0 : found->second.modifierBits;
}

bool TSysHotKey::nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result)
{
#if QT_CONFIG(xcb)
    if (eventType != "xcb_generic_event_t" || m_entries.empty())
        return false;
    auto* event = static_cast<xcb_generic_event_t*>(message);
    const uint8_t type = event->response_type & 0x7F;

    if (type == XCB_MAPPING_NOTIFY) {
        auto* mapping = reinterpret_cast<xcb_mapping_notify_event_t*>(event);
        if (mapping->request != XCB_MAPPING_POINTER)
            regrabAll();
        return false; // Qt updates its own keyboard from the same event
    }
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
        return false;

    auto* key = reinterpret_cast<xcb_key_press_event_t*>(event);
    if (std::find(m_roots.begin(), m_roots.end(), key->event) == m_roots.end())
        return false;
    for (auto& [id, entry] : m_entries) {
        if (key->detail != entry.keycode)
            continue;
        if (type == XCB_KEY_RELEASE) {
            entry.held = false;
            entry.releaseTime = key->time;
            continue;
        }
        if (!StateMatches(key->state, entry.modifiers, m_masks))
            continue;
        // A held key must toggle the window once, not flicker it. The server repeats a
        // held key either as presses alone (detectable auto-repeat) or as a release and a
        // press stamped with the same time.
        const bool repeat = entry.held || (entry.releaseTime != 0 && key->time == entry.releaseTime);
        entry.held = true;
        if (repeat)
            return true;
        const int hotKeyId = id;
        QMetaObject::invokeMethod(
            this,
            [this, hotKeyId] {
                if (IsRegistered(hotKeyId))
                    Q_EMIT HotKey(hotKeyId);
            },
            Qt::QueuedConnection);
        if (result)
            *result = 0;
        return true;
    }
#endif
    return false;
}

bool TSysHotKey::connectToServer()
{
#if QT_CONFIG(xcb)
    xcb_connection_t* connection = qtConnection();
    if (!connection)
        return false;
    if (connection != m_connection) {
        m_connection = connection;
        m_roots.clear();
        for (auto it = xcb_setup_roots_iterator(xcb_get_setup(connection)); it.rem; xcb_screen_next(&it))
            m_roots.push_back(it.data->root);
    }
    if (!m_filterInstalled) {
        QCoreApplication::instance()->installNativeEventFilter(this);
        m_filterInstalled = true;
    }
    return !m_roots.empty();
#else
    return false;
#endif
}

// Read afresh for every registration: a layout switched since the last one moves keys.
bool TSysHotKey::readKeyboard()
{
#if QT_CONFIG(xcb)
    const xcb_setup_t* setup = xcb_get_setup(m_connection);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    const auto keyboardCookie = xcb_get_keyboard_mapping(m_connection, setup->min_keycode, uint8_t(count));
    const auto modifierCookie = xcb_get_modifier_mapping(m_connection);
    XcbReply<xcb_get_keyboard_mapping_reply_t> keyboard(
        xcb_get_keyboard_mapping_reply(m_connection, keyboardCookie, nullptr));
    XcbReply<xcb_get_modifier_mapping_reply_t> modifiers(
        xcb_get_modifier_mapping_reply(m_connection, modifierCookie, nullptr));
    if (!keyboard || !modifiers)
        return false;

    const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(keyboard.get());
    m_keyboard.minKeycode = setup->min_keycode;
    m_keyboard.keysymsPerKeycode = keyboard->keysyms_per_keycode;
    m_keyboard.keysyms.assign(keysyms, keysyms + xcb_get_keyboard_mapping_keysyms_length(keyboard.get()));

    const xcb_keycode_t* modifierKeys = xcb_get_modifier_mapping_keycodes(modifiers.get());
    const std::vector<uint8_t> modifierMap(modifierKeys,
                                           modifierKeys + xcb_get_modifier_mapping_keycodes_length(modifiers.get()));
    m_masks = ModifierMasksFromMaps(modifierMap, modifiers->keycodes_per_modifier, m_keyboard);
    return true;
#else
    return false;
#endif
}

bool TSysHotKey::grab(Entry& entry)
{
#if QT_CONFIG(xcb)
    // Checked requests: a grab another client holds comes back as BadAccess here instead
    // of reaching Qt's error handler as a warning.
    std::vector<xcb_void_cookie_t> cookies;
    for (xcb_window_t root : m_roots)
        for (uint16_t locks : LockVariants(m_masks))
            cookies.push_back(xcb_grab_key_checked(m_connection, 0, root, uint16_t(entry.modifiers | locks),
                                                   entry.keycode, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    bool granted = true;
    for (xcb_void_cookie_t cookie : cookies)
        if (XcbReply<xcb_generic_error_t> error{xcb_request_check(m_connection, cookie)})
            granted = false;
    if (!granted) {
        // Releases only this client's grabs; the other client keeps its own.
        ungrab(entry);
        xcb_flush(m_connection);
    }
    entry.held = false;
    entry.releaseTime = 0;
    return granted;
#else
    return false;
#endif
}

void TSysHotKey::ungrab(const Entry& entry)
{
#if QT_CONFIG(xcb)
    for (xcb_window_t root : m_roots)
        for (uint16_t locks : LockVariants(m_masks))
            xcb_ungrab_key(m_connection, entry.keycode, root, uint16_t(entry.modifiers | locks));
#endif
}

// The keyboard or modifier map changed: the old keycodes may now carry other keys.
// An entry whose key cannot be grabbed any more is dropped, as a refused registration is.
void TSysHotKey::regrabAll()
{
    if (!serverAlive())
        return;
    for (const auto& [id, entry] : m_entries)
        ungrab(entry);
    if (!readKeyboard()) {
        m_entries.clear();
        return;
    }
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        Entry& entry = it->second;
        entry.keycode = KeycodeFromKeysym(m_keyboard, KeysymFromVirtualKey(entry.virtualKey));
        entry.modifiers = GrabModifiers(entry.modifierBits, m_masks);
        if (entry.keycode != 0 && grab(entry))
            ++it;
        else
            it = m_entries.erase(it);
    }
#if QT_CONFIG(xcb)
    xcb_flush(m_connection);
#endif
}

bool TSysHotKey::serverAlive() const
{
#if QT_CONFIG(xcb)
    return m_connection && m_connection == qtConnection();
#else
    return false;
#endif
}
