#include "vault/VaultIndex.h"

#include "VaultTestSupport.h"

#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>

using namespace quillor;
using namespace quillor::test;

namespace {

// Pieces of note text: tags shared or not, a tag in two canonically equal
// forms (the first met is kept), and look-alikes in code and links.
const char* const pieces[] = {"#projet",  "#idée",        "#\xC3\x85",       "#\xE2\x84\xAB", "#travail/urgent",
                              "`#code`",  "```\n#bloc\n```", "[lien](#ancre)", "mot",          "autre mot",
                              "#rare",    "#projet/sous", "\n",               "# Titre\n",     "#Projet"};

QByteArray randomText(QRandomGenerator& random)
{
    QByteArray text;
    const int count = int(random.bounded(8));
    for (int i = 0; i < count; ++i)
        text += QByteArray(pieces[random.bounded(int(std::size(pieces)))]) + ' ';
    return text;
}

timespec modifiedOf(const QString& path)
{
    struct stat info {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    return info.st_mtim;
}

void setModified(const QString& path, const timespec& modified)
{
    const timespec times[2] = {{0, UTIME_OMIT}, modified};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

// A vault that changes at random, one way a user or a sync tool changes notes.
class ChangingVault {
public:
    explicit ChangingVault(quint32 seed) : m_random(seed)
    {
        for (int i = 0; i < 24; ++i)
            add();
    }

    QString path() const { return m_dir.path(); }

    // Returns what it did, for the failure message.
    QString change()
    {
        if (m_notes.size() < 3)
            return add();
        switch (m_random.bounded(6)) {
        case 0:
            return add();
        case 1:
            return remove();
        case 2:
            return rename();
        case 3:
            return editWithinTheSameTime(false);
        case 4:
            return editWithinTheSameTime(true);
        default:
            return replace();
        }
    }

private:
    QString at(const QString& relative) const { return path() + u'/' + relative; }
    QString someNote() { return m_notes[qsizetype(m_random.bounded(int(m_notes.size())))]; }

    QString freshName()
    {
        static const char* const folders[] = {"", "A/", "A/C/", "B/"};
        // Titles repeat across folders, so equal titles keep the walk's order.
        return QString::fromUtf8(folders[m_random.bounded(4)]) + QStringLiteral("n%1.md").arg(m_random.bounded(40));
    }

    QString add()
    {
        QString name = freshName();
        while (m_notes.contains(name))
            name = freshName();
        writeFile(at(name), randomText(m_random));
        m_notes.append(name);
        return QStringLiteral("add ") + name;
    }

    QString remove()
    {
        const QString name = someNote();
        QFile::remove(at(name));
        m_notes.removeOne(name);
        return QStringLiteral("remove ") + name;
    }

    QString rename()
    {
        const QString from = someNote();
        QString to = freshName();
        while (m_notes.contains(to))
            to = freshName();
        QDir().mkpath(QFileInfo(at(to)).path());
        EXPECT_TRUE(QFile::rename(at(from), at(to)));
        m_notes.replace(m_notes.indexOf(from), to);
        return QStringLiteral("rename %1 to %2").arg(from, to);
    }

    // As a coarse clock leaves it: the same modification time, the text of
    // another size, or of the same size.
    QString editWithinTheSameTime(bool sameSize)
    {
        const QString name = someNote();
        QFile file(at(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray old = file.readAll();
        file.close();
        QByteArray text = randomText(m_random);
        if (sameSize)
            text = text.leftJustified(old.size(), 'x', true);
        else if (text.size() == old.size())
            text += '\n';
        const timespec modified = modifiedOf(at(name));
        QFile rewritten(at(name));
        EXPECT_TRUE(rewritten.open(QIODevice::WriteOnly | QIODevice::Truncate));
        rewritten.write(text);
        rewritten.close();
        setModified(at(name), modified);
        return (sameSize ? QStringLiteral("edit, same size, ") : QStringLiteral("edit, new size, ")) + name;
    }

    // Another file moved over the note, as a safe save does.
    QString replace()
    {
        const QString name = someNote();
        const QString other = at(QStringLiteral(".incoming"));
        writeFile(other, randomText(m_random));
        const timespec modified = modifiedOf(at(name));
        setModified(other, modified);
        EXPECT_EQ(::rename(QFile::encodeName(other).constData(), QFile::encodeName(at(name)).constData()), 0);
        return QStringLiteral("replace ") + name;
    }

    QTemporaryDir m_dir;
    QRandomGenerator m_random;
    QStringList m_notes;
};

// The notes a piece of work opens, as the kernel reports them.
class OpenedNotes {
public:
    explicit OpenedNotes(const QStringList& folders) : m_fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        for (const QString& folder : folders)
            EXPECT_GE(::inotify_add_watch(m_fd, QFile::encodeName(folder).constData(), IN_OPEN), 0);
    }
    ~OpenedNotes() { ::close(m_fd); }

    QSet<QString> names() const
    {
        QSet<QString> result;
        alignas(inotify_event) char buffer[65536];
        ssize_t got;
        while ((got = ::read(m_fd, buffer, sizeof buffer)) > 0) {
            for (char* at = buffer; at < buffer + got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                if (event->len > 0 && !(event->mask & IN_ISDIR))
                    result.insert(QFile::decodeName(event->name));
                at += sizeof(inotify_event) + event->len;
            }
        }
        return result;
    }

private:
    int m_fd;
};

} // namespace

TEST(VaultIndexRescanTest, equalsAFullScanWhateverChangedInBetween)
{
    for (const quint32 seed : {1u, 2u, 3u, 4u}) {
        ChangingVault vault(seed);
        VaultIndex previous = VaultIndex::scan(vault.path());
        QRandomGenerator random(seed);
        for (int round = 0; round < 40; ++round) {
            QStringList changes;
            for (int i = int(random.bounded(4)); i > 0; --i)
                changes.append(vault.change());
            SCOPED_TRACE(QStringLiteral("seed %1, round %2: %3").arg(seed).arg(round).arg(changes.join(QStringLiteral("; ")))
                             .toStdString());
            const VaultIndex rescanned = VaultIndex::scan(vault.path(), {}, previous);
            ASSERT_EQ(rescanned, VaultIndex::scan(vault.path()));
            if (changes.isEmpty()) {
                EXPECT_EQ(rescanned.memo, previous.memo);
            }
            previous = rescanned;
        }
    }
}

TEST(VaultIndexRescanTest, readsOnlyNewAndChangedNotes)
{
    QTemporaryDir dir;
    for (int i = 0; i < 12; ++i)
        writeFile(dir.path() + QStringLiteral("/%1/n%2.md").arg(i % 2 ? "A" : "B").arg(i),
                  QStringLiteral("#commun #n%1").arg(i).toUtf8());
    const QStringList folders = {dir.path() + "/A", dir.path() + "/B"};
    VaultIndex previous = VaultIndex::scan(dir.path());

    {
        const OpenedNotes opened(folders);
        EXPECT_EQ(VaultIndex::scan(dir.path(), {}, previous), previous);
        EXPECT_EQ(opened.names(), QSet<QString>());
    }

    writeFile(dir.path() + "/A/new.md", "#nouveau");
    writeFile(dir.path() + "/B/n4.md", "#commun #n4 #plus");
    QFile::remove(dir.path() + "/A/n5.md");
    const OpenedNotes opened(folders);
    const VaultIndex rescanned = VaultIndex::scan(dir.path(), {}, previous);
    EXPECT_EQ(opened.names(), (QSet<QString>{"new.md", "n4.md"}));
    EXPECT_EQ(rescanned, VaultIndex::scan(dir.path()));
    EXPECT_TRUE(rescanned.tags.contains("plus") && !rescanned.tags.contains("n5"));
}

TEST(VaultIndexRescanTest, anotherFolderOrAFailureIsNeverAnsweredFromTheEarlierScan)
{
    QTemporaryDir one, two;
    writeFile(one.path() + "/a.md", "#un");
    writeFile(two.path() + "/a.md", "#deux");
    const VaultIndex first = VaultIndex::scan(one.path());
    EXPECT_EQ(VaultIndex::scan(two.path(), {}, first), VaultIndex::scan(two.path()));

    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not apply to root";
    // Only the change time tells that the note can no longer be read.
    ASSERT_EQ(::chmod(QFile::encodeName(one.path() + "/a.md").constData(), 0), 0);
    EXPECT_EQ(errnoOf([&] { VaultIndex::scan(one.path(), {}, first); }), EACCES);
}
