#include "core/SafePath.h"

#include "TestSupport.h"
#include "core/FileSystem.h"

using namespace quillor;

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
