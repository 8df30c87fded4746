#include "platform/FolderBookmark.h"

#include "core/FileSystemError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <optional>

namespace quillor {
namespace {

using Resolution = FolderBookmark::Resolution;

TEST(FolderBookmarkTest, ResolvesAfterFolderChanges)
{
    // What happens to "Vault" between the bookmark and its resolution, and what
    // resolving gives: a path relative to the temporary folder, "(stale)", or
    // nothing.
    const struct { const char* name; std::function<void(QDir&)> change; const char* expected; } cases[] = {
        {"untouched", [](QDir&) {}, "Vault"},
        {"renamed", [](QDir& root) { root.rename("Vault", "Notes"); }, "Notes (stale)"},
        {"renamed hidden", [](QDir& root) { root.rename("Vault", ".Vault"); }, ".Vault (stale)"},
        // The original is kept aside so the new folder cannot reuse its inode;
        // the path wins over the identity.
        {"replaced", [](QDir& root) { root.rename("Vault", "Old"); root.mkdir("Vault"); }, "Vault (stale)"},
        {"deleted", [](QDir& root) { root.rmdir("Vault"); }, ""},
        {"replaced by a file",
         [](QDir& root) { root.rmdir("Vault"); QFile(root.filePath("Vault")).open(QIODevice::WriteOnly); }, ""},
        {"moved elsewhere", [](QDir& root) { root.mkdir("Other"); root.rename("Vault", "Other/Vault"); }, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir temporary;
        QDir root(temporary.path());
        ASSERT_TRUE(root.mkdir("Vault"));
        const QByteArray bookmark = FolderBookmark::create(root.filePath("Vault"));
        c.change(root);

        const auto resolution = FolderBookmark::resolve(bookmark);
        const QString got = !resolution ? QString()
                                        : root.relativeFilePath(resolution->path)
                                              + (resolution->isStale ? " (stale)" : "");
        EXPECT_EQ(got.toStdString(), c.expected);
    }
}

TEST(FolderBookmarkTest, KeepsThePathAsChosenAndRefusesWhatIsNotAFolder)
{
    QTemporaryDir temporary;
    QDir root(temporary.path());
    ASSERT_TRUE(root.mkpath("Real/Vault"));
    ASSERT_TRUE(QFile::link(root.filePath("Real"), root.filePath("Link")));
    QFile(root.filePath("note.md")).open(QIODevice::WriteOnly);

    // A symbolic link in the path is not resolved: the stored folder path would
    // otherwise change, and the settings be rewritten, at every start-up.
    const struct { const char* chosen; const char* resolved; } cases[] = {
        {"Link/Vault", "Link/Vault"}, {"Real/Vault/", "Real/Vault"}, {"Real/./Vault", "Real/Vault"}};
    for (const auto& c : cases) {
        EXPECT_EQ(FolderBookmark::resolve(FolderBookmark::create(root.filePath(c.chosen))),
                  (Resolution{root.filePath(c.resolved), false})) << c.chosen;
    }
    // One folder, one set of bytes: destinations sharing it share its access.
    EXPECT_EQ(FolderBookmark::create(root.filePath("Real/Vault")),
              FolderBookmark::create(root.filePath("Real/Vault/")));

    const struct { const char* name; int expectedErrno; } refused[] = {
        {"missing", ENOENT}, {"note.md", ENOTDIR}, {"note.md/inside", ENOTDIR}};
    for (const auto& c : refused) {
        SCOPED_TRACE(c.name);
        try {
            FolderBookmark::create(root.filePath(c.name));
            ADD_FAILURE() << "no error";
        } catch (const FileSystemError& error) {
            EXPECT_EQ(error.errnoValue(), c.expectedErrno);
            EXPECT_EQ(error.path(), root.filePath(c.name));
        }
    }
}

TEST(FolderBookmarkTest, GarbageBytesDoNotResolve)
{
    QTemporaryDir temporary;
    const QByteArray good = FolderBookmark::create(temporary.path());
    const QByteArray path = QFile::encodeName(temporary.path());
    const auto withIdentity = [&](const QByteArray& version, const QByteArray& dev) {
        return "{" + version + R"("path":")" + path + R"(","dev":)" + dev + R"(,"ino":"2"})";
    };
    const QByteArray garbage[] = {
        "",
        QByteArray("book\0\x02\0\0", 8),   // what another platform's settings file may hold
        "[1]",
        good.left(good.size() - 1),
        withIdentity(R"("v":2,)", R"("1")"),
        withIdentity("", R"("1")"),
        withIdentity(R"("v":1,)", "1"),
        withIdentity(R"("v":1,)", R"("-1")"),
        withIdentity(R"("v":1,)", R"("99999999999999999999999")"),
        R"({"v":1,"path":"relative","dev":"1","ino":"2"})",
    };
    for (const QByteArray& bytes : garbage) {
        SCOPED_TRACE(bytes.toStdString());
        EXPECT_EQ(FolderBookmark::resolve(bytes), std::nullopt);
    }
}

} // namespace
} // namespace quillor
