#include "core/FileSystem.h"

#include "TestSupport.h"
#include "core/L10n.h"
#include "core/SafePath.h"

#include <cerrno>
#include <climits>
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
    QDir().mkpath(at("folder"));
    EXPECT_EQ(FileSystem::readIfExists(at("file.md")), QByteArray("a\0b\xff", 4));
    EXPECT_EQ(FileSystem::readIfExists(at("missing/deeper.md")), std::nullopt);
    EXPECT_EQ(errnoOf([&] { FileSystem::read(at("missing.md")); }), ENOENT);
    EXPECT_EQ(errnoOf([&] { FileSystem::readIfExists(at("folder")); }), EISDIR);
    EXPECT_EQ(errnoOf([&] { FileSystem::readIfExists(at("file.md/x")); }), ENOTDIR);
    chmod(at("file.md"), 0);
    EXPECT_EQ(errnoOf([&] { FileSystem::readIfExists(at("file.md")); }), ::geteuid() == 0 ? 0 : EACCES);
}

TEST_F(FileSystemTest, ABoundedReadRefusesWhatIsLongerOrNoFile)
{
    test::put(at("four.md"), "abcd");
    EXPECT_EQ(FileSystem::readIfExists(at("four.md"), 4), QByteArray("abcd"));
    EXPECT_EQ(errnoOf([&] { FileSystem::readIfExists(at("four.md"), 3); }), EFBIG);
    // Endless, or never ending at all: refused before a byte is read.
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), at("endless")));
    EXPECT_EQ(errnoOf([&] { FileSystem::readIfExists(at("endless"), 4); }), EINVAL);
    ASSERT_EQ(::mkfifo(QFile::encodeName(at("fifo")).constData(), 0600), 0);
    EXPECT_EQ(errnoOf([&] { FileSystem::readIfExists(at("fifo"), 4); }), EINVAL);
}

// The causes a user meets are told in the interface language, not in the
// system's English; reading what is no plain file says so.
TEST_F(FileSystemTest, UsualFailuresAreToldInTheInterfaceLanguage)
{
    const int usual[] = {EINVAL, EBUSY,     ETXTBSY, EMFILE,    ENFILE, ENOMEM, EFBIG,
                         EXDEV,  ENOTEMPTY, EAGAIN,  EINTR,     ESTALE, ENXIO,  ENODEV,
                         EMLINK, ETIMEDOUT, ENOTSUP, EOVERFLOW, EBADF,  ESPIPE, ENOTCONN};
    const QString path = at("Journal.md");
    for (const int errnoValue : usual) {
        SCOPED_TRACE(errnoValue);
        const FileSystemError error(FileSystemError::Operation::write, path, errnoValue);
        const QString french = error.localizedDescription();
        EXPECT_TRUE(french.startsWith(QStringLiteral("Opération impossible sur « ") + path + QStringLiteral(" » (")));
        EXPECT_FALSE(french.contains(QString::fromLocal8Bit(::strerror(errnoValue)))) << french.toStdString();
        L10n::configure(QStringLiteral("de"));
        const QString german = error.localizedDescription();
        L10n::configure(QStringLiteral("fr"));
        EXPECT_TRUE(german.startsWith(QStringLiteral("Der Vorgang ist bei „") + path)) << german.toStdString();
        EXPECT_FALSE(german.contains(QString::fromLocal8Bit(::strerror(errnoValue)))) << german.toStdString();
    }

    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    const auto fifo = test::thrown<FileSystemError>([&] { FileSystem::readIfExists(path, 4); });
    ASSERT_TRUE(fifo);
    EXPECT_EQ(fifo->localizedDescription(),
              QStringLiteral("« ") + path + QStringLiteral(" » n’est pas un fichier ordinaire."));
}

TEST_F(FileSystemTest, NewNamesNeverReplaceAnything)
{
    // A dangling link is a name too: writing through it could create a file anywhere.
    QFile::link("nowhere.md", at("dangling.md"));
    test::put(at("target.md"), "target");
    for (const QString name : {"dangling.md", "target.md"})
        EXPECT_EQ(errnoOf([&] { FileSystem::writeExclusive(at(name), "x"); }), EEXIST) << name.toStdString();
    EXPECT_EQ(entries(), (QStringList{"dangling.md", "target.md"}));
    EXPECT_EQ(FileSystem::read(at("target.md")), "target");
    EXPECT_NO_THROW(FileSystem::removeFile(at("missing.md")));
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

TEST_F(FileSystemTest, WriteAtomicallyNoFollowReplacesTheLinkItself)
{
    FileSystem::writeAtomically(at("outside.json"), "outside");
    chmod(at("outside.json"), 0444);
    QFile::link("outside.json", at("record.json"));
    FileSystem::writeAtomicallyNoFollow(at("record.json"), "record");
    EXPECT_FALSE(FileSystem::isSymbolicLink(at("record.json")));
    EXPECT_EQ(FileSystem::read(at("record.json")), "record");
    EXPECT_EQ(FileSystem::read(at("outside.json")), "outside");
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
    const std::tuple<QString, QByteArray, std::optional<bool>> cases[] = {   // file, bytes, holds them
        {"large.md", large, true},         {"large.md", lastDiffers, false}, {"large.md", large.chopped(1), false},
        {"large.md", large + "x", false},  {"empty.md", {}, true},           {"missing.md", {}, std::nullopt},
    };
    for (const auto& [file, bytes, expected] : cases)
        EXPECT_EQ(FileSystem::holdsExactly(at(file), bytes), expected) << file.toStdString() << ' ' << bytes.size();
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

TEST(SafePathTest, ValidateRefusesWhatCouldLeaveTheVaultOrHideInIt)
{
    const QString refused[] = {"/etc", "~/notes", "a\\b", "a/..", "a/./b", "a/.hidden/b", QString::fromUtf16(u"a\0b", 3)};
    for (const QString& path : refused) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_EQ(test::thrown<CaptureError>([&] { SafePath::validate(path); }), CaptureError::invalidPath());
    }
    const QString accepted[] = {"", "Inbox/", "a//b", "a/~b", "a/b.c/d..e"};
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
        {root, "Inbox//n.md", root + "/Inbox/n.md"}, {root, "x/y/z.md", root + "/x/y/z.md"},
        {root + "/Inbox/../", "Inbox", root + "/Inbox"}, {base + "/linked-vault", "Inbox/n.md", root + "/Inbox/n.md"},
        {root, "L/a.md", {}},    {root, "Inbox/L/x", {}}, {root, "Out/x.md", {}},      {root, "../outside", {}},
        {root, "Dangling/new.md", {}}, {root, "Inbox/alias.md", {}}, {"/", "tmp", {}}, {"", "Inbox", {}},
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

TEST(SafePathTest, PathsLongerThanTheSystemAllowsAreRefusedAndDeepOnesResolvePartByPart)
{
    const QString name(NAME_MAX, 'n');
    const QString longest = QStringList((PATH_MAX - 1) / 2 + 1, "a").join('/');   // PATH_MAX - 1 bytes
    const std::pair<QString, bool> cases[] = {   // relative path, accepted
        {name, true}, {name + 'n', false}, {QString(NAME_MAX / 2 + 1, u'é'), false},
        {longest, true}, {longest + 'a', false}, {QStringList(2500, "a").join('/'), false},
    };
    for (const auto& [path, accepted] : cases) {
        SCOPED_TRACE(path.left(20).toStdString() + " " + std::to_string(path.size()));
        EXPECT_EQ(!test::thrown<CaptureError>([&] { SafePath::validate(path); }), accepted);
    }

    const QTemporaryDir dir;
    const QString root = FileSystem::resolveExistingPrefix(dir.path());
    const QString deep = QStringList(600, "d").join('/');
    FileSystem::createDirectories(root + '/' + deep);
    EXPECT_EQ(SafePath::resolve(root, deep + "/new/x.png"), root + '/' + deep + "/new/x.png");
    // The whole path counts: a relative path the system takes alone may be too long below the root.
    EXPECT_EQ(test::thrown<CaptureError>([&] { SafePath::resolve(root, longest); }), CaptureError::invalidPath());
    const QString linked = QStringList(400, "d").join('/') + "/link";
    ASSERT_TRUE(QFile::link(root, root + '/' + linked));
    EXPECT_EQ(test::thrown<CaptureError>([&] { SafePath::resolve(root, linked + "/x.png"); }),
              CaptureError::invalidPath());
}
