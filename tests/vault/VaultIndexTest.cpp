#include "vault/VaultIndex.h"

#include "VaultTestSupport.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

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

auto scanErrorOf(const QString& vault) { return captureErrorOf([&] { VaultIndex::scan(vault); }); }
int scanErrnoOf(const QString& vault) { return errnoOf([&] { VaultIndex::scan(vault); }); }

// A note of exactly `size` bytes starting with the tag.
QByteArray noteOfSize(const QByteArray& tag, qsizetype size) { return (tag + ' ').leftJustified(size, 'x'); }

struct VaultIndexTest : ::testing::Test {
    QString at(const QString& relative) const { return dir.path() + u'/' + relative; }
    QTemporaryDir dir;
};

} // namespace

TEST_F(VaultIndexTest, listsMarkdownNotesSortedByTitleWithoutHiddenOrLinkedEntries)
{
    // The extension in any case, only the last one goes; a folder is not a note.
    for (const char* file : {"Inbox/a.md", "B.md", "Notes/c.MD", "a.b.md", "d.markdown", "e.md.txt", ".hidden.md",
                             "Inbox/.trash/old.md", "folder.md/inside.md"})
        writeFile(at(file), "x");

    QTemporaryDir outside;
    writeFile(outside.path() + QStringLiteral("/far.md"), "x");
    makeLink(outside.path(), at("Linked"));
    makeLink(at("B.md"), at("link.md"));
    makeLink(at("gone"), at("dangling.md"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(at("pipe.md")).constData(), 0644), 0);   // must not hang the scan

    const VaultIndex index = VaultIndex::scan(dir.path());
    EXPECT_EQ(titles(index), (QStringList{"a", "a.b", "B", "c", "inside"}));
    ASSERT_EQ(index.notes.size(), 5);
    EXPECT_EQ(index.notes[1], (IndexedNote{"a.b", "a.b", QStringLiteral("a.b.md")}));
    EXPECT_EQ(index.notes[3], (IndexedNote{"c", "Notes/c", QStringLiteral("Notes/c.MD")}));
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

TEST_F(VaultIndexTest, tagsComeOncePerTextInCodePointOrderFromUtf8NotesUnderTheSizeLimit)
{
    // U+00C5 and U+212B are canonically equal: one tag. U+FF21 sorts before
    // U+1D400. The byte order mark is no text.
    writeFile(at("one.md"), "#Projet #projet et encore #Projet `#code` #Zeta");
    writeFile(at("two.md"), "#\xC3\x85 #\xE2\x84\xAB #\xEF\xBC\xA1 #\xF0\x9D\x90\x80 #alpha");
    writeFile(at("three.md"), "\xEF\xBB\xBF#bom #Zeta");
    // Listed, but without their tags.
    writeFile(at("limit.md"), noteOfSize("#atLimit", VaultIndex::tagSizeLimit));
    writeFile(at("under.md"), noteOfSize("#underLimit", VaultIndex::tagSizeLimit - 1));
    writeFile(at("latin1.md"), "#latin \xE9t\xE9");

    const VaultIndex index = VaultIndex::scan(dir.path());
    EXPECT_EQ(titles(index), (QStringList{"latin1", "limit", "one", "three", "two", "under"}));
    const QStringList expected = {"Projet", "Zeta", "alpha", "bom", "projet", "underLimit", QStringLiteral("Å"),
                                  QStringLiteral("Ａ"), QString::fromUtf8("\xF0\x9D\x90\x80")};
    EXPECT_EQ(index.tags, expected);
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
}

TEST_F(VaultIndexTest, unreadableFolderOrNoteFailsTheWholeScan)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not apply to root";
    writeFile(at("vault/ok.md"), "#ok");
    writeFile(at("vault/locked/n.md"), "x");
    writeFile(at("vault/secret.md"), "x");
    const auto mode = [&](const char* path, mode_t mode) {
        ASSERT_EQ(::chmod(QFile::encodeName(at(path)).constData(), mode), 0);
    };
    mode("vault/secret.md", 0);
    EXPECT_EQ(scanErrnoOf(at("vault")), EACCES);
    mode("vault/secret.md", 0644);

    // Too large to be searched for tags, so it is listed without being opened.
    writeFile(at("vault/huge.md"), noteOfSize("#huge", VaultIndex::tagSizeLimit));
    mode("vault/huge.md", 0);
    EXPECT_EQ(titles(VaultIndex::scan(at("vault"))), (QStringList{"huge", "n", "ok", "secret"}));

    mode("vault/locked", 0);
    EXPECT_EQ(scanErrnoOf(at("vault")), EACCES);
    mode("vault/locked", 0755);
    mode("vault", 0300);
    EXPECT_EQ(scanErrorOf(at("vault")), CaptureError::Kind::missingVault);
    mode("vault", 0755);
}

TEST_F(VaultIndexTest, cancellationEndsTheScanBetweenAndWithinNotes)
{
    for (int i = 0; i < 20; ++i)
        writeFile(at(QStringLiteral("n%1.md").arg(i)), "#tag");

    // Cancelled while the walk is under way, as a newer refresh would.
    int asked = 0;
    EXPECT_THROW(VaultIndex::scan(dir.path(), [&] { return ++asked >= 5; }), ScanCancelled);

    // One note alone: the check is asked again after the walk reached it.
    QTemporaryDir single;
    writeFile(single.path() + QStringLiteral("/only.md"), "#tag");
    int calls = 0;
    EXPECT_THROW(VaultIndex::scan(single.path(), [&] { return ++calls > 1; }), ScanCancelled);

    EXPECT_EQ(VaultIndex::scan(dir.path(), [] { return false; }).notes.size(), 20);
}

TEST_F(VaultIndexTest, aNotesNamesAreTerminatedAndChangeIndependently)
{
    const QStringList files{"Racine.md", "Projets/Idées.md", "a/b/ü.md"};
    for (const QString& file : files)
        writeFile(at(file), "x");
    const VaultIndex index = VaultIndex::scan(dir.path());
    ASSERT_EQ(index.notes.size(), 3);
    for (const IndexedNote& scanned : index.notes) {
        const QString title = scanned.title, path = scanned.path, filePath = *scanned.filePath;
        SCOPED_TRACE(filePath.toStdString());
        for (const QString& name : {title, path, filePath})
            EXPECT_EQ(name.utf16()[name.size()], 0);

        IndexedNote note = scanned;
        note.title.append(QStringLiteral("+titre"));
        note.path.append(QStringLiteral("+chemin"));
        note.filePath->prepend(QStringLiteral("fichier+"));
        EXPECT_EQ(note, (IndexedNote{title + "+titre", path + "+chemin", "fichier+" + filePath}));
        EXPECT_EQ(scanned, (IndexedNote{title, path, filePath}));
    }

    // Each name, once the only one left of its note, grows and shrinks on its own.
    for (int kept = 0; kept < 3; ++kept) {
        for (qsizetype place = 0; place < files.size(); ++place) {
            IndexedNote note = VaultIndex::scan(dir.path()).notes.at(place);
            const QString expected = kept == 0 ? note.title : kept == 1 ? note.path : *note.filePath;
            QString name = std::move(kept == 0 ? note.title : kept == 1 ? note.path : *note.filePath);
            note = {};
            name.prepend(u'<');
            name.append(QStringLiteral(">…"));
            EXPECT_EQ(name, QStringLiteral("<") + expected + QStringLiteral(">…"));
            name.remove(0, 1);
            name.chop(2);
            EXPECT_EQ(name, expected);
            EXPECT_EQ(name.utf16()[name.size()], 0);
        }
    }
}
