#include "vault/VaultIndex.h"

#include "core/CaptureError.h"
#include "core/FileSystem.h"
#include "core/FileSystemError.h"
#include "core/TextFolding.h"
#include "vault/CodePointOrder.h"
#include "vault/NoteTags.h"
#include "vault/StrictUtf8.h"

#include <QByteArrayView>
#include <QDir>
#include <QFile>
#include <QHash>

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <numeric>
#include <sys/stat.h>
#include <unistd.h>

namespace quillor {

namespace {

namespace fs = std::filesystem;
using Operation = FileSystemError::Operation;

// The vault folder with its links resolved. A missing folder is reported by the
// attribute read that follows, with the system's own cause.
QString resolvedRoot(const QString& vault)
{
    return FileSystem::resolveExistingPrefix(QDir::cleanPath(vault));
}

void requireReadableFolder(const QString& root)
{
    const QByteArray native = QFile::encodeName(root);
    struct stat info {};
    if (::stat(native.constData(), &info) != 0)
        throw FileSystemError(Operation::inspect, root, errno);
    if (!S_ISDIR(info.st_mode) || ::access(native.constData(), R_OK) != 0)
        throw CaptureError::missingVault();
}

// Lists the folder's entries once, so a folder that cannot be listed fails with
// the system's error before the walk starts.
void requireListable(const QString& root)
{
    DIR* folder = ::opendir(QFile::encodeName(root).constData());
    if (!folder)
        throw FileSystemError(Operation::list, root, errno);
    int error = 0;
    for (;;) {
        errno = 0;
        if (::readdir(folder))
            continue;
        error = errno;
        break;
    }
    ::closedir(folder);
    if (error != 0)
        throw FileSystemError(Operation::list, root, error);
}

// The last component of a native path.
std::string_view fileName(const std::string& native)
{
    const size_t slash = native.rfind('/');
    return slash == std::string::npos ? std::string_view(native) : std::string_view(native).substr(slash + 1);
}

bool hasMarkdownExtension(std::string_view name)
{
    if (name.size() < 3)
        return false;
    const std::string_view tail = name.substr(name.size() - 3);
    return tail[0] == '.' && (tail[1] == 'm' || tail[1] == 'M') && (tail[2] == 'd' || tail[2] == 'D');
}

// Paths are kept in the system's encoding during the walk and decoded only
// for an error message.
QString displayPath(const std::string& native)
{
    return QFile::decodeName(QByteArray::fromStdString(native));
}

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() { ::close(m_fd); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// The note's bytes, into `bytes` (whose storage serves note after note), when
// it is small enough to be searched for tags. The walk has already seen a
// regular file; asking its size again would cost as much as reading a usual
// note, so the note is read up to the limit instead, and one that reaches it
// gives no tags. A note that cannot be opened fails the scan only when it would
// have been read, which only its size can tell then.
bool readForTags(const std::string& native, QByteArray& bytes)
{
    int fd;
    do {
        // O_NOFOLLOW and O_NONBLOCK: a link or a FIFO swapped in since the
        // entry was listed is neither followed nor allowed to hang the scan.
        fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        const int openError = errno;
        struct stat info {};
        if (::lstat(native.c_str(), &info) != 0)
            throw FileSystemError(Operation::inspect, displayPath(native), errno);
        if (info.st_size >= VaultIndex::tagSizeLimit)
            return false;
        throw FileSystemError(Operation::read, displayPath(native), openError);
    }
    const Descriptor file(fd);
    constexpr qsizetype limit = VaultIndex::tagSizeLimit;
    if (bytes.size() < limit)
        bytes.resize(limit);
    qsizetype total = 0;
    while (total < limit) {
        const ssize_t got = ::read(file.get(), bytes.data() + total, size_t(limit - total));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw FileSystemError(Operation::read, displayPath(native), errno);
        }
        if (got == 0)
            break;
        total += qsizetype(got);
    }
    if (total >= limit)
        return false;
    bytes.truncate(total);
    return true;
}

// Tags that are the same text in composed and decomposed form are one tag (the
// first form met is the one kept), ordered by the composed form's code points.
class TagSet {
public:
    // Every form met, exactly.
    const TagNameSet& names() const { return m_seen; }

    void insert(QStringView tag)
    {
        if (!m_seen.insert(tag))
            return;
        const QString copy = tag.toString();
        const QString key = copy.normalized(QString::NormalizationForm_C);
        if (!m_tags.contains(key))
            m_tags.insert(key, copy);
    }

    QStringList sorted() const
    {
        QStringList keys = m_tags.keys();
        std::sort(keys.begin(), keys.end(), CodePointOrder::less);
        QStringList result;
        result.reserve(keys.size());
        for (const QString& key : std::as_const(keys))
            result.append(m_tags.value(key));
        return result;
    }

private:
    TagNameSet m_seen;
    QHash<QString, QString> m_tags;   // composed form -> first form met
};

class Scan {
public:
    Scan(const QString& root, const CancellationCheck& isCancelled)
        : m_nativeRoot(QFile::encodeName(root).toStdString()), m_isCancelled(isCancelled)
    {
        // Entries are "<root>/<relative>"; the root "/" already ends with it.
        m_prefixLength = m_nativeRoot.size() + (m_nativeRoot.ends_with('/') ? 0 : 1);
    }

    VaultIndex run()
    {
        walk();
        sortNotes();
        return VaultIndex{std::move(m_notes), m_tags.sorted()};
    }

private:
    void walk()
    {
        std::error_code error;
        fs::recursive_directory_iterator it(fs::path(m_nativeRoot), fs::directory_options::none, error);
        if (error)
            throw CaptureError::missingVault();
        std::string current;   // kept for the error message once the entry has moved on
        for (const fs::recursive_directory_iterator end; it != end;) {
            throwIfCancelled(m_isCancelled);
            current.assign(it->path().native());
            visit(it, current);
            // A folder that cannot be entered or read ends the walk: there is
            // no partial index.
            it.increment(error);
            if (error)
                throw FileSystemError(Operation::list, displayPath(current), error.value());
        }
    }

    void visit(fs::recursive_directory_iterator& it, const std::string& native)
    {
        const std::string_view name = fileName(native);
        if (name.starts_with('.')) {
            // Hidden: never entered (.obsidian, .git, .trash), never listed.
            it.disable_recursion_pending();
            return;
        }
        // The name alone rules out most entries without asking the disk.
        if (!hasMarkdownExtension(name) || !isPlainFile(*it, native))
            return;
        addNote(native);
        addTags(native);
    }

    // Not a link (even to a note) and a regular file. The walk usually knows
    // both from the folder listing itself.
    static bool isPlainFile(const fs::directory_entry& entry, const std::string& native)
    {
        std::error_code error;
        const bool isLink = entry.is_symlink(error);
        if (error)
            throw FileSystemError(Operation::inspect, displayPath(native), error.value());
        if (isLink)
            return false;
        const bool isRegular = entry.is_regular_file(error);
        if (error)
            throw FileSystemError(Operation::inspect, displayPath(native), error.value());
        return isRegular;
    }

    void addNote(const std::string& native)
    {
        const std::string_view relative = std::string_view(native).substr(m_prefixLength);
        // What QFile::decodeName gives (Qt 6 takes file names for UTF-8 on
        // Linux), without its copies.
        const QString filePath = QString::fromUtf8(QByteArrayView(relative.data(), qsizetype(relative.size())));
        QString path = QStringView(filePath).chopped(3).toString();
        QString title = QStringView(path).mid(path.lastIndexOf(QLatin1Char('/')) + 1).toString();
        m_keys.push_back(TextFolding::localizedSortKey(title));
        m_notes.append(IndexedNote{std::move(title), std::move(path), filePath});
    }

    void addTags(const std::string& native)
    {
        // Most notes hold only tags met before, or none: they are not even decoded.
        if (!readForTags(native, m_bytes) || !NoteTags::mayHoldNewTags(m_bytes, m_tags.names())
            || !StrictUtf8::decode(m_bytes, m_text))
            return;
        throwIfCancelled(m_isCancelled);
        m_names.clear();
        // Linear in the note's length (a 1 MB line of unclosed markers takes
        // milliseconds), so asking again once it is done is soon enough. A tag
        // already indexed would add nothing: it is not checked again.
        NoteTags::collect(m_text, m_names, &m_tags.names());
        throwIfCancelled(m_isCancelled);
        for (const QStringView name : std::as_const(m_names))
            m_tags.insert(name);
    }

    // Equal titles keep the order the walk found them in. Titles are never
    // empty (a file named ".md" is hidden), so their keys order them exactly.
    void sortNotes()
    {
        std::vector<qsizetype> order(size_t(m_notes.size()));
        std::iota(order.begin(), order.end(), 0);
        qsizetype comparisons = 0;
        std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
            // Sorting a large vault takes a while too.
            if (++comparisons % 4096 == 0)
                throwIfCancelled(m_isCancelled);
            return m_keys[size_t(a)].compare(m_keys[size_t(b)]) < 0;
        });
        QList<IndexedNote> sorted;
        sorted.reserve(m_notes.size());
        for (const qsizetype index : order)
            sorted.append(std::move(m_notes[index]));
        m_notes = std::move(sorted);
    }

    std::string m_nativeRoot;
    size_t m_prefixLength = 0;
    const CancellationCheck& m_isCancelled;
    QList<IndexedNote> m_notes;
    std::vector<QCollatorSortKey> m_keys;   // the notes' titles, in the same order
    TagSet m_tags;
    // Working storage, reused from note to note.
    QByteArray m_bytes;
    QString m_text;
    QList<QStringView> m_names;
};

} // namespace

VaultIndex VaultIndex::scan(const QString& vault, const CancellationCheck& isCancelled)
{
    const QString root = resolvedRoot(vault);
    requireReadableFolder(root);
    requireListable(root);
    return Scan(root, isCancelled).run();
}

} // namespace quillor
