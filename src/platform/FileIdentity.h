#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

namespace quillor {

// Which file a path names at one moment: its device and inode. Two looks at
// the same path that give different identities saw the path name another
// file in between (renamed away and made again, or a link pointed elsewhere).
struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;

    bool operator==(const FileIdentity&) const = default;

    // stat(2), following links as a watch on the path does; nothing when the
    // path names nothing that can be inspected. Reads the disk: call it off
    // the UI thread.
    static std::optional<FileIdentity> of(const QString& path);
};

} // namespace quillor
