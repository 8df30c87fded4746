#include "platform/FolderBookmark.h"

#include "core/FileSystemError.h"
#include "core/Json.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace quillor::FolderBookmark {
namespace {

constexpr qint64 formatVersion = 1;

struct Identity {
    quint64 device = 0;
    quint64 inode = 0;
    bool operator==(const Identity&) const = default;
};

struct Contents {
    QString path;
    Identity identity;
};

// stat(2), following a final symbolic link: a vault reached through a link is
// identified by the folder it leads to. 0 or the errno.
int inspect(const QString& path, struct stat& info)
{
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? 0 : errno;
}

std::optional<Identity> folderIdentity(const QString& path)
{
    struct stat info {};
    if (inspect(path, info) != 0 || !S_ISDIR(info.st_mode))
        return std::nullopt;
    return Identity{quint64(info.st_dev), quint64(info.st_ino)};
}

// Device and inode numbers use all 64 bits, more than a JSON number keeps
// exactly, so they are written as decimal text. Compact, since the settings
// file carries the bytes again as Base64.
QByteArray encode(const Contents& contents)
{
    QJsonObject object;
    object.insert(QStringLiteral("v"), formatVersion);
    object.insert(QStringLiteral("path"), contents.path);
    object.insert(QStringLiteral("dev"), QString::number(contents.identity.device));
    object.insert(QStringLiteral("ino"), QString::number(contents.identity.inode));
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<quint64> decimal(const QString& text)
{
    if (text.isEmpty() || text.size() > 20)
        return std::nullopt;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    bool ok = false;
    const quint64 value = text.toULongLong(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

std::optional<Contents> decode(const QByteArray& bytes)
{
    try {
        const Json::Reader reader(Json::parseObject(bytes));
        if (reader.integer(QStringLiteral("v")) != formatVersion)
            return std::nullopt;
        const QString path = reader.string(QStringLiteral("path"));
        const auto device = decimal(reader.string(QStringLiteral("dev")));
        const auto inode = decimal(reader.string(QStringLiteral("ino")));
        if (!path.startsWith(u'/') || !device || !inode)
            return std::nullopt;
        return Contents{path, Identity{*device, *inode}};
    } catch (const JsonDecodingError&) {
        return std::nullopt;
    }
}

// A renamed folder usually stays beside its old name; only the parent is
// searched, which keeps resolution bounded and never wanders over a volume.
std::optional<QString> renamedFolder(const Contents& contents)
{
    const QFileInfo old(contents.path);
    const QDir parent = old.dir();
    if (parent.absolutePath() == contents.path)
        return std::nullopt;
    const QStringList names =
        parent.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::NoSymLinks, QDir::Name);
    for (const QString& name : names) {
        const QString candidate = parent.absoluteFilePath(name);
        if (folderIdentity(candidate) == contents.identity)
            return candidate;
    }
    return std::nullopt;
}

} // namespace

QByteArray create(const QString& path)
{
    // Made absolute textually, so "/a/b/" and "/a/b" give the same bookmark and
    // a symbolic link in the path stays as the user chose it.
    const QString absolute = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    struct stat info {};
    if (const int error = inspect(absolute, info); error != 0)
        throw FileSystemError(FileSystemError::Operation::inspect, absolute, error);
    if (!S_ISDIR(info.st_mode))
        throw FileSystemError(FileSystemError::Operation::inspect, absolute, ENOTDIR);
    return encode(Contents{absolute, Identity{quint64(info.st_dev), quint64(info.st_ino)}});
}

std::optional<Resolution> resolve(const QByteArray& bytes)
{
    const auto contents = decode(bytes);
    if (!contents)
        return std::nullopt;
    if (const auto current = folderIdentity(contents->path))
        return Resolution{contents->path, *current != contents->identity};
    if (const auto renamed = renamedFolder(*contents))
        return Resolution{*renamed, true};
    return std::nullopt;
}

bool startAccess(const QString& path)
{
    // Reading and listing is what every user of the folder needs first; a
    // folder that cannot be written is reported by the write that fails, with
    // its own, more precise message.
    return ::access(QFile::encodeName(path).constData(), R_OK | X_OK) == 0;
}

void stopAccess(const QString&)
{
}

} // namespace quillor::FolderBookmark
