#pragma once

// What the AppModel tests share: a data directory in a temporary folder, a
// clock the test sets, and builders for the files start-up reads.

#include "EventLoop.h"

#include "core/Capture.h"
#include "core/Destination.h"
#include "core/Error.h"
#include "core/FileSystem.h"
#include "core/Json.h"
#include "model/AppModel.h"
#include "model/Preferences.h"
#include "model/VaultAccess.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMap>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace quillor {

// Failures show states by their labels.
inline void PrintTo(const IndexState& state, std::ostream* out) { *out << state.label().toStdString(); }
inline void PrintTo(const DraftState& state, std::ostream* out) { *out << state.label().toStdString(); }

} // namespace quillor

namespace quillor::test {

// 2025-01-31 08:05:09 UTC.
inline QDateTime startOfTest()
{
    return QDateTime(QDate(2025, 1, 31), QTime(8, 5, 9), QTimeZone::utc());
}

// A clock the test moves by hand; shared so the model's copy sees each move.
struct ManualClock {
    std::shared_ptr<QDateTime> current = std::make_shared<QDateTime>(startOfTest());

    void set(const QDateTime& moment) const { *current = moment; }
    void advance(int seconds) const { *current = current->addSecs(seconds); }
    ReferenceDate date() const { return ReferenceDate::fromDateTime(*current); }
};

// An environment with the clock above and the zone "UTC"; the real scanner.
inline AppModel::Environment environmentWith(const ManualClock& clock)
{
    AppModel::Environment environment;
    environment.now = [current = clock.current] { return *current; };
    environment.timeZoneIdentifier = [] { return QStringLiteral("UTC"); };
    return environment;
}

// A data directory (and room for vaults) in a temporary folder.
class DataFolder {
public:
    DataFolder() { QDir().mkpath(path()); }

    QString path() const { return m_root.path() + QStringLiteral("/Data"); }
    QString file(const QString& name) const { return path() + u'/' + name; }
    // A folder beside the data directory, created.
    QString folder(const QString& name) const
    {
        const QString result = m_root.path() + u'/' + name;
        QDir().mkpath(result);
        return result;
    }

    void put(const QString& name, const QByteArray& bytes) const { write(file(name), bytes); }
    std::optional<QByteArray> contents(const QString& name) const { return read(file(name)); }

    QMap<QString, QByteArray> snapshot() const { return filesUnder(path()); }
    // Every file under a folder by relative path, with its bytes.
    static QMap<QString, QByteArray> filesUnder(const QString& folder)
    {
        QMap<QString, QByteArray> files;
        QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString name = it.next();
            files.insert(QDir(folder).relativeFilePath(name), read(name).value_or(QByteArray()));
        }
        return files;
    }

    QStringList recovered() const { return QDir(file(QStringLiteral("Recovered"))).entryList(QDir::Files); }

    static void write(const QString& path, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly)) << path.toStdString();
        out.write(bytes);
    }
    static std::optional<QByteArray> read(const QString& path)
    {
        QFile in(path);
        if (!in.open(QIODevice::ReadOnly))
            return std::nullopt;
        return in.readAll();
    }

private:
    QTemporaryDir m_root;
};

// A small image of one colour, encoded as `format`.
inline QByteArray imageBytes(QRgb colour, const char* format = "PNG")
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

inline Destination makeDestination(const QString& name, const QString& alias, const QString& vaultPath = {})
{
    return Destination(QUuid::createUuid(), name, alias, vaultPath, DeliveryMode::newNote, QStringLiteral("Inbox"),
                       QStringLiteral("Attachments"));
}

inline Preferences preferencesWith(const QList<Destination>& destinations,
                                   std::optional<QUuid> defaultID = std::nullopt)
{
    Preferences preferences;
    preferences.destinations = destinations;
    preferences.defaultDestinationID = defaultID;
    preferences.ensureDefaultDestination();
    return preferences;
}

// A stored draft; `isExplicit` absent is how drafts were written before they
// remembered their destination.
inline Capture storedDraft(const QString& body, std::optional<QUuid> destinationID = std::nullopt,
                           std::optional<bool> isExplicit = true)
{
    Capture draft(QUuid::createUuid(), ReferenceDate{700000000}, body, {}, destinationID);
    draft.usesExplicitDestination = isExplicit;
    return draft;
}

inline QByteArray bytesOf(const Capture& capture) { return Json::serialize(capture.toJson()); }

inline Capture decodedDraft(const QByteArray& bytes) { return Capture::fromJson(Json::parseObject(bytes)); }

// Holds the draft writer's thread at the file until the test lets it go, and
// notes the body of each draft that reaches the file, in order; while told to
// fail, a write that reaches the file throws instead.
class HeldFile {
public:
    AppModelEnvironment::DraftFileWriter writer()
    {
        return [this](const QString& path, const QList<QByteArrayView>& parts) {
            std::unique_lock lock(m_mutex);
            ++m_arrived;
            m_changed.notify_all();
            m_changed.wait(lock, [&] { return m_open; });
            if (m_failing)
                throw PlatformError(QStringLiteral("Test"), 28, QStringLiteral("Disque plein"));
            QByteArray bytes;
            for (const QByteArrayView part : parts)
                bytes += part;
            m_bodies.append(decodedDraft(bytes).body);
            lock.unlock();
            FileSystem::writeAtomically(path, bytes);
        };
    }
    void setOpen(bool open)
    {
        const std::lock_guard lock(m_mutex);
        m_open = open;
        m_changed.notify_all();
    }
    void setFailing(bool failing)
    {
        const std::lock_guard lock(m_mutex);
        m_failing = failing;
    }
    int arrived() const
    {
        const std::lock_guard lock(m_mutex);
        return m_arrived;
    }
    QStringList bodies() const
    {
        const std::lock_guard lock(m_mutex);
        return m_bodies;
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_open = false;
    bool m_failing = false;
    int m_arrived = 0;
    QStringList m_bodies;
};

// A model on a data directory in a temporary folder, with the test's clock.
struct Session {
    DataFolder data;
    ManualClock clock;
    VaultAccess access;
    std::unique_ptr<AppModel> model;

    explicit Session(bool requiresAuthorization = false) : access(requiresAuthorization) {}
    AppModel& launch(AppModel::Environment environment = {})
    {
        model.reset();
        if (!environment.now)
            environment = environmentWith(clock);
        model = std::make_unique<AppModel>(data.path(), access, environment);
        return *model;
    }
    void type(const QString& text) const { model->updateContent(EditorContent::plain(text)); }
    Capture draft() const
    {
        model->persistDraft();
        return decodedDraft(data.contents(QStringLiteral("draft.json")).value_or(QByteArray()));
    }
    // draft.json as it is on disk, without saving first.
    Capture onDisk() const { return decodedDraft(data.contents(QStringLiteral("draft.json")).value_or(QByteArray())); }
    // draft.json once a save that does not wait has reached it: the first
    // state of the file for which `reached` holds, or the last one seen.
    Capture onDiskOnce(const std::function<bool(const Capture&)>& reached) const
    {
        Capture seen;
        waitUntil([&] {
            const std::optional<QByteArray> bytes = data.contents(QStringLiteral("draft.json"));
            seen = bytes ? decodedDraft(*bytes) : Capture();
            return bytes && reached(seen);
        });
        return seen;
    }
    // Recovered holds exactly a copy of `kept` named after its id, or nothing.
    void expectRecovered(const std::optional<Capture>& kept) const
    {
        const QStringList copies = data.recovered();
        ASSERT_EQ(copies.size(), kept ? 1 : 0);
        if (kept) {
            EXPECT_TRUE(copies.first().startsWith(Json::uuidText(kept->id) + u'-')) << copies.first().toStdString();
            EXPECT_EQ(decodedDraft(*data.contents(QStringLiteral("Recovered/") + copies.first())), *kept);
        }
    }
    Preferences written() const
    {
        return Preferences::decode(data.contents(QStringLiteral("preferences.json")).value_or("{}"));
    }
    void waitForDelivery() const { ASSERT_TRUE(waitUntil([&] { return !model->saving(); })); }
    // Writes the settings (and a stored draft when given), then launches.
    AppModel& launchWith(const Preferences& preferences, const std::optional<Capture>& stored = std::nullopt,
                         AppModel::Environment environment = {})
    {
        data.put(QStringLiteral("preferences.json"), preferences.encode());
        if (stored)
            data.put(QStringLiteral("draft.json"), bytesOf(*stored));
        return launch(std::move(environment));
    }
};

// The message of the Error `action` throws, or nothing.
template <typename F>
std::optional<QString> errorMessageOf(F&& action)
{
    try {
        action();
    } catch (const Error& error) {
        return error.localizedDescription();
    }
    return std::nullopt;
}

} // namespace quillor::test
