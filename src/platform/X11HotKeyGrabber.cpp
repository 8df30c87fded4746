#include "platform/X11HotKeyGrabber.h"

#include <QGuiApplication>

#include <xcb/xcb_keysyms.h>

#include <array>
#include <optional>
#include <cstdlib>

namespace quillor {

namespace {

constexpr quint16 lockMask = XCB_MOD_MASK_LOCK;
constexpr quint16 boundModifiers = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL;

bool isWaylandSession()
{
    return qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland")
           || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

std::array<quint16, 4> lockVariants(quint16 numLock)
{
    return {0, lockMask, numLock, quint16(lockMask | numLock)};
}

} // namespace

X11HotKeyGrabber::X11HotKeyGrabber(xcb_connection_t* connection) : m_connection(connection)
{
    if (!m_connection)
        return;
    m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    m_symbols = xcb_key_symbols_alloc(m_connection);
    readModifierBits();
}

X11HotKeyGrabber::~X11HotKeyGrabber()
{
    while (!m_grabs.empty())
        ungrab(m_grabs.begin()->first);
    if (m_symbols)
        xcb_key_symbols_free(m_symbols);
}

xcb_connection_t* X11HotKeyGrabber::applicationConnection()
{
    auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!application || isWaylandSession())
        return nullptr;
    auto* x11 = application->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

int X11HotKeyGrabber::grab(quint32 id, quint32 code, quint32 modifiers)
{
    if (!m_connection)
        return HotKeyStatus::noX11;
    Grab grab{code, modifiers};
    if (const int status = take(grab); status != 0)
        return status;
    m_grabs[id] = grab;
    return 0;
}

void X11HotKeyGrabber::ungrab(quint32 id)
{
    const auto found = m_grabs.find(id);
    if (found == m_grabs.end())
        return;
    const Grab grab = found->second;
    m_grabs.erase(found);
    release(grab, id);
    xcb_flush(m_connection);
}

int X11HotKeyGrabber::take(Grab& grab)
{
    const std::optional<quint32> symbol = HotKeyMapping::keysym(grab.code);
    const std::optional<quint16> mask = HotKeyMapping::xModifiers(grab.modifiers, m_bits);
    const xcb_keycode_t keycode = symbol ? keycodeFor(*symbol) : 0;
    if (!mask || keycode == 0)
        return HotKeyStatus::invalidKey;
    grab.keycode = keycode;
    grab.mask = *mask;
    // Checked before returning: X reports errors asynchronously, and a refusal
    // must be known before the caller releases the hot key it replaces. All
    // four go out first, so the checks cost one round trip.
    const std::array<quint16, 4> variants = lockVariants(m_bits.numLock);
    std::array<xcb_void_cookie_t, 4> cookies{};
    for (std::size_t i = 0; i < variants.size(); ++i)
        cookies[i] = xcb_grab_key_checked(m_connection, 0, m_root, grab.mask | variants[i], keycode,
                                          XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    std::optional<int> refusal;
    std::array<bool, 4> held{};
    for (std::size_t i = 0; i < variants.size(); ++i) {
        xcb_generic_error_t* error = xcb_request_check(m_connection, cookies[i]);
        held[i] = error == nullptr;
        if (error && !refusal)
            refusal = error->error_code;
        std::free(error);
    }
    if (refusal) {
        for (std::size_t i = 0; i < variants.size(); ++i) {
            if (held[i])
                xcb_ungrab_key(m_connection, keycode, m_root, grab.mask | variants[i]);
        }
        xcb_flush(m_connection);
        grab.keycode = 0;
        return *refusal == XCB_ACCESS ? HotKeyStatus::taken : HotKeyStatus::xErrorBase - *refusal;
    }
    return 0;
}

void X11HotKeyGrabber::release(const Grab& grab, quint32 exceptId)
{
    if (grab.keycode == 0)
        return;
    // Two stored combinations can land on the same X grab; while one of them is
    // live, releasing the other must not take the grab away from it.
    for (const auto& [id, other] : m_grabs) {
        if (id != exceptId && other.keycode == grab.keycode && other.mask == grab.mask)
            return;
    }
    for (const quint16 variant : lockVariants(m_bits.numLock))
        xcb_ungrab_key(m_connection, grab.keycode, m_root, grab.mask | variant);
    // A round trip, so the key is free for other clients (the shortcut
    // recorder, another application) as soon as this returns.
    free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    m_held.erase(grab.keycode);
}

xcb_keycode_t X11HotKeyGrabber::keycodeFor(quint32 keysym) const
{
    xcb_keycode_t* codes = xcb_key_symbols_get_keycode(m_symbols, keysym);
    if (!codes)
        return 0;
    const xcb_keycode_t first = codes[0] == XCB_NO_SYMBOL ? 0 : codes[0];
    std::free(codes);
    return first;
}

void X11HotKeyGrabber::readModifierBits()
{
    HotKeyMapping::X11ModifierBits bits;
    xcb_get_modifier_mapping_reply_t* reply =
        xcb_get_modifier_mapping_reply(m_connection, xcb_get_modifier_mapping(m_connection), nullptr);
    if (!reply)
        return;
    const xcb_keycode_t* keycodes = xcb_get_modifier_mapping_keycodes(reply);
    const int perModifier = reply->keycodes_per_modifier;
    bool altFound = false, superFound = false, numLockFound = false;
    // Only Mod1..Mod5 (indices 3 to 7) are assigned by the keymap.
    for (int modifier = 3; modifier < 8; ++modifier) {
        const quint16 bit = quint16(1u << modifier);
        for (int k = 0; k < perModifier; ++k) {
            const xcb_keycode_t keycode = keycodes[modifier * perModifier + k];
            if (keycode == 0)
                continue;
            for (int column = 0; column < 4; ++column) {
                const xcb_keysym_t symbol = xcb_key_symbols_get_keysym(m_symbols, keycode, column);
                if ((symbol == 0xffe9 || symbol == 0xffea) && !altFound) // Alt_L, Alt_R
                    bits.alt = bit, altFound = true;
                else if ((symbol == 0xffeb || symbol == 0xffec) && !superFound) // Super_L, Super_R
                    bits.super = bit, superFound = true;
                else if (symbol == 0xff7f && !numLockFound) // Num_Lock
                    bits.numLock = bit, numLockFound = true;
            }
        }
    }
    std::free(reply);
    m_bits = bits;
}

void X11HotKeyGrabber::regrabAll()
{
    for (auto& [id, grab] : m_grabs) {
        if (grab.keycode == 0)
            continue;
        for (const quint16 variant : lockVariants(m_bits.numLock))
            xcb_ungrab_key(m_connection, grab.keycode, m_root, grab.mask | variant);
    }
    m_held.clear();
    readModifierBits();
    // A combination the new keymap cannot grab stays recorded with keycode 0
    // and comes back at the next remap that offers its key again.
    for (auto& [id, grab] : m_grabs)
        take(grab);
    xcb_flush(m_connection);
}

bool X11HotKeyGrabber::handleEvent(const xcb_generic_event_t* event)
{
    switch (event->response_type & ~0x80) {
    case XCB_KEY_PRESS: {
        const auto* press = reinterpret_cast<const xcb_key_press_event_t*>(event);
        if (press->event == m_root)
            onPress(press->detail, press->state, press->time);
        break;
    }
    case XCB_KEY_RELEASE: {
        const auto* release = reinterpret_cast<const xcb_key_release_event_t*>(event);
        onRelease(release->detail, release->time);
        break;
    }
    case XCB_MAPPING_NOTIFY: {
        auto* mapping = const_cast<xcb_mapping_notify_event_t*>(
            reinterpret_cast<const xcb_mapping_notify_event_t*>(event));
        if (mapping->request == XCB_MAPPING_POINTER)
            break;
        xcb_refresh_keyboard_mapping(m_symbols, mapping);
        regrabAll();
        break;
    }
    default:
        break;
    }
    return false;
}

void X11HotKeyGrabber::onPress(xcb_keycode_t keycode, quint16 state, xcb_timestamp_t time)
{
    // Locks and the keyboard group bits do not belong to the combination.
    const quint16 modifiers = state & (boundModifiers | m_bits.alt | m_bits.super);
    bool ours = false;
    for (const auto& [id, grab] : m_grabs)
        ours = ours || (grab.keycode == keycode && grab.mask == modifiers);
    if (!ours)
        return;
    // A held key repeats its press: with detectable auto-repeat without any
    // release, otherwise with a release stamped at the same time as the press.
    const auto released = m_releaseTimes.find(keycode);
    const bool repeat = m_held.count(keycode) > 0 || (released != m_releaseTimes.end() && released->second == time);
    m_held.insert(keycode);
    if (repeat)
        return;
    m_lastPressTime = time;
    if (this->pressed)
        this->pressed();
}

void X11HotKeyGrabber::onRelease(xcb_keycode_t keycode, xcb_timestamp_t time)
{
    if (m_held.erase(keycode) > 0)
        m_releaseTimes[keycode] = time;
}

bool X11HotKeyGrabber::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType == "xcb_generic_event_t" && m_connection)
        return handleEvent(static_cast<const xcb_generic_event_t*>(message));
    return false;
}

void X11HotKeyGrabber::processPendingEvents()
{
    if (!m_connection)
        return;
    while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
        handleEvent(event);
        std::free(event);
    }
}

} // namespace quillor
