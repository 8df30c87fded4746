#pragma once

#include "core/Error.h"
#include "platform/ShortcutTransaction.h"
#include "platform/X11HotKeyGrabber.h"

#include <functional>
#include <memory>

namespace quillor {

// The program's one global hot key. Registrations go through a transaction so
// that changing the combination never leaves the user without a working one;
// while the settings record a new combination the hot key is suspended.
class GlobalShortcut {
public:
    // Uses Qt's own X connection unless given another (tests drive their own).
    GlobalShortcut();
    explicit GlobalShortcut(xcb_connection_t* connection);
    ~GlobalShortcut();
    GlobalShortcut(const GlobalShortcut&) = delete;
    GlobalShortcut& operator=(const GlobalShortcut&) = delete;

    // Registration failures are PlatformErrors of domain "Quillor.Shortcut"
    // whose code is the status (HotKeyStatus).
    ShortcutTransaction<quint32>& transaction();

    bool recording() const { return m_recording; }
    // Suspends the registration while true; when false, registers the active
    // combination again (a failure propagates and leaves it unregistered).
    void setRecording(bool recording);

    // Run on every press of the hot key, except while recording.
    std::function<void()> action;

    // Releases the hot key and stops listening, at the program's end.
    void terminate();

    X11HotKeyGrabber& grabber() { return m_grabber; }

private:
    quint32 registerCombination(const ShortcutCombination& combination);
    void onPressed();

    quint32 m_nextID = 0;
    X11HotKeyGrabber m_grabber;
    bool m_filterInstalled = false;
    std::unique_ptr<ShortcutTransaction<quint32>> m_transaction;
    bool m_recording = false;
};

// The error of a refused registration, worded for the user; the ending tells
// whether the hot key in force was kept.
PlatformError shortcutError(int status, bool activeKept);

} // namespace quillor
