#include "core/SafePath.h"

#include "core/CaptureError.h"
#include "core/FileSystem.h"
#include "core/PathWalk.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <climits>

namespace quillor {
namespace SafePath {

namespace {

bool isRefusedPart(const QString& part)
{
    // Covers "." and ".." as well as hidden names such as ".obsidian".
    return part == QLatin1String("..") || part.startsWith(QLatin1Char('.'));
}

// Longer than the system takes: such a path can never be used, and looking at
// it part by part would only waste time.
bool exceedsSystemLimit(const QString& path, qsizetype limit)
{
    // Each UTF-16 unit takes one to three bytes on disk.
    if (path.size() * 3 < limit)
        return false;
    return path.size() >= limit || QFile::encodeName(path).size() >= limit;
}

} // namespace

void validate(const QString& relative)
{
    if (relative.startsWith(QLatin1Char('/')) || relative.startsWith(QLatin1Char('~')))
        throw CaptureError::invalidPath();
    if (relative.contains(QLatin1Char('\\')))
        throw CaptureError::invalidPath();
    if (relative.contains(QChar(u'\0')))
        throw CaptureError::invalidPath();
    if (exceedsSystemLimit(relative, PATH_MAX))
        throw CaptureError::invalidPath();
    const QStringList parts = relative.split(QLatin1Char('/'));
    for (const QString& part : parts) {
        if (isRefusedPart(part) || exceedsSystemLimit(part, NAME_MAX + 1))
            throw CaptureError::invalidPath();
    }
}

QString resolve(const QString& root, const QString& relative)
{
    validate(relative);
    // An empty root would otherwise resolve every path against "/".
    if (root.isEmpty())
        throw CaptureError::invalidPath();

    const QString resolvedRoot = FileSystem::resolveExistingPrefix(QDir::cleanPath(root));
    // With no ".." part and no link below the root, the relative path names
    // exactly what it says.
    const QString candidate = QDir::cleanPath(resolvedRoot + QLatin1Char('/') + relative);
    if (candidate != resolvedRoot && !candidate.startsWith(resolvedRoot + QLatin1Char('/')))
        throw CaptureError::invalidPath();
    if (exceedsSystemLimit(candidate, PATH_MAX))
        throw CaptureError::invalidPath();
    // Links are refused even when they point inside the vault: whatever they
    // point at could be swapped for somewhere else between this check and the
    // write.
    if (PathWalk::entries(resolvedRoot, relative).contains(PathWalk::Entry::symbolicLink))
        throw CaptureError::invalidPath();
    return candidate;
}

} // namespace SafePath
} // namespace quillor
