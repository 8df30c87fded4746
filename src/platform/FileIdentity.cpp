#include "platform/FileIdentity.h"

#include <QFile>

#include <sys/stat.h>

namespace quillor {

std::optional<FileIdentity> FileIdentity::of(const QString& path)
{
    struct stat info {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return FileIdentity{static_cast<quint64>(info.st_dev), static_cast<quint64>(info.st_ino)};
}

} // namespace quillor
