#include "core/StaleTemporaryFiles.h"

#include "core/FileSystem.h"
#include "core/FileSystemError.h"
#include "core/Json.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QUuid>

namespace quillor {

void removeStaleTemporaryFiles(const QString& folder)
{
    // Far longer than any write takes, however large.
    constexpr qint64 staleAfterSeconds = 15 * 60;
    const QString prefix = QStringLiteral(".quillor-");
    const QString suffix = QStringLiteral(".tmp");
    const QDateTime staleBefore = QDateTime::currentDateTimeUtc().addSecs(-staleAfterSeconds);
    // Name filters ignore case unless told otherwise, and ".Quillor-….TMP" is
    // some other program's file.
    const QFileInfoList candidates = QDir(folder).entryInfoList(
        {prefix + u'*' + suffix}, QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks | QDir::CaseSensitive);
    for (const QFileInfo& candidate : candidates) {
        const QString name = candidate.fileName();
        if (!name.startsWith(prefix, Qt::CaseSensitive) || !name.endsWith(suffix, Qt::CaseSensitive))
            continue;
        const QString idText = name.mid(prefix.size(), name.size() - prefix.size() - suffix.size());
        const QUuid id = QUuid::fromString(idText);
        if (id.isNull() || Json::uuidText(id) != idText || candidate.lastModified() >= staleBefore)
            continue;
        try {
            FileSystem::removeFile(candidate.filePath());
        } catch (const FileSystemError&) {
            // A stray hidden temporary file is harmless; the caller's own
            // work is what matters.
        }
    }
}

} // namespace quillor
