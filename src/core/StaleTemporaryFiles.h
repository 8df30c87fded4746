#pragma once

#include <QString>

namespace quillor {

// A write cut short (a kill, a crash, a power cut) leaves its hidden
// temporary file ".quillor-<UUID>.tmp" behind: in a notes folder, where sync
// tools would carry it to every device, and in the data directory, where a
// partial copy of a capture's images can weigh hundreds of megabytes. Removes
// from `folder` (not its subfolders) the files whose names have exactly that
// form, with the UUID in upper case as the program writes it, and that are
// old enough that no running write still uses them; anything else, and
// whatever cannot be removed, stays. Reads and writes the disk: never on the
// UI thread.
void removeStaleTemporaryFiles(const QString& folder);

} // namespace quillor
