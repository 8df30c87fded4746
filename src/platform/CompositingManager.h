#pragma once

namespace quillor {

// Whether a compositing manager runs on the display: only then do windows
// with an alpha channel show what lies beneath them; otherwise their clear
// parts come out black.
namespace CompositingManager {

// False off X11 (the offscreen platform, native Wayland).
bool isRunning();

} // namespace CompositingManager
} // namespace quillor
