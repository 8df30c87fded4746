#include "core/FileSystem.h"
#include "core/L10n.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using namespace quillor;

namespace {

class FileSystemTest : public ::testing::Test {
protected:
    QString at(const QString& relative) const { return dir.path() + QLatin1Char('/') + relative; }

    void put(const QString& relative, const QByteArray& bytes) const
    {
        QFile file(at(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QStringList entries() const
    {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                          QDir::Name);
    }

    QTemporaryDir dir;
};

// The errno of the FileSystemError thrown by `action`, or 0 when none is.
int errnoOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const FileSystemError& error) {
        return error.errnoValue();
    }
    return 0;
}

} // namespace

TEST_F(FileSystemTest, readTellsMissingApartFromOtherFailures)
{
    put(QStringLiteral("file.md"), QByteArray("a\0b\xff", 4));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder")));

    EXPECT_EQ(FileSystem::readIfExists(at(QStringLiteral("file.md"))), QByteArray("a\0b\xff", 4));
    EXPECT_EQ(FileSystem::readIfExists(at(QStringLiteral("missing.md"))), std::nullopt);
    EXPECT_EQ(FileSystem::readIfExists(at(QStringLiteral("missing/deeper.md"))), std::nullopt);
    EXPECT_EQ(errnoOf([&] { FileSystem::read(at(QStringLiteral("missing.md"))); }), ENOENT);
    EXPECT_EQ(errnoOf([&] { FileSystem::readIfExists(at(QStringLiteral("folder"))); }), EISDIR);
    EXPECT_EQ(errnoOf([&] { FileSystem::readIfExists(at(QStringLiteral("file.md/x"))); }), ENOTDIR);

    if (::geteuid() != 0) {
        ASSERT_EQ(::chmod(QFile::encodeName(at(QStringLiteral("file.md"))).constData(), 0), 0);
        EXPECT_EQ(errnoOf([&] { FileSystem::readIfExists(at(QStringLiteral("file.md"))); }), EACCES);
    }
}

TEST_F(FileSystemTest, readGivesAnEmptyFileAsEmptyBytes)
{
    put(QStringLiteral("empty.md"), {});
    const auto bytes = FileSystem::readIfExists(at(QStringLiteral("empty.md")));
    ASSERT_TRUE(bytes.has_value());
    EXPECT_TRUE(bytes->isEmpty());
}

TEST_F(FileSystemTest, writeExclusiveCreatesOnlyNewFiles)
{
    const QString path = at(QStringLiteral("new.md"));
    FileSystem::writeExclusive(path, "first");
    EXPECT_EQ(FileSystem::read(path), "first");

    EXPECT_EQ(errnoOf([&] { FileSystem::writeExclusive(path, "second"); }), EEXIST);
    EXPECT_EQ(FileSystem::read(path), "first");

    // A dangling link counts as something in the way: nothing is created
    // through it.
    ASSERT_EQ(::symlink("nowhere.md", QFile::encodeName(at(QStringLiteral("link.md"))).constData()), 0);
    EXPECT_EQ(errnoOf([&] { FileSystem::writeExclusive(at(QStringLiteral("link.md")), "x"); }), EEXIST);
    EXPECT_FALSE(FileSystem::exists(at(QStringLiteral("nowhere.md"))));
}

TEST_F(FileSystemTest, linkAndRenameNeverOverwrite)
{
    put(QStringLiteral("source.md"), "source");
    put(QStringLiteral("target.md"), "target");
    const QString source = at(QStringLiteral("source.md"));
    const QString target = at(QStringLiteral("target.md"));

    EXPECT_EQ(errnoOf([&] { FileSystem::hardLink(source, target); }), EEXIST);
    EXPECT_EQ(errnoOf([&] { FileSystem::renameNoReplace(source, target); }), EEXIST);
    EXPECT_EQ(FileSystem::read(target), "target");
    EXPECT_EQ(FileSystem::read(source), "source");

    // A hard link, not a symbolic one: the data stays once the source name goes.
    FileSystem::hardLink(source, at(QStringLiteral("linked.md")));
    FileSystem::removeFile(source);
    EXPECT_FALSE(FileSystem::isSymbolicLink(at(QStringLiteral("linked.md"))));
    EXPECT_EQ(FileSystem::read(at(QStringLiteral("linked.md"))), "source");

    FileSystem::renameNoReplace(at(QStringLiteral("linked.md")), at(QStringLiteral("moved.md")));
    EXPECT_EQ(FileSystem::read(at(QStringLiteral("moved.md"))), "source");
    EXPECT_EQ(entries(), (QStringList{QStringLiteral("moved.md"), QStringLiteral("target.md")}));

    FileSystem::removeFile(at(QStringLiteral("moved.md")));
    FileSystem::removeFile(at(QStringLiteral("moved.md")));  // already gone: fine
}

TEST_F(FileSystemTest, writeAtomicallyReplacesAndLeavesNothingBehind)
{
    const QString path = at(QStringLiteral("prefs.json"));
    FileSystem::writeAtomically(path, "one");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    FileSystem::writeAtomically(path, "two, longer");

    EXPECT_EQ(FileSystem::read(path), "two, longer");
    EXPECT_EQ(entries(), QStringList{QStringLiteral("prefs.json")});
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);

    EXPECT_EQ(errnoOf([&] { FileSystem::writeAtomically(at(QStringLiteral("missing/x.json")), "x"); }), ENOENT);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    EXPECT_EQ(errnoOf([&] { FileSystem::writeAtomically(at(QStringLiteral("folder")), "x"); }), EISDIR);
    EXPECT_EQ(entries(), (QStringList{QStringLiteral("folder"), QStringLiteral("prefs.json")}));

    // A file the user made read-only is not replaced behind their back.
    if (::geteuid() != 0) {
        ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0444), 0);
        EXPECT_EQ(errnoOf([&] { FileSystem::writeAtomically(path, "three"); }), EACCES);
        EXPECT_EQ(FileSystem::read(path), "two, longer");
    }
}

TEST_F(FileSystemTest, writeAtomicallyWritesThroughAFinalLink)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("real")));
    put(QStringLiteral("real/prefs.json"), "old");
    ASSERT_EQ(::symlink("real/prefs.json", QFile::encodeName(at(QStringLiteral("prefs.json"))).constData()), 0);

    FileSystem::writeAtomically(at(QStringLiteral("prefs.json")), "new");
    EXPECT_TRUE(FileSystem::isSymbolicLink(at(QStringLiteral("prefs.json"))));
    EXPECT_EQ(FileSystem::read(at(QStringLiteral("real/prefs.json"))), "new");
}

TEST_F(FileSystemTest, createDirectoriesMakesMissingFoldersAndNamesTheBlocker)
{
    FileSystem::createDirectories(at(QStringLiteral("a/b/c")));
    FileSystem::createDirectories(at(QStringLiteral("a/b/c/")));  // existing: fine
    EXPECT_TRUE(FileSystem::isDirectory(at(QStringLiteral("a/b/c"))));

    put(QStringLiteral("a/file"), "x");
    try {
        FileSystem::createDirectories(at(QStringLiteral("a/file/d/e")));
        FAIL() << "a file in the way was not reported";
    } catch (const FileSystemError& error) {
        EXPECT_EQ(error.errnoValue(), ENOTDIR);
        EXPECT_EQ(error.path(), at(QStringLiteral("a/file")));
    }
}

TEST_F(FileSystemTest, typeTestsDoNotFollowAFinalLinkWhereTheySaySo)
{
    put(QStringLiteral("file"), "x");
    ASSERT_EQ(::symlink("file", QFile::encodeName(at(QStringLiteral("link"))).constData()), 0);
    ASSERT_EQ(::symlink("gone", QFile::encodeName(at(QStringLiteral("dangling"))).constData()), 0);

    EXPECT_TRUE(FileSystem::isSymbolicLink(at(QStringLiteral("link"))));
    EXPECT_TRUE(FileSystem::isRegularFile(at(QStringLiteral("link"))));
    EXPECT_FALSE(FileSystem::isSymbolicLink(at(QStringLiteral("file"))));
    EXPECT_TRUE(FileSystem::exists(at(QStringLiteral("dangling"))));
    EXPECT_FALSE(FileSystem::isRegularFile(at(QStringLiteral("dangling"))));
    EXPECT_FALSE(FileSystem::exists(at(QStringLiteral("gone"))));
    EXPECT_FALSE(FileSystem::isDirectory(at(QStringLiteral("file"))));
}

TEST_F(FileSystemTest, resolveExistingPrefixResolvesLinksAndKeepsMissingParts)
{
    const QString root = FileSystem::resolveExistingPrefix(dir.path());
    ASSERT_TRUE(QDir(root).mkpath(QStringLiteral("target/sub")));
    ASSERT_EQ(::symlink("target", QFile::encodeName(root + QStringLiteral("/link")).constData()), 0);

    const struct {
        QString input;
        QString expected;
    } cases[] = {
        {root + QStringLiteral("/link/sub"), root + QStringLiteral("/target/sub")},
        {root + QStringLiteral("/link/missing/x.md"), root + QStringLiteral("/target/missing/x.md")},
        {root + QStringLiteral("/link/./sub/../x//y/"), root + QStringLiteral("/target/x/y")},
        {root + QStringLiteral("/missing/../link"), root + QStringLiteral("/target")},
        {QStringLiteral("/"), QStringLiteral("/")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FileSystem::resolveExistingPrefix(c.input), c.expected) << c.input.toStdString();
}

TEST(FileSystemErrorTest, frenchMessagesNameThePath)
{
    L10n::configure(QStringLiteral("fr"));
    const QString path = QStringLiteral("/V/Inbox/note.md");
    const struct {
        int errnoValue;
        QString fragment;
    } cases[] = {
        {ENOENT, QStringLiteral("introuvable")},
        {EACCES, QStringLiteral("Permission refusée")},
        {EPERM, QStringLiteral("Permission refusée")},
        {ENOSPC, QStringLiteral("Le disque est plein")},
        {EDQUOT, QStringLiteral("Le disque est plein")},
        {EROFS, QStringLiteral("lecture seule")},
        {EEXIST, QStringLiteral("existe déjà")},
        {ENOTDIR, QStringLiteral("n’est pas un dossier")},
        {EISDIR, QStringLiteral("est un dossier")},
        {ENAMETOOLONG, QStringLiteral("trop long")},
        {ELOOP, QStringLiteral("liens symboliques")},
        {EIO, QStringLiteral("disque")},
        {EBUSY, QStringLiteral("Opération impossible")},
    };
    for (const auto& c : cases) {
        const QString text = FileSystemError(FileSystemError::Operation::write, path, c.errnoValue).localizedDescription();
        EXPECT_TRUE(text.contains(QStringLiteral("« ") + path + QStringLiteral(" »"))) << text.toStdString();
        EXPECT_TRUE(text.contains(c.fragment)) << text.toStdString();
    }
    // Causes without a sentence of their own still say what the system said.
    EXPECT_TRUE(FileSystemError(FileSystemError::Operation::read, path, EBUSY)
                    .localizedDescription()
                    .contains(QString::fromLocal8Bit(strerror(EBUSY))));
}
