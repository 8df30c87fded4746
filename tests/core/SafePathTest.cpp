#include "core/SafePath.h"

#include "core/CaptureError.h"
#include "core/FileSystem.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <unistd.h>

using namespace quillor;

namespace {

bool refused(const std::function<void()>& action)
{
    try {
        action();
    } catch (const CaptureError& error) {
        return error.kind() == CaptureError::Kind::invalidPath;
    }
    return false;
}

void makeLink(const QString& target, const QString& at)
{
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(at).constData()), 0);
}

// A vault with an Inbox folder, a note in it, and an outside folder beside it;
// `root` is the vault's path with every link already resolved.
class SafePathTree : public ::testing::Test {
protected:
    void SetUp() override
    {
        base = FileSystem::resolveExistingPrefix(dir.path());
        root = base + QStringLiteral("/vault");
        ASSERT_TRUE(QDir(base).mkpath(QStringLiteral("vault/Inbox")));
        ASSERT_TRUE(QDir(base).mkpath(QStringLiteral("outside")));
        QFile note(root + QStringLiteral("/Inbox/n.md"));
        ASSERT_TRUE(note.open(QIODevice::WriteOnly));
    }

    QTemporaryDir dir;
    QString base;
    QString root;
};

} // namespace

TEST(SafePathTest, validateRefusesPathsThatCouldLeaveTheVaultOrHideInIt)
{
    const QString refusedPaths[] = {
        QStringLiteral("/etc"),
        QStringLiteral("~/notes"),
        QStringLiteral("~"),
        QStringLiteral("a\\b"),
        QStringLiteral("../x"),
        QStringLiteral("a/../b"),
        QStringLiteral("a/.."),
        QStringLiteral("./a"),
        QStringLiteral("a/./b"),
        QStringLiteral("a/.hidden/b"),
        QStringLiteral(".obsidian/app.json"),
        QStringLiteral("."),
        QStringLiteral(".."),
        QString::fromUtf16(u"a\0b", 3),
        QString::fromUtf16(u"\0", 1),
    };
    for (const QString& path : refusedPaths)
        EXPECT_TRUE(refused([&] { SafePath::validate(path); })) << path.toStdString();
}

TEST(SafePathTest, validateAcceptsOrdinaryPaths)
{
    const QString acceptedPaths[] = {
        QString(),
        QStringLiteral("Inbox"),
        QStringLiteral("Inbox/"),
        QStringLiteral("a//b"),
        QStringLiteral("Notes/2024 Journal.md"),
        QStringLiteral("a/~b"),
        QStringLiteral("a/b.c/d..e"),
        QStringLiteral("Boîte de réception/note.md"),
    };
    for (const QString& path : acceptedPaths)
        EXPECT_NO_THROW(SafePath::validate(path)) << path.toStdString();
}

TEST_F(SafePathTree, resolvesInsideTheVault)
{
    const struct {
        QString relative;
        QString expected;
    } cases[] = {
        {QString(), root},
        {QStringLiteral("Inbox"), root + QStringLiteral("/Inbox")},
        {QStringLiteral("Inbox/"), root + QStringLiteral("/Inbox")},
        {QStringLiteral("Inbox//n.md"), root + QStringLiteral("/Inbox/n.md")},
        {QStringLiteral("x/y/z.md"), root + QStringLiteral("/x/y/z.md")},
        {QStringLiteral("Inbox/n.md/below"), root + QStringLiteral("/Inbox/n.md/below")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SafePath::resolve(root, c.relative), c.expected) << c.relative.toStdString();

    // The root is standardised before use.
    EXPECT_EQ(SafePath::resolve(root + QStringLiteral("/Inbox/../"), QStringLiteral("Inbox")),
              root + QStringLiteral("/Inbox"));
}

TEST_F(SafePathTree, aRootReachedThroughALinkResolvesBelowTheLinksTarget)
{
    makeLink(root, base + QStringLiteral("/linked-vault"));
    EXPECT_EQ(SafePath::resolve(base + QStringLiteral("/linked-vault"), QStringLiteral("Inbox/n.md")),
              root + QStringLiteral("/Inbox/n.md"));
    EXPECT_EQ(SafePath::resolve(base + QStringLiteral("/linked-vault"), QString()), root);
}

TEST_F(SafePathTree, refusesAnyLinkBelowTheRoot)
{
    makeLink(root + QStringLiteral("/Inbox"), root + QStringLiteral("/L"));
    makeLink(root + QStringLiteral("/Inbox"), root + QStringLiteral("/Inbox/L"));
    makeLink(root + QStringLiteral("/nowhere"), root + QStringLiteral("/Dangling"));
    makeLink(base + QStringLiteral("/outside"), root + QStringLiteral("/Out"));
    makeLink(QStringLiteral("../outside"), root + QStringLiteral("/RelativeOut"));
    makeLink(root + QStringLiteral("/Inbox/n.md"), root + QStringLiteral("/Inbox/alias.md"));

    const QString refusedPaths[] = {
        QStringLiteral("L"),
        QStringLiteral("L/a.md"),
        QStringLiteral("Inbox/L/x"),
        QStringLiteral("Dangling"),
        QStringLiteral("Dangling/new.md"),
        QStringLiteral("Out/x.md"),
        QStringLiteral("RelativeOut"),
        QStringLiteral("Inbox/alias.md"),
        QStringLiteral("../outside"),
    };
    for (const QString& path : refusedPaths)
        EXPECT_TRUE(refused([&] { SafePath::resolve(root, path); })) << path.toStdString();

    EXPECT_FALSE(FileSystem::exists(base + QStringLiteral("/nowhere")));
}

TEST_F(SafePathTree, refusesUnusableRoots)
{
    EXPECT_TRUE(refused([&] { SafePath::resolve(QStringLiteral("/"), QStringLiteral("tmp")); }));
    EXPECT_TRUE(refused([&] { SafePath::resolve(QString(), QStringLiteral("Inbox")); }));
    EXPECT_EQ(SafePath::resolve(QStringLiteral("/"), QString()), QStringLiteral("/"));
}
