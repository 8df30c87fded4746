#pragma once

#include "core/Destination.h"

#include <QList>
#include <QString>

namespace quillor {

class VaultAccess;

// Binding a folder the user chose to a destination of the settings copy.
namespace DestinationFolders {

// The destination bound to `folder`. When the folder lies inside a notes
// folder that one of `known` already uses (the innermost one, the earlier
// destination on a tie), that notes folder and its bookmark are shared and
// only the relative folder is kept; otherwise the folder becomes a notes
// folder of its own, with a new bookmark and its access opened. The name
// follows the folder; a destination that appends to one note keeps the note's
// file name ("Captures.md" when it had none). Throws FileSystemError or the
// folder-access error.
Destination configure(const QString& folder, const Destination& destination, const QList<Destination>& known,
                      VaultAccess& vaultAccess);

// The path of a note folder and a file name joined with "/", empty parts left
// out.
QString joined(const QString& folder, const QString& name);

// The last component of a relative path ("Log.md" of "Journal/Log.md").
QString lastComponent(const QString& path);

} // namespace DestinationFolders
} // namespace quillor
