#pragma once

#include <QtGlobal>

class QAbstractButton;
class QPushButton;

namespace quillor {

// What every clickable thing of the program does under the pointer while it
// is enabled: a faint rounded fill behind it and the pointing hand. Qt shows
// no widget cursor over a disabled widget, so the hand goes with the enabled
// state by itself.
namespace CaptureButtonFeedback {

inline constexpr qreal hoverAlpha = 0.09;
inline constexpr qreal cornerRadius = 6;

void install(QAbstractButton* button);
// Whether the hover fill is painted now.
bool showsHoverFill(const QAbstractButton* button);

} // namespace CaptureButtonFeedback

// The platform's bordered push button with the same feedback, for buttons
// outside the capture panel's action row.
namespace AppButtonStyle {
void apply(QPushButton* button);
}

} // namespace quillor
