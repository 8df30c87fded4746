#include "model/DestinationFolderWatch.h"

#include "EventLoop.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace quillor {
namespace {

using namespace test;
using namespace std::chrono_literals;

// A vault at Haut/Milieu/Vault with its Obsidian settings, its notes going to
// Inbox, watched as the model does: each look due surveys the folders and
// hands the survey back.
struct Watching {
    QTemporaryDir temporary;
    QDir root{temporary.path()};
    QString vault = root.filePath(QStringLiteral("Haut/Milieu/Vault"));
    DestinationFolderWatch watch;
    int looks = 0;

    Watching()
    {
        root.mkpath(QStringLiteral("Haut/Milieu/Vault/.obsidian"));
        root.mkpath(QStringLiteral("Haut/Milieu/Vault/Inbox"));
        write(QStringLiteral("Haut/Milieu/Vault/.obsidian/app.json"));
        QObject::connect(&watch, &DestinationFolderWatch::lookDue, [this] {
            ++looks;
            watch.take(DestinationFolderWatch::survey(watch.wanted()));
        });
    }
    void write(const QString& relative) const
    {
        QFile file(root.filePath(relative));
        file.open(QIODevice::Append);
        file.write("{}");
    }
    // Follows the vault and waits until its folders are watched and the look
    // that follows new watches is over.
    bool start()
    {
        if (!watch.follow(vault, vault + QStringLiteral("/Inbox")))
            return false;
        watch.take(DestinationFolderWatch::survey(watch.wanted()));
        const bool settled = waitUntil([&] { return looks > 0 && !watch.lookScheduled(); }, 30s);
        looks = 0;
        return settled && watch.watched().contains(vault);
    }
};

TEST(DestinationFolderWatchTest, AboveTheVaultOnlyItsRoadAndObsidianFoldersMakeALook)
{
    const struct {
        const char* name;
        std::function<void(Watching&)> change;
        bool looks;
    } cases[] = {
        {"files made and removed beside the road",
         [](Watching& w) {
             for (int i = 0; i < 50; ++i) {
                 w.write(QStringLiteral("Haut/%1.md").arg(i));
                 w.root.remove(QStringLiteral("Haut/%1.md").arg(i));
             }
         },
         false},
        {"a folder made and renamed beside the road",
         [](Watching& w) { w.root.mkdir("Haut/Autre"); w.root.rename("Haut/Autre", "Haut/Ailleurs"); }, false},
        {"a file made above the road", [](Watching& w) { w.write(QStringLiteral("racine.md")); }, false},
        {"the next folder on the road renamed", [](Watching& w) { w.root.rename("Haut/Milieu", "Haut/Ancien"); },
         true},
        {"an Obsidian folder made above the vault", [](Watching& w) { w.root.mkdir("Haut/.obsidian"); }, true},
        {"a note written in the vault", [](Watching& w) { w.write(QStringLiteral("Haut/Milieu/Vault/n.md")); }, true},
        {"the vault's Obsidian settings rewritten",
         [](Watching& w) { w.write(QStringLiteral("Haut/Milieu/Vault/.obsidian/app.json")); }, true},
        {"a note written in the notes folder",
         [](Watching& w) { w.write(QStringLiteral("Haut/Milieu/Vault/Inbox/n.md")); }, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Watching w;
        ASSERT_TRUE(w.start());
        c.change(w);
        if (c.looks)
            EXPECT_TRUE(waitUntil([&] { return w.looks > 0; }, 30s)) << "no look";
        else
            spin(500ms);
        EXPECT_EQ(w.looks > 0, c.looks);
    }
}

// A watch follows the folder, not its path: the folders renamed away and
// made again at once are other folders, watched again, so that the new
// vault's removal is seen.
TEST(DestinationFolderWatchTest, APathThatNowNamesAnotherFolderIsWatchedAgain)
{
    for (const char* renamed : {"Haut", "Haut/Milieu", "Haut/Milieu/Vault"}) {
        SCOPED_TRACE(renamed);
        Watching w;
        ASSERT_TRUE(w.start());
        ASSERT_TRUE(w.root.rename(renamed, renamed + QStringLiteral(" (ancien)")));
        ASSERT_TRUE(w.root.mkpath(QStringLiteral("Haut/Milieu/Vault")));
        ASSERT_TRUE(waitUntil([&] { return w.looks > 0; }, 30s)) << "the rename was not seen";
        ASSERT_TRUE(waitUntil([&] { return !w.watch.lookScheduled(); }, 30s));
        w.looks = 0;

        ASSERT_TRUE(w.root.rmdir(QStringLiteral("Haut/Milieu/Vault")));
        EXPECT_TRUE(waitUntil([&] { return w.looks > 0; }, 30s)) << "the new vault's removal was not seen";
        EXPECT_FALSE(w.watch.watched().contains(w.vault));
    }
}

} // namespace
} // namespace quillor
