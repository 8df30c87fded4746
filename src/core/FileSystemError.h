#pragma once

#include "core/Error.h"

namespace quillor {

// A failed file-system call: which operation, on which path, and the errno it
// gave. The French text names the common causes (missing file or folder,
// permission denied, disk full, read-only file system, file exists, not a
// folder, not a plain file to read) and quotes the path; the other usual
// errno values are named in the interface language too, the rare ones in the
// system's words.
class FileSystemError : public Error {
public:
    enum class Operation { read, write, create, link, move, remove, list, inspect };

    FileSystemError(Operation operation, QString path, int errnoValue);

    Operation operation() const { return m_operation; }
    QString path() const { return m_path; }
    int errnoValue() const { return m_errno; }
    QString localizedDescription() const override;

    bool operator==(const FileSystemError& other) const
    {
        return m_operation == other.m_operation && m_path == other.m_path && m_errno == other.m_errno;
    }

private:
    Operation m_operation;
    QString m_path;
    int m_errno = 0;
};

} // namespace quillor
