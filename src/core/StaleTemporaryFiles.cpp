#include "core/StaleTemporaryFiles.h"

#include "core/FileSystem.h"
#include "core/FileSystemError.h"
#include "core/Json.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QUuid>

#include <mutex>

namespace quillor {

namespace {

std::mutex& ownMutex()
{
    // Never destroyed: a write left running at the end of the process may
    // end while its statics go.
    static auto* const shared = new std::mutex;
    return *shared;
}

QSet<QString>& ownTemporaries()
{
    static auto* const written = new QSet<QString>;
    return *written;
}

// By name: the UUID in it is this file's alone, and the folder may be named
// through other links by the writer and by the one who looks.
QString nameOf(const QString& path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

bool isOwn(const QString& name)
{
    const std::lock_guard lock(ownMutex());
    return ownTemporaries().contains(name);
}

} // namespace

OwnTemporaryFile::OwnTemporaryFile(const QString& path) : m_name(nameOf(path))
{
    const std::lock_guard lock(ownMutex());
    ownTemporaries().insert(m_name);
}

OwnTemporaryFile::~OwnTemporaryFile()
{
    const std::lock_guard lock(ownMutex());
    ownTemporaries().remove(m_name);
}

void removeStaleTemporaryFiles(const QString& folder, LeftOverTemporaries which)
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
        if (id.isNull() || Json::uuidText(id) != idText)
            continue;
        // A file of ours is registered before it is made, so one listed here
        // and not registered now is no write of ours, now or later; however
        // long one of ours takes, it is never cut.
        const bool leftOver = !isOwn(name)
            && (which == LeftOverTemporaries::notOurs || candidate.lastModified() < staleBefore);
        if (!leftOver)
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
