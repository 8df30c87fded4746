#include "platform/PathWatcher.h"

#include "../model/EventLoop.h"

#include <QAbstractEventDispatcher>
#include <QDir>
#include <QFile>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>

namespace quillor {
namespace {

using namespace test;
using namespace std::chrono_literals;

// "Haut" holds the folders "Milieu" and "Autre" and the file "note.md"; the
// case watches `watched` (under the temporary folder) for `names`.
struct Folders {
    QTemporaryDir temporary;
    QDir root{temporary.path()};
    QString haut = root.filePath(QStringLiteral("Haut"));

    Folders()
    {
        root.mkpath(QStringLiteral("Haut/Milieu"));
        root.mkpath(QStringLiteral("Haut/Autre"));
        write(QStringLiteral("Haut/note.md"));
    }
    void write(const QString& relative) const
    {
        QFile file(root.filePath(relative));
        file.open(QIODevice::Append);
        file.write("x");
    }
};

TEST(PathWatcherTest, OnlyWhatConcernsTheWatchedNamesOrThePathItselfIsTold)
{
    using Change = std::function<void(Folders&)>;
    const struct {
        const char* name;
        QString watched;
        QStringList names;
        Change change;
        bool told;
        bool stillListed;
    } cases[] = {
        {"another file made beside the next folder", "Haut", {"Milieu"},
         [](Folders& f) { f.write("Haut/autre.md"); }, false, true},
        {"another folder renamed and removed", "Haut", {"Milieu"},
         [](Folders& f) { f.root.rename("Haut/Autre", "Haut/Ailleurs"); f.root.rmdir("Haut/Ailleurs"); }, false, true},
        {"something changed inside the next folder", "Haut", {"Milieu"},
         [](Folders& f) { f.write("Haut/Milieu/note.md"); }, false, true},
        {"the next folder removed", "Haut", {"Milieu"}, [](Folders& f) { f.root.rmdir("Haut/Milieu"); }, true, true},
        {"the next folder renamed away", "Haut", {"Milieu"},
         [](Folders& f) { f.root.rename("Haut/Milieu", "Haut/Ancien"); }, true, true},
        {"another folder renamed to the next name", "Haut", {"Nouveau"},
         [](Folders& f) { f.root.rename("Haut/Autre", "Haut/Nouveau"); }, true, true},
        {"the next name made", "Haut", {"Nouveau"}, [](Folders& f) { f.root.mkdir("Haut/Nouveau"); }, true, true},
        // Its watch follows the folder, which is still there.
        {"the folder itself renamed", "Haut", {"Milieu"}, [](Folders& f) { f.root.rename("Haut", "Bas"); }, true,
         true},
        {"the folder itself removed", "Haut/Autre", {"Milieu"}, [](Folders& f) { f.root.rmdir("Haut/Autre"); },
         true, false},
        {"any file made in a folder watched whole", "Haut", {}, [](Folders& f) { f.write("Haut/autre.md"); }, true,
         true},
        {"a file watched written", "Haut/note.md", {}, [](Folders& f) { f.write("Haut/note.md"); }, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Folders folders;
        PathWatcher watcher;
        int told = 0;
        QObject::connect(&watcher, &PathWatcher::changed, [&] { ++told; });
        const QString path = folders.root.filePath(c.watched);
        ASSERT_TRUE(watcher.watch(path, c.names));
        EXPECT_EQ(watcher.paths(), QStringList{path});

        c.change(folders);
        if (c.told)
            EXPECT_TRUE(waitUntil([&] { return told > 0; })) << "not told";
        else
            spin(300ms);
        EXPECT_EQ(told, c.told ? 1 : 0);
        EXPECT_EQ(watcher.takeChange(), c.told);
        EXPECT_EQ(watcher.paths().contains(path), c.stillListed);
    }
}

// Many changes make one signal until the change is taken; the next one
// after that is told again.
TEST(PathWatcherTest, ABurstIsToldOnceUntilTaken)
{
    Folders folders;
    PathWatcher watcher;
    int told = 0;
    QObject::connect(&watcher, &PathWatcher::changed, [&] { ++told; });
    ASSERT_TRUE(watcher.watch(folders.haut));
    for (int i = 0; i < 100; ++i)
        folders.write(QStringLiteral("Haut/%1.md").arg(i));
    ASSERT_TRUE(waitUntil([&] { return told > 0; }));
    spin(200ms);
    EXPECT_EQ(told, 1);
    EXPECT_TRUE(watcher.takeChange());
    EXPECT_FALSE(watcher.takeChange());
    folders.write(QStringLiteral("Haut/encore.md"));
    EXPECT_TRUE(waitUntil([&] { return told == 2; }));

    // Let go of, a folder tells nothing more.
    watcher.takeChange();
    watcher.release(folders.haut);
    EXPECT_TRUE(watcher.paths().isEmpty());
    folders.write(QStringLiteral("Haut/après.md"));
    spin(200ms);
    EXPECT_EQ(told, 2);
}

// The system's queue of events overflowed while the reading thread was held:
// what was lost may have mattered, though none of what came did.
TEST(PathWatcherTest, LostEventsAreToldAsAChange)
{
    QFile limit(QStringLiteral("/proc/sys/fs/inotify/max_queued_events"));
    ASSERT_TRUE(limit.open(QIODevice::ReadOnly));
    const int queued = limit.readAll().trimmed().toInt();
    if (queued <= 0 || queued > 100'000)
        GTEST_SKIP() << "the system queues " << queued << " events";
    Folders folders;
    PathWatcher watcher;
    int told = 0;
    QObject::connect(&watcher, &PathWatcher::changed, [&] { ++told; });
    ASSERT_TRUE(watcher.watch(folders.haut, {QStringLiteral("Milieu")}));

    auto* reading = watcher.findChild<QThread*>();
    ASSERT_NE(reading, nullptr);
    ASSERT_TRUE(waitUntil([&] { return QAbstractEventDispatcher::instance(reading) != nullptr; }));
    QSemaphore held, released;
    QMetaObject::invokeMethod(QAbstractEventDispatcher::instance(reading), [&] {
        held.release();
        released.acquire();
    });
    held.acquire();
    for (int i = 0; i <= queued / 2; ++i) {
        const QString name = QStringLiteral("Haut/%1.md").arg(i);
        folders.write(name);
        folders.root.remove(name);
    }
    released.release();
    EXPECT_TRUE(waitUntil([&] { return told > 0; })) << "the overflow was not told";
    EXPECT_TRUE(watcher.paths().contains(folders.haut));
}

} // namespace
} // namespace quillor
