#include "model/VaultAccess.h"

#include "../core/TestSupport.h"

#include "platform/FolderBookmark.h"

#include <cerrno>

namespace quillor {
namespace {

Destination destination(const QString& vaultPath, std::optional<QByteArray> bookmark)
{
    Destination d(QUuid::createUuid(), "Notes", "n", vaultPath, DeliveryMode::newNote, "Inbox", "Attachments");
    d.vaultBookmark = std::move(bookmark);
    return d;
}

// The refusal restore() throws, or nothing.
std::optional<PlatformError> refusal(VaultAccess& access, Destination& d)
{
    return test::thrown<PlatformError>([&] { access.restore(d); });
}

class VaultAccessTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(root.mkdir("Vault")); }

    QTemporaryDir temporary;
    QDir root{temporary.path()};
    const QString vault = root.filePath("Vault");
};

TEST_F(VaultAccessTest, RestoresWithAndWithoutAuthorizationRequired)
{
    const QByteArray bookmark = FolderBookmark::create(vault);
    ASSERT_TRUE(root.mkdir("Gone"));
    const QByteArray goneBookmark = FolderBookmark::create(root.filePath("Gone"));
    ASSERT_TRUE(root.rmdir("Gone"));
    const struct {
        const char* name;
        Destination given;
        bool refusedWhenRequired, refusedOtherwise, opensScope;
    } cases[] = {
        {"no folder, bookmark leading nowhere", destination("", QByteArray("garbage")), false, false, false},
        {"folder without bookmark", destination(vault, std::nullopt), true, false, false},
        {"intact bookmark", destination(vault, bookmark), false, false, true},
        {"unreadable bookmark", destination(vault, QByteArray("garbage")), true, true, false},
        {"folder gone", destination(root.filePath("Gone"), goneBookmark), true, true, false},
    };
    const PlatformError expected = VaultAccess::accessError();
    for (const auto& c : cases) {
        for (const bool required : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (required ? ", required" : ", not required"));
            VaultAccess access(required);
            Destination d = c.given;
            EXPECT_EQ(refusal(access, d), (required ? c.refusedWhenRequired : c.refusedOtherwise)
                                              ? std::optional(expected)
                                              : std::nullopt);
            EXPECT_EQ(d, c.given);
            EXPECT_EQ(access.scopes().size(), c.opensScope ? 1 : 0);
        }
    }
}

TEST_F(VaultAccessTest, StaleBookmarkIsRefreshedAndTheDestinationChanged)
{
    for (const bool renamed : {true, false}) {
        SCOPED_TRACE(renamed ? "renamed" : "replaced");
        QDir parent(root.filePath(renamed ? "renamed" : "replaced"));
        ASSERT_TRUE(parent.mkpath("Vault"));
        const QByteArray old = FolderBookmark::create(parent.filePath("Vault"));
        ASSERT_TRUE(parent.rename("Vault", renamed ? "Renamed" : "Aside"));
        if (!renamed) {
            ASSERT_TRUE(parent.mkdir("Vault"));
        }
        const QString now = parent.filePath(renamed ? "Renamed" : "Vault");

        VaultAccess access(true);
        Destination d = destination(parent.filePath("Vault"), old);
        EXPECT_TRUE(access.restore(d));
        EXPECT_EQ(d.vaultPath, now);
        EXPECT_EQ(FolderBookmark::resolve(d.vaultBookmark.value()), (FolderBookmark::Resolution{now, false}));
        EXPECT_EQ(access.scopes(), (QMap<QByteArray, QString>{{old, now}}));

        // Settled: restoring it again changes nothing, so nothing is rewritten.
        Destination again = d;
        EXPECT_FALSE(access.restore(again));
        EXPECT_EQ(again, d);
    }
}

TEST_F(VaultAccessTest, SharedBookmarkIsServedFromTheOpenScope)
{
    const QByteArray bookmark = FolderBookmark::create(vault);
    VaultAccess access(true);
    Destination first = destination(vault, bookmark);
    EXPECT_FALSE(access.restore(first));

    // Not resolved again: even a folder gone since is given by its open scope.
    ASSERT_TRUE(root.rmdir("Vault"));
    Destination second = destination("/an/old/path", bookmark);
    EXPECT_TRUE(access.restore(second));
    EXPECT_EQ(second.vaultPath, vault);
    EXPECT_EQ(second.vaultBookmark, bookmark);
    EXPECT_EQ(access.scopes().size(), 1);
}

TEST_F(VaultAccessTest, BindsAChosenFolder)
{
    VaultAccess access(true);
    const Destination blank = destination("", std::nullopt);
    const Destination bound = access.bound(blank, vault + "/");
    EXPECT_EQ(bound.vaultPath, vault);
    EXPECT_EQ(FolderBookmark::resolve(bound.vaultBookmark.value()), (FolderBookmark::Resolution{vault, false}));
    EXPECT_EQ(test::errnoOf([&] { access.bound(blank, root.filePath("missing")); }), ENOENT);
}

} // namespace
} // namespace quillor
