#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPalette>
#include <QString>

class QLabel;

namespace quillor {

// The looks shared by the settings window's rows: fonts, the tint of the row
// the window points at, error and secondary texts, and icons.
namespace SettingsStyle {

QFont headlineFont(const QFont& base);
QFont captionFont(const QFont& base);
QFont titleFont(const QFont& base);

// The accent colour at `alpha`.
QColor tint(const QPalette& palette, qreal alpha);
// The orange of marks that ask the user to check something.
QColor warningColour();

// Red, caption-sized, wrapping text.
void makeError(QLabel* label);
// Secondary, caption-sized, wrapping text.
void makeCaption(QLabel* label);

// An icon of the desktop's theme by its freedesktop name; drawn by us when
// the theme lacks it. Known drawings: "folder", "go-down", "go-next",
// "dialog-warning", "edit-clear", "list-add", "preferences-system",
// "input-keyboard", "help-contents", "document-open-recent", "help-about",
// "document-edit", "dialog-ok", "view-refresh".
QIcon icon(const QString& name, const QColor& colour);

} // namespace SettingsStyle
} // namespace quillor
