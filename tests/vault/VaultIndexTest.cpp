#include "vault/VaultIndex.h"

#include "VaultTestSupport.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <atomic>
#include <cerrno>
#include <sys/stat.h>

using namespace quillor;
using namespace quillor::test;

namespace {

QStringList titles(const VaultIndex& index)
{
    QStringList result;
    for (const IndexedNote& note : index.notes)
        result.append(note.title);
    return result;
}

std::optional<CaptureError::Kind> scanErrorOf(const QString& vault)
{
    return captureErrorOf([&] { VaultIndex::scan(vault); });
}

int scanErrnoOf(const QString& vault)
{
    return errnoOf([&] { VaultIndex::scan(vault); });
}

// A note of exactly `size` bytes starting with the tag.
QByteArray noteOfSize(const QByteArray& tag, qsizetype size)
{
    QByteArray bytes = tag + ' ';
    bytes.append(size - bytes.size(), 'x');
    return bytes;
}

class VaultIndexTest : public ::testing::Test {
protected:
    QString at(const QString& relative) const { return dir.path() + u'/' + relative; }
    QTemporaryDir dir;
};

} // namespace

TEST_F(VaultIndexTest, listsMarkdownNotesSortedByTitleWithoutHiddenOrLinkedEntries)
{
    writeFile(at("Inbox/a.md"), "x");
    writeFile(at("B.md"), "x");
    writeFile(at("Notes/c.MD"), "x");          // the extension in any case
    writeFile(at("a.b.md"), "x");              // only the last extension goes
    writeFile(at("d.markdown"), "x");
    writeFile(at("e.md.txt"), "x");
    writeFile(at(".obsidian/x.md"), "x");
    writeFile(at(".hidden.md"), "x");
    writeFile(at("Inbox/.trash/old.md"), "x");
    ASSERT_TRUE(QDir().mkpath(at("folder.md")));   // a folder is not a note
    writeFile(at("folder.md/inside.md"), "x");

    QTemporaryDir outside;
    writeFile(outside.path() + QStringLiteral("/far.md"), "x");
    makeLink(outside.path(), at("Linked"));
    makeLink(at("B.md"), at("link.md"));
    makeLink(at("gone"), at("dangling.md"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(at("pipe.md")).constData(), 0644), 0);   // must not hang the scan

    const VaultIndex index = VaultIndex::scan(dir.path());
    EXPECT_EQ(titles(index), (QStringList{"a", "a.b", "B", "c", "inside"}));
    ASSERT_EQ(index.notes.size(), 5);
    EXPECT_EQ(index.notes[0], (IndexedNote{"a", "Inbox/a", QStringLiteral("Inbox/a.md")}));
    EXPECT_EQ(index.notes[0].id(), "Inbox/a");
    EXPECT_EQ(index.notes[1], (IndexedNote{"a.b", "a.b", QStringLiteral("a.b.md")}));
    EXPECT_EQ(index.notes[3], (IndexedNote{"c", "Notes/c", QStringLiteral("Notes/c.MD")}));
    EXPECT_EQ(index.notes[4].path, "folder.md/inside");
}

TEST_F(VaultIndexTest, vaultReachedThroughALinkGivesPathsInsideIt)
{
    writeFile(at("real/Projets/Idées.md"), "#idée");
    makeLink(at("real"), at("alias"));
    const VaultIndex index = VaultIndex::scan(at("alias/./Projets/.."));
    ASSERT_EQ(index.notes.size(), 1);
    EXPECT_EQ(index.notes[0], (IndexedNote{"Idées", "Projets/Idées", QStringLiteral("Projets/Idées.md")}));
    EXPECT_EQ(index.tags, QStringList{"idée"});
}

TEST_F(VaultIndexTest, tagsComeFromTheEditorsTagRuleOncePerTextInCodePointOrder)
{
    const struct {
        const char* file;
        const char* text;
    } notes[] = {
        {"one.md", "#Projet #projet et encore #Projet"},
        {"two.md", "`#code`\n```\n#fence\n```\n[a #lien](url) [[b #wiki]] mot#collé"},
        {"three.md", "#1 #/ ## #x/y-z\n# Titre\n#Zeta #alpha"},
        {"four.md", "#\xC3\x85 #\xE2\x84\xAB"},   // U+00C5 and U+212B, canonically equal: one tag
        {"five.md", "#\xEF\xBC\xA1 #\xF0\x9D\x90\x80"},                  // U+FF21 before U+1D400
        {"six.md", "mot\xC2\xA0#insecable"},                              // after a no-break space
        {"seven.md", "#été"},
        {"eight.md", "# Titre\n## Sous-titre\n#\n"},                     // headings only
        {"nine.md", "\xEF\xBB\xBF#bom"},                                  // the byte order mark is no text
    };
    for (const auto& note : notes)
        writeFile(at(note.file), note.text);

    const QStringList expected = {"1",         "Projet", "Zeta",  "alpha", "bom", "insecable", "projet", "x/y-z",
                                  QStringLiteral("Å"), QStringLiteral("été"), QStringLiteral("Ａ"),
                                  QString::fromUtf8("\xF0\x9D\x90\x80")};
    EXPECT_EQ(VaultIndex::scan(dir.path()).tags, expected);
}

TEST_F(VaultIndexTest, onlyNotesUnderTheSizeLimitAndInUtf8GiveTags)
{
    writeFile(at("limit.md"), noteOfSize("#atLimit", VaultIndex::tagSizeLimit));
    writeFile(at("under.md"), noteOfSize("#underLimit", VaultIndex::tagSizeLimit - 1));
    writeFile(at("latin1.md"), "#latin \xE9t\xE9");
    writeFile(at("utf8.md"), "#utf8");

    const VaultIndex index = VaultIndex::scan(dir.path());
    EXPECT_EQ(titles(index), (QStringList{"latin1", "limit", "under", "utf8"}));
    EXPECT_EQ(index.tags, (QStringList{"underLimit", "utf8"}));
}

TEST_F(VaultIndexTest, longLineOfUnclosedMarkersIndexesQuickly)
{
    // Backtracking emphasis patterns took minutes on such a line; the bound
    // is loose (debug and sanitizer builds) but far from quadratic.
    QByteArray line = "#first ";
    const char markers[] = {'*', '_', '#', '*', '*', '_', ' ', '#'};
    for (qsizetype i = line.size(); i < VaultIndex::tagSizeLimit - 1; ++i)
        line.append(markers[i % 8]);
    writeFile(at("long.md"), line);

    QElapsedTimer timer;
    timer.start();
    const VaultIndex index = VaultIndex::scan(dir.path());
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_EQ(index.tags, QStringList{"first"});
}

TEST_F(VaultIndexTest, anEmptyVaultIsEmptyAndPathsThatAreNotReadableFoldersFail)
{
    EXPECT_EQ(VaultIndex::scan(dir.path()), VaultIndex());
    writeFile(at("file.md"), "x");
    EXPECT_EQ(scanErrorOf(at("file.md")), CaptureError::Kind::missingVault);
    EXPECT_EQ(scanErrnoOf(at("missing")), ENOENT);
    makeLink(at("missing"), at("dangling"));
    EXPECT_EQ(scanErrnoOf(at("dangling")), ENOENT);
}

TEST_F(VaultIndexTest, unreadableFolderOrNoteFailsTheWholeScan)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not apply to root";
    writeFile(at("vault/ok.md"), "#ok");
    writeFile(at("vault/locked/n.md"), "x");
    writeFile(at("vault/secret.md"), "x");

    ASSERT_EQ(::chmod(QFile::encodeName(at("vault/secret.md")).constData(), 0), 0);
    EXPECT_EQ(scanErrnoOf(at("vault")), EACCES);
    ASSERT_EQ(::chmod(QFile::encodeName(at("vault/secret.md")).constData(), 0644), 0);

    // Too large to be searched for tags, so it is listed without being opened.
    writeFile(at("vault/huge.md"), noteOfSize("#huge", VaultIndex::tagSizeLimit));
    ASSERT_EQ(::chmod(QFile::encodeName(at("vault/huge.md")).constData(), 0), 0);
    EXPECT_EQ(titles(VaultIndex::scan(at("vault"))), (QStringList{"huge", "n", "ok", "secret"}));

    ASSERT_EQ(::chmod(QFile::encodeName(at("vault/locked")).constData(), 0), 0);
    EXPECT_EQ(scanErrnoOf(at("vault")), EACCES);
    ASSERT_EQ(::chmod(QFile::encodeName(at("vault/locked")).constData(), 0755), 0);

    ASSERT_EQ(::chmod(QFile::encodeName(at("vault")).constData(), 0300), 0);
    EXPECT_EQ(scanErrorOf(at("vault")), CaptureError::Kind::missingVault);
    ASSERT_EQ(::chmod(QFile::encodeName(at("vault")).constData(), 0755), 0);
}

TEST_F(VaultIndexTest, cancellationEndsTheScanBetweenAndWithinNotes)
{
    for (int i = 0; i < 20; ++i)
        writeFile(at(QStringLiteral("n%1.md").arg(i)), "#tag");
    EXPECT_THROW(VaultIndex::scan(dir.path(), [] { return true; }), ScanCancelled);

    // Cancelled while the walk is under way, as a newer refresh would.
    std::atomic_bool cancelled = false;
    int asked = 0;
    EXPECT_THROW(VaultIndex::scan(dir.path(),
                                  [&] {
                                      if (++asked == 5)
                                          cancelled = true;
                                      return cancelled.load();
                                  }),
                 ScanCancelled);

    // One note alone: the check is asked again after the walk reached it.
    QTemporaryDir single;
    writeFile(single.path() + QStringLiteral("/only.md"), "#tag");
    int calls = 0;
    EXPECT_THROW(VaultIndex::scan(single.path(), [&] { return ++calls > 1; }), ScanCancelled);

    EXPECT_EQ(VaultIndex::scan(dir.path(), [] { return false; }).notes.size(), 20);
}
