#include "core/FileSystem.h"

#include "TestSupport.h"
#include "core/SafePath.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

using namespace quillor;

using test::errnoOf;

namespace {

class FileSystemTest : public ::testing::Test {
protected:
    QString at(const QString& relative) const { return dir.path() + '/' + relative; }
    QStringList entries() const
    {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }
    QTemporaryDir dir;
};

void chmod(const QString& path, mode_t mode) { ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0); }

} // namespace

TEST_F(FileSystemTest, ReadTellsMissingApartFromOtherFailures)
{
    test::put(at("file.md"), QByteArray("a\0b\xff", 4));
    test::put(at("empty.md"), {});
    QDir().mkpath(at("folder"));
    EXPECT_EQ(FileSystem::readIfExists(at("file.md")), QByteArray("a\0b\xff", 4));
    EXPECT_EQ(FileSystem::readIfExists(at("empty.md")), QByteArray(""));
    EXPECT_EQ(FileSystem::readIfExists(at("missing/deeper.md")), std::nullopt);
    EXPECT_EQ(errnoOf([&] { FileSystem::read(at("missing.md")); }), ENOENT);
    EXPECT_EQ(errnoOf([&] { FileSystem::readIfExists(at("folder")); }), EISDIR);
    EXPECT_EQ(errnoOf([&] { FileSystem::readIfExists(at("file.md/x")); }), ENOTDIR);
    chmod(at("file.md"), 0);
    EXPECT_EQ(errnoOf([&] { FileSystem::readIfExists(at("file.md")); }), ::geteuid() == 0 ? 0 : EACCES);
}

TEST_F(FileSystemTest, NewNamesNeverReplaceAnything)
{
    test::put(at("source.md"), "source");
    test::put(at("target.md"), "target");
    QFile::link("nowhere.md", at("dangling.md"));
    EXPECT_EQ(errnoOf([&] { FileSystem::writeExclusive(at("target.md"), "x"); }), EEXIST);
    EXPECT_EQ(errnoOf([&] { FileSystem::writeExclusive(at("dangling.md"), "x"); }), EEXIST);
    EXPECT_EQ(entries(), (QStringList{"dangling.md", "source.md", "target.md"}));

    // A hard link, not a symbolic one: the data stays once the source name goes.
    FileSystem::hardLink(at("source.md"), at("linked.md"));
    FileSystem::removeFile(at("source.md"));
    EXPECT_FALSE(FileSystem::isSymbolicLink(at("linked.md")));
    EXPECT_EQ(FileSystem::read(at("linked.md")), "source");
    FileSystem::removeFile(at("linked.md"));
    EXPECT_NO_THROW(FileSystem::removeFile(at("linked.md")));
}

TEST_F(FileSystemTest, WriteAtomicallyReplacesKeepingModeAndLinks)
{
    const QString path = at("prefs.json");
    FileSystem::writeAtomically(path, "one");
    chmod(path, 0640);
    QFile::link("prefs.json", at("link.json"));
    FileSystem::writeAtomically(at("link.json"), "through the link");
    EXPECT_EQ(FileSystem::read(path), "through the link");
    EXPECT_TRUE(FileSystem::isSymbolicLink(at("link.json")));
    struct stat info {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0, 0640u);
    QDir().mkpath(at("folder"));
    EXPECT_EQ(errnoOf([&] { FileSystem::writeAtomically(at("missing/x.json"), "x"); }), ENOENT);
    EXPECT_EQ(errnoOf([&] { FileSystem::writeAtomically(at("folder"), "x"); }), EISDIR);
    EXPECT_EQ(entries(), (QStringList{"folder", "link.json", "prefs.json"}));
    // A file the user made read-only is not replaced behind their back.
    chmod(path, 0444);
    EXPECT_EQ(errnoOf([&] { FileSystem::writeAtomically(path, "three"); }), ::geteuid() == 0 ? 0 : EACCES);
}

TEST_F(FileSystemTest, CreateDirectoriesNamesTheFileInTheWay)
{
    FileSystem::createDirectories(at("a/b/c/"));
    FileSystem::createDirectories(at("a/b/c"));
    EXPECT_TRUE(FileSystem::isDirectory(at("a/b/c")));
    test::put(at("a/file"), "x");
    const auto error = test::thrown<FileSystemError>([&] { FileSystem::createDirectories(at("a/file/d/e")); });
    EXPECT_EQ(error.value_or(FileSystemError({}, {}, 0)).path(), at("a/file"));
}

TEST_F(FileSystemTest, HoldsExactlyComparesTheWholeFile)
{
    // Larger than one piece of the comparison, so a difference at the very end must be found.
    QByteArray large(200 * 1024 + 7, 'x');
    test::put(at("large.md"), large);
    test::put(at("empty.md"), {});
    QDir().mkpath(at("folder"));
    QByteArray lastDiffers = large;
    lastDiffers.back() = 'y';
    const struct {
        QString file;
        QByteArray bytes;
        std::optional<bool> expected;
    } cases[] = {
        {"large.md", large, true},
        {"large.md", lastDiffers, false},
        {"large.md", large.chopped(1), false},
        {"large.md", large + "x", false},
        {"empty.md", {}, true},
        {"empty.md", "x", false},
        {"missing.md", {}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.toStdString() + " against " + std::to_string(c.bytes.size()) + " bytes");
        EXPECT_EQ(FileSystem::holdsExactly(at(c.file), c.bytes), c.expected);
    }
    EXPECT_EQ(FileSystem::readIfExists(at("large.md")), large);
    EXPECT_EQ(errnoOf([&] { FileSystem::holdsExactly(at("folder"), {}); }), EISDIR);

    // The identity given is the file compared, the one a symbolic link leads to.
    QFile::link("large.md", at("link.md"));
    FileSystem::FileIdentity compared;
    FileSystem::holdsExactly(at("link.md"), large, &compared);
    EXPECT_TRUE(compared.isSameFile(FileSystem::identify(at("large.md")).value()));
    EXPECT_FALSE(compared.isSameFile(FileSystem::identify(at("link.md")).value()));
    FileSystem::hardLink(at("large.md"), at("second.md"));
    EXPECT_EQ(FileSystem::identify(at("second.md")).value(), FileSystem::identify(at("large.md")).value());
    EXPECT_EQ(FileSystem::identify(at("second.md"))->linkCount, 2u);
    EXPECT_EQ(FileSystem::identify(at("missing.md")), std::nullopt);
}

TEST_F(FileSystemTest, DeferredFolderSyncsCollectEachChangedFolderOnce)
{
    FileSystem::FolderSyncs syncs;
    QDir().mkpath(at("a"));
    FileSystem::createDirectories(at("a/b/c"), &syncs);
    FileSystem::createDirectories(at("a/b/c"), &syncs);   // nothing made, nothing to flush
    EXPECT_EQ(syncs.folders(), (QStringList{at("a"), at("a/b")}));

    FileSystem::writeAtomically(at("a/b/c/x.md"), "x", FileSystem::Durability::flushed, &syncs);
    FileSystem::hardLink(at("a/b/c/x.md"), at("a/y.md"), &syncs);
    FileSystem::renameNoReplace(at("a/b/c/x.md"), at("a/b/z.md"), &syncs);
    // In the order of each folder's last change.
    EXPECT_EQ(syncs.folders(), (QStringList{at("a"), at("a/b/c"), at("a/b")}));
    FileSystem::writeAtomically(at("a/b/cached.md"), "x", FileSystem::Durability::cached, &syncs);
    EXPECT_EQ(syncs.folders().size(), 3);

    syncs.syncAll();
    EXPECT_EQ(syncs.folders(), QStringList());
    syncs.add(at("gone"));
    EXPECT_EQ(errnoOf([&] { syncs.syncAll(); }), ENOENT);
}

TEST(FileSystemErrorTest, FrenchMessagesNameThePath)
{
    const QString path = QStringLiteral("/V/Inbox/note.md");
    const std::pair<int, QString> cases[] = {
        {ENOENT, "introuvable"},         {EACCES, "Permission refusée"},   {EPERM, "Permission refusée"},
        {ENOSPC, "Le disque est plein"}, {EDQUOT, "Le disque est plein"},  {EROFS, "lecture seule"},
        {EEXIST, "existe déjà"},         {ENOTDIR, "n’est pas un dossier"}, {EISDIR, "est un dossier"},
        // Causes without a sentence of their own still say what the system said.
        {EBUSY, QString::fromLocal8Bit(strerror(EBUSY))},
    };
    for (const auto& [errnoValue, fragment] : cases) {
        const QString text = FileSystemError(FileSystemError::Operation::write, path, errnoValue).localizedDescription();
        EXPECT_TRUE(text.contains("« " + path + " »") && text.contains(fragment)) << text.toStdString();
    }
}

TEST(SafePathTest, ValidateRefusesWhatCouldLeaveTheVaultOrHideInIt)
{
    const QString refused[] = {"/etc", "~/notes", "~", "a\\b", "../x", "a/../b", "a/..", "./a", "a/./b",
                               "a/.hidden/b", ".obsidian/app.json", ".", QString::fromUtf16(u"a\0b", 3)};
    for (const QString& path : refused) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_EQ(test::thrown<CaptureError>([&] { SafePath::validate(path); }), CaptureError::invalidPath());
    }
    const QString accepted[] = {"", "Inbox", "Inbox/", "a//b", "Notes/2024 Journal.md", "a/~b", "a/b.c/d..e",
                                "Boîte de réception/note.md"};
    for (const QString& path : accepted)
        EXPECT_NO_THROW(SafePath::validate(path)) << path.toStdString();
}

TEST(SafePathTest, ResolveStaysBelowTheRealRootAndRefusesLinksUnderIt)
{
    const QTemporaryDir dir;
    const QString base = FileSystem::resolveExistingPrefix(dir.path());
    const QString root = base + "/vault";
    test::put(root + "/Inbox/n.md", {});
    QDir().mkpath(base + "/outside");
    QFile::link(root, base + "/linked-vault");
    QFile::link(root + "/Inbox", root + "/L");
    QFile::link(root + "/Inbox", root + "/Inbox/L");
    QFile::link(root + "/nowhere", root + "/Dangling");
    QFile::link(base + "/outside", root + "/Out");
    QFile::link(root + "/Inbox/n.md", root + "/Inbox/alias.md");

    // root, relative path, resolved path (nothing: invalidPath)
    const std::tuple<QString, QString, std::optional<QString>> cases[] = {
        {root, "", root},                          {root, "Inbox/", root + "/Inbox"},
        {root, "Inbox//n.md", root + "/Inbox/n.md"}, {root, "x/y/z.md", root + "/x/y/z.md"},
        {root, "Inbox/n.md/below", root + "/Inbox/n.md/below"}, {root + "/Inbox/../", "Inbox", root + "/Inbox"},
        {base + "/linked-vault", "Inbox/n.md", root + "/Inbox/n.md"}, {base + "/linked-vault", "", root},
        {root, "L", {}},         {root, "L/a.md", {}},  {root, "Inbox/L/x", {}},       {root, "Dangling", {}},
        {root, "Out/x.md", {}},  {root, "../outside", {}}, {root, "Dangling/new.md", {}}, {root, "Inbox/alias.md", {}},
        {"/", "tmp", {}},        {"/", "", "/"},        {"", "Inbox", {}},
    };
    for (const auto& [from, relative, expected] : cases) {
        const auto resolve = [&] { return SafePath::resolve(from, relative); };
        if (expected)
            EXPECT_EQ(resolve(), *expected) << relative.toStdString();
        else
            EXPECT_EQ(test::thrown<CaptureError>(resolve), CaptureError::invalidPath()) << relative.toStdString();
    }
    EXPECT_FALSE(FileSystem::exists(root + "/nowhere"));
}
