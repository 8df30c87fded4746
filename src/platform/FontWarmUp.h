#pragma once

#include <thread>

namespace quillor {

// Prepares fonts on a thread of its own while the program reads its settings
// and builds its model: loads the system's font configuration into Qt's font
// database and matches the application font with its fallbacks, all of which
// Qt shares between threads, so that the first window built finds them
// ready. Create it once the QGuiApplication exists, not before: the font
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
