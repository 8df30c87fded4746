#pragma once

#include <thread>

namespace quillor {

// Loads the system's font configuration into Qt's font database, which all
// threads share, on a thread of its own while the program reads its settings
// and builds its model, so that the first window built finds it ready.
// Create it once the QGuiApplication exists, not before: the font
// configuration's work beside the application object's own set-up only slows
// both.
class FontWarmUp {
public:
    FontWarmUp();
    // Waits for the thread, which uses the application's font database.
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

private:
    std::thread m_thread;
};

} // namespace quillor
