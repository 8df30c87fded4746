#pragma once

#include <QRect>

namespace quillor {

// Where the suggestions panel stands: just below the caret line, or just
// above it when the screen has no room below, pushed inside the screen
// sideways. Rectangles in Qt's screen coordinates (y grows downward).
namespace SuggestionPlacement {

inline constexpr int panelWidth = 340;
inline constexpr int rowHeight = 32;
inline constexpr int verticalPadding = 8;
inline constexpr int maximumHeight = 200;

// The panel's frame for `rows` completions beside the caret line `anchor`,
// within the screen's available `area`.
QRect frame(const QRect& anchor, const QRect& area, int rows);

} // namespace SuggestionPlacement
} // namespace quillor
