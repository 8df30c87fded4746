#include "core/SafePath.h"

#include "core/CaptureError.h"
#include "core/FileSystem.h"

#include <QDir>
#include <QStringList>

namespace quillor {
namespace SafePath {

namespace {

bool isRefusedPart(const QString& part)
{
    // Covers "." and ".." as well as hidden names such as ".obsidian".
    return part == QLatin1String("..") || part.startsWith(QLatin1Char('.'));
}

// Links are refused even when they point inside the vault: whatever they point
// at could be swapped for somewhere else between this check and the write.
void refuseLinkedComponents(const QString& resolvedRoot, const QString& relative)
{
    QString location = resolvedRoot;
    const QStringList parts = relative.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        location = location.endsWith(QLatin1Char('/')) ? location + part : location + QLatin1Char('/') + part;
        if (FileSystem::isSymbolicLink(location))
            throw CaptureError::invalidPath();
    }
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
    const QStringList parts = relative.split(QLatin1Char('/'));
    for (const QString& part : parts) {
        if (isRefusedPart(part))
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
    refuseLinkedComponents(resolvedRoot, relative);

    const QString candidate =
        FileSystem::resolveExistingPrefix(QDir::cleanPath(resolvedRoot + QLatin1Char('/') + relative));
    if (candidate == resolvedRoot)
        return candidate;
    if (!candidate.startsWith(resolvedRoot + QLatin1Char('/')))
        throw CaptureError::invalidPath();
    return candidate;
}

} // namespace SafePath
} // namespace quillor
