#pragma once

#include <thread>

namespace quillor {

// Reads the system's font configuration and font caches on a thread of its
// own from the moment it is created. Loading them is the longest single step
// of a start-up, and nothing needs fonts before the first window is built; so
// the work overlaps the connection to the display and the single-instance
// check, and the first layout finds fontconfig ready.
class FontWarmUp {
public:
    FontWarmUp();
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

    // Returns once the configuration is loaded. Call before anything lays out
    // text: fontconfig would otherwise load a second configuration of its own.
    void wait();

private:
    std::thread m_thread;
};

} // namespace quillor
