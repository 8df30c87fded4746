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
    for (const auto& [chosen, resolved] : {std::pair{"Link/Vault", "Link/Vault"}, {"Real/./Vault/", "Real/Vault"}})
        EXPECT_EQ(FolderBookmark::resolve(FolderBookmark::create(root.filePath(chosen))),
                  (Resolution{root.filePath(resolved), false})) << chosen;
    // One folder, one set of bytes: destinations sharing it share its access.
    EXPECT_EQ(FolderBookmark::create(root.filePath("Real/Vault")),
              FolderBookmark::create(root.filePath("Real/Vault/")));

    for (const auto& [name, expectedErrno] : {std::pair{"missing", ENOENT}, {"note.md/inside", ENOTDIR}}) {
        try {
            FolderBookmark::create(root.filePath(name));
            ADD_FAILURE() << "no error for " << name;
        } catch (const FileSystemError& error) {
            EXPECT_EQ(std::pair(error.errnoValue(), error.path()), std::pair(expectedErrno, root.filePath(name)));
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
        good.left(good.size() - 1),
        withIdentity(R"("v":2,)", R"("1")"),
        withIdentity(R"("v":1,)", "1"),
        withIdentity(R"("v":1,)", R"("99999999999999999999999")"),
        R"({"v":1,"path":"relative","dev":"1","ino":"2"})",
    };
    for (const QByteArray& bytes : garbage)
        EXPECT_EQ(FolderBookmark::resolve(bytes), std::nullopt) << bytes.toStdString();
}

} // namespace
} // namespace quillor
