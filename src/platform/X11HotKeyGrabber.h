#pragma once

#include "platform/HotKeyMapping.h"

#include <QAbstractNativeEventFilter>

#include <xcb/xcb.h>

#include <functional>
#include <map>
#include <set>

struct _XCBKeySymbols;

namespace quillor {

// Statuses of a hot-key grab, in the design's numbering where it has one.
namespace HotKeyStatus {
constexpr int taken = -9878;      // another client holds the combination
constexpr int invalidKey = -9879; // the key or a modifier has no X equivalent
constexpr int noX11 = -9870;      // no X11 connection (a Wayland session)
// Any other X error e is reported as xErrorBase - e.
constexpr int xErrorBase = -9800;
} // namespace HotKeyStatus

// Global hot keys as passive key grabs on the root window. Each grab is taken
// once per CapsLock/NumLock state, since X matches modifiers exactly and the
// hot key would otherwise die whenever one of the locks is on.
class X11HotKeyGrabber final : public QAbstractNativeEventFilter {
public:
    // A null connection makes every grab fail with HotKeyStatus::noX11.
    explicit X11HotKeyGrabber(xcb_connection_t* connection);
    ~X11HotKeyGrabber() override;
    X11HotKeyGrabber(const X11HotKeyGrabber&) = delete;
    X11HotKeyGrabber& operator=(const X11HotKeyGrabber&) = delete;

    // Qt's own X connection (grabs must live there for their events to reach
    // Qt's queue); null outside X11 and in a Wayland session, where X grabs
    // only see keys typed into X windows.
    static xcb_connection_t* applicationConnection();

    // Grabs a stored combination under the caller's identifier; 0 or a status.
    int grab(quint32 id, quint32 code, quint32 modifiers);
    // Releases it, unless another identifier still uses the same X grab.
    void ungrab(quint32 id);

    // Runs once per press of a grabbed combination; a held key fires once.
    std::function<void()> pressed;
    // Server time of the last press that fired, for focus requests.
    xcb_timestamp_t lastPressTime() const { return m_lastPressTime; }

    // Always false: the event is left for Qt's own bookkeeping.
    bool handleEvent(const xcb_generic_event_t* event);
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    // Reads and handles the events queued on a connection Qt does not read.
    void processPendingEvents();

private:
    struct Grab {
        quint32 code = 0;
        quint32 modifiers = 0;
        xcb_keycode_t keycode = 0; // 0 while the keymap offers no key for it
        quint16 mask = 0;
    };

    int take(Grab& grab);
    void release(const Grab& grab, quint32 exceptId);
    void readModifierBits();
    void regrabAll();
    xcb_keycode_t keycodeFor(quint32 keysym) const;
    void onPress(xcb_keycode_t keycode, quint16 state, xcb_timestamp_t time);
    void onRelease(xcb_keycode_t keycode, xcb_timestamp_t time);

    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = 0;
    _XCBKeySymbols* m_symbols = nullptr;
    HotKeyMapping::X11ModifierBits m_bits;
    std::map<quint32, Grab> m_grabs;
    std::set<xcb_keycode_t> m_held;
    std::map<xcb_keycode_t, xcb_timestamp_t> m_releaseTimes;
    xcb_timestamp_t m_lastPressTime = 0;
};

} // namespace quillor
