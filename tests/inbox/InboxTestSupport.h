#pragma once

// An inbox on real files in a temporary folder, the ids the tests share, and
// the means to tell that nothing on disk changed.

#include "../core/TestSupport.h"
#include "core/Json.h"
#include "inbox/CaptureInbox.h"
#include "inbox/InboxError.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMap>

#include <filesystem>
#include <sys/stat.h>

namespace quillor::test {

inline const QUuid A = QUuid::fromString(QStringLiteral("11111111-1111-4111-8111-111111111111"));
inline const QUuid B = QUuid::fromString(QStringLiteral("22222222-2222-4222-8222-222222222222"));
inline const QUuid P = QUuid::fromString(QStringLiteral("AAAAAAAA-AAAA-4AAA-8AAA-AAAAAAAAAAAA"));
inline const QUuid Q = QUuid::fromString(QStringLiteral("BBBBBBBB-BBBB-4BBB-8BBB-BBBBBBBBBBBB"));
inline const QUuid V1 = QUuid::fromString(QStringLiteral("CCCCCCCC-CCCC-4CCC-8CCC-CCCCCCCCCCCC"));
inline const QUuid V2 = QUuid::fromString(QStringLiteral("DDDDDDDD-DDDD-4DDD-8DDD-DDDDDDDDDDDD"));

// A capture with no attachments and no optional field.
inline Capture plainCapture(const QUuid& id, const QString& body, double createdAt)
{
    Capture capture;
    capture.id = id;
    capture.createdAt = ReferenceDate{createdAt};
    capture.body = body;
    return capture;
}

inline QString fileName(const QUuid& id) { return Json::uuidText(id) + QStringLiteral(".json"); }
inline QString lowerCaseFileName(const QUuid& id) { return id.toString(QUuid::WithoutBraces) + QStringLiteral(".json"); }

template <typename F>
bool throwsInboxError(F&& action)
{
    return thrown<InboxError>(action).has_value();
}

class InboxTest : public ::testing::Test {
protected:
    QString root() const { return temporary.filePath(QStringLiteral("IN")); }
    QString path(const QString& relative) const { return root() + QLatin1Char('/') + relative; }
    QString record(const QString& folder, const QUuid& id) const { return folder + QLatin1Char('/') + fileName(id); }
    bool exists(const QString& relative) const { return QFileInfo::exists(path(relative)); }
    void write(const QString& relative, const QByteArray& bytes) const { put(path(relative), bytes); }
    void write(const QString& relative, const QJsonObject& object) const
    {
        write(relative, QJsonDocument(object).toJson(QJsonDocument::Compact));
    }
    QByteArray bytes(const QString& relative) const { return contents(path(relative)).value_or("<missing>"); }
    QJsonObject json(const QString& relative) const { return QJsonDocument::fromJson(bytes(relative)).object(); }
    void makeFifo(const QString& relative) const
    {
        QDir().mkpath(QFileInfo(path(relative)).path());
        ASSERT_EQ(::mkfifo(QFile::encodeName(path(relative)).constData(), 0644), 0);
    }

    // Every entry under the inbox with what it holds (a file's SHA-256), so a
    // test can tell that an operation changed nothing on disk.
    QMap<QString, QByteArray> tree() const
    {
        namespace fs = std::filesystem;
        QMap<QString, QByteArray> entries;
        if (!fs::exists(QFile::encodeName(root()).toStdString()))
            return entries;
        for (const auto& entry : fs::recursive_directory_iterator(QFile::encodeName(root()).toStdString())) {
            const QString name = QFile::decodeName(entry.path().c_str()).mid(root().size() + 1);
            if (entry.is_regular_file())
                entries[name] = QCryptographicHash::hash(bytes(name), QCryptographicHash::Sha256);
            else
                entries[name] = entry.is_directory() ? "folder" : "other";
        }
        return entries;
    }

    QTemporaryDir temporary;
    ReferenceDate now = ReferenceDate::fromUnixSeconds(1738310709.75);   // 2025-01-31T08:05:09.75Z
    CaptureInbox inbox{root(), [this] { return now; }};
};

} // namespace quillor::test
