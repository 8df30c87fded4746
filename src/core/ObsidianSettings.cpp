#include "core/ObsidianSettings.h"

#include "core/FileSystem.h"

#include <QFile>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QMutexLocker>

#include <sys/stat.h>

namespace quillor {
namespace ObsidianSettings {

namespace {

// Enough for every vault a user's destinations lie in.
constexpr qsizetype maximumRemembered = 64;

// What tells one version of a file from another without reading it.
struct Stamp {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNanoseconds = 0;
    qint64 changedNanoseconds = 0;

    bool operator==(const Stamp&) const = default;
};

qint64 nanoseconds(const timespec& time)
{
    return qint64(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

struct Remembered {
    Stamp stamp;
    std::optional<QJsonValue> value;
};

QMutex rememberedLock;
QHash<QString, Remembered> remembered;

std::optional<Stamp> stampOf(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return Stamp{quint64(info.st_dev), quint64(info.st_ino), qint64(info.st_size), nanoseconds(info.st_mtim),
                 nanoseconds(info.st_ctim)};
}

std::optional<QJsonValue> readSetting(const QString& path)
{
    std::optional<QByteArray> bytes;
    try {
        bytes = FileSystem::readIfExists(path, maximumFileBytes);
    } catch (const FileSystemError&) {
        return std::nullopt;
    }
    if (!bytes)
        return QJsonValue(QString());
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(*bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject settings = document.object();
    const auto value = settings.constFind(QStringLiteral("attachmentFolderPath"));
    if (value == settings.constEnd())
        return QJsonValue(QString());
    return *value;
}

} // namespace

std::optional<QJsonValue> attachmentFolderPath(const QString& vaultRoot)
{
    const QString path = vaultRoot + QStringLiteral("/.obsidian/app.json");
    // Taken before the read: a change during the read leaves a stamp that no
    // longer matches, so the next call reads the file again.
    const std::optional<Stamp> stamp = stampOf(path);
    // Missing, or failing in a way the read reports: nothing to remember.
    if (!stamp)
        return readSetting(path);
    {
        const QMutexLocker locked(&rememberedLock);
        const auto found = remembered.constFind(path);
        if (found != remembered.constEnd() && found->stamp == *stamp)
            return found->value;
    }
    const std::optional<QJsonValue> value = readSetting(path);
    const QMutexLocker locked(&rememberedLock);
    if (remembered.size() >= maximumRemembered && !remembered.contains(path))
        remembered.clear();
    remembered.insert(path, Remembered{*stamp, value});
    return value;
}

} // namespace ObsidianSettings
} // namespace quillor
