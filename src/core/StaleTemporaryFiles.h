#pragma once

#include <QString>

namespace quillor {

// A write cut short (a kill, a crash, a power cut, a disk that stopped
// answering) leaves its hidden temporary file ".quillor-<UUID>.tmp" behind:
// in a notes folder, where sync tools would carry it to every device, and in
// the data directory, where a partial copy of a capture's images can weigh
// hundreds of megabytes.

// Which of those temporary files are left over.
enum class LeftOverTemporaries {
    // Those old enough that no running write still uses them: in a folder
    // other programs, or another copy of this one, may be writing to.
    stale,
    // Every one this process is not writing: in a folder only this process
    // writes to (the data directory, once its running program holds it).
    notOurs,
};

// Removes from `folder` (not its subfolders) the files whose names have
// exactly that form, with the UUID in upper case as the program writes it,
// and that are left over; this process's own writes in progress, anything
// else, and whatever cannot be removed, stay. Reads and writes the disk: never on the UI thread.
void removeStaleTemporaryFiles(const QString& folder, LeftOverTemporaries which = LeftOverTemporaries::stale);

// One temporary file this process writes, known as its own from before it is
// made until its name is gone, so that it is never taken for a left-over one.
class OwnTemporaryFile {
public:
    explicit OwnTemporaryFile(const QString& path);
    ~OwnTemporaryFile();

    OwnTemporaryFile(const OwnTemporaryFile&) = delete;
    OwnTemporaryFile& operator=(const OwnTemporaryFile&) = delete;

private:
    const QString m_name;
};

} // namespace quillor
