#include "inbox/InboxDirectory.h"

#include "core/FileSystem.h"
#include "core/Json.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>
#include <sys/stat.h>

namespace quillor {

namespace {

const QString extension = QStringLiteral(".json");

QString lowerCaseName(const QUuid& id)
{
    return id.toString(QUuid::WithoutBraces).toLower() + extension;
}

// A name that stands for a UUID in some other letter case than upper, and the
// names that, when present, are the record instead: the upper-case one, and
// for a mixed-case name the lower-case one too.
QStringList betterNames(const QString& name)
{
    const auto id = Json::parseUuid(name.chopped(extension.size()));
    if (!id)
        return {};
    const QString upper = Json::uuidText(*id) + extension;
    if (name == upper)
        return {};
    const QString lower = lowerCaseName(*id);
    return name == lower ? QStringList{upper} : QStringList{upper, lower};
}

// Only a folder that is certainly not there reads as empty. One that cannot be
// looked at (no permission on the way, a loop of symbolic links) is left to
// the listing, which reports why.
bool isMissing(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) != 0 && errno == ENOENT;
}

bool hasLowerCaseLetter(const QString& name)
{
    for (const QChar c : name) {
        if (c >= u'a' && c <= u'z')
            return true;
    }
    return false;
}

} // namespace

QString InboxDirectory::folderPath(const QString& folder) const
{
    return m_root + QLatin1Char('/') + folder;
}

QString InboxDirectory::recordPath(const QString& folder, const QUuid& id) const
{
    return folderPath(folder) + QLatin1Char('/') + Json::uuidText(id) + extension;
}

QString InboxDirectory::lowerCasePath(const QString& folder, const QUuid& id) const
{
    return folderPath(folder) + QLatin1Char('/') + lowerCaseName(id);
}

std::optional<QString> InboxDirectory::existingRecord(const QString& folder, const QUuid& id) const
{
    for (const QString& path : {recordPath(folder, id), lowerCasePath(folder, id)}) {
        if (QFileInfo::exists(path))
            return path;
    }
    return std::nullopt;
}

QString recordFileName(const QString& folder, const QString& path)
{
    return folder + QLatin1Char('/') + path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

std::optional<QByteArray> readRecordFile(const QString& folder, const QString& path)
{
    try {
        return FileSystem::readIfExists(path, InboxDirectory::maximumRecordSize);
    } catch (const FileSystemError& error) {
        if (error.errnoValue() == EFBIG)
            throw InboxRecordError::tooLarge(recordFileName(folder, path));
        throw;
    }
}

QByteArray readListedRecord(const QString& folder, const QString& path)
{
    std::optional<QByteArray> bytes = readRecordFile(folder, path);
    if (!bytes)
        throw FileSystemError(FileSystemError::Operation::read, path, ENOENT);
    return std::move(*bytes);
}

std::optional<InboxDirectory::StoredRecord> InboxDirectory::readExisting(const QString& folder, const QUuid& id) const
{
    for (const QString& path : {recordPath(folder, id), lowerCasePath(folder, id)}) {
        try {
            if (auto bytes = readRecordFile(folder, path))
                return StoredRecord{path, std::move(*bytes)};
        } catch (const FileSystemError& error) {
            // A file in place of the folder: no record, as for a missing folder.
            if (error.errnoValue() != ENOTDIR)
                throw;
        }
    }
    return std::nullopt;
}

void InboxDirectory::write(const QString& folder, const QUuid& id, const QJsonObject& record) const
{
    FileSystem::FolderSyncs created;
    FileSystem::createDirectories(folderPath(folder), &created);
    const QString path = recordPath(folder, id);
    FileSystem::writeAtomicallyNoFollow(path, QJsonDocument(record).toJson(QJsonDocument::Compact));
    created.syncAll();

    // On a file system that ignores case both names are the one file just
    // written, which must stay.
    const QString lower = lowerCasePath(folder, id);
    const auto written = FileSystem::identify(path);
    const auto twin = FileSystem::identify(lower);
    if (!twin || (written && written->isSameFile(*twin)))
        return;
    try {
        FileSystem::removeFile(lower);
    } catch (const FileSystemError&) {
        // The upper-case record is the one read from now on either way.
    }
}

void InboxDirectory::remove(const QString& folder, const QUuid& id) const
{
    // Tested first so that a folder that is not there, or a file in place of
    // one, means no record rather than an error.
    for (const QString& path : {recordPath(folder, id), lowerCasePath(folder, id)}) {
        if (FileSystem::exists(path))
            FileSystem::removeFile(path);
    }
}

void InboxDirectory::removeQuietly(const QString& folder, const QUuid& id) const noexcept
{
    try {
        remove(folder, id);
    } catch (...) {
    }
}

QList<InboxDirectory::RecordFile> InboxDirectory::list(const QString& folder) const
{
    namespace fs = std::filesystem;
    const QString path = folderPath(folder);
    if (isMissing(path))
        return {};
    std::error_code error;
    fs::directory_iterator it(fs::path(QFile::encodeName(path).toStdString()), error);
    QList<RecordFile> files;
    bool otherCase = false;
    // A failed step leaves the iterator at the end with the error set.
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        const QString name = QFile::decodeName(it->path().filename().c_str());
        if (name.startsWith(QLatin1Char('.')) || !name.endsWith(extension))
            continue;
        otherCase = otherCase || hasLowerCaseLetter(name.chopped(extension.size()));
        files.append(RecordFile{name, path + QLatin1Char('/') + name});
    }
    if (error)
        throw FileSystemError(FileSystemError::Operation::list, path, error.value());
    if (!otherCase)
        return files;

    QSet<QString> names;
    for (const RecordFile& file : std::as_const(files))
        names.insert(file.name);
    files.removeIf([&names](const RecordFile& file) {
        const QStringList better = betterNames(file.name);
        return std::any_of(better.begin(), better.end(), [&names](const QString& name) { return names.contains(name); });
    });
    return files;
}

} // namespace quillor
