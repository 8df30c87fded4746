#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>

class QPalette;
class QWidget;

namespace quillor {

// Sizes, colours and small icons shared by the capture panel's chrome. Sizes
// are given on the design's scale, where the body text is 13 points.
namespace ChromeStyle {

// `base` rescaled so that designPoints relates to it as the design's sizes
// relate to its 13-point body text.
QFont font(const QFont& base, qreal designPoints, QFont::Weight weight = QFont::Normal);
void setFont(QWidget* widget, qreal designPoints, QFont::Weight weight = QFont::Normal);

// The secondary text colour of the chrome: the text colour, softened.
QColor secondaryText(const QPalette& palette);
// A destination warning and an error.
QColor warning();
QColor error();

// A paperclip drawn in `colour`, for the attach button.
QIcon paperclip(const QColor& colour);
// A folder drawn in `colour`, for the destination menu. Painted rather than
// taken from the style, whose icon loads every image plugin at start-up.
QIcon folder(const QColor& colour);

// Plain chrome buttons: a fixed height, and no focus taken by a click, so the
// caret stays in the editor.
inline constexpr int buttonHeight = 30;
void makeChromeButton(QWidget* button);

} // namespace ChromeStyle
} // namespace quillor
