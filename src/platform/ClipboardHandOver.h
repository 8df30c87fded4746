#pragma once

#include <chrono>

namespace quillor::ClipboardHandOver {

// A quit's step while the application still runs whole: a text this program
// put on the clipboard goes to the session's clipboard manager, when one runs,
// so that it can still be pasted once the program has gone. Runs the event
// loop, through which the manager reads the text, until the manager answers or
// `limit` passes (a manager that never answers holds the quit no longer).
// Then the program gives up the clipboard and the selection it owns: Qt's own
// teardown would offer them to the manager again, or to a program pasting
// meanwhile, and rendering them then (a text view's copy renders its formats
// when first asked) needs fonts that are already gone. Answers whether the
// manager took the text. Nothing on a platform other than X11.
bool beforeQuit(std::chrono::milliseconds limit);

} // namespace quillor::ClipboardHandOver
