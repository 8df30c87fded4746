#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace quillor {

// Asks for a folder in Qt's own dialog, on the settings window: it stays above
// it, and tests can drive it. Nothing when the user cancels.
std::optional<QString> chooseFolderInDialog(QWidget* parent, const QString& title, const QString& start = {});

} // namespace quillor
