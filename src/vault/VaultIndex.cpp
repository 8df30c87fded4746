#include "vault/VaultIndex.h"

#include "core/CaptureError.h"
#include "core/FileSystem.h"
#include "core/FileSystemError.h"
#include "core/TextFolding.h"
#include "editing/MarkdownPresentation.h"
#include "vault/CodePointOrder.h"

#include <QByteArrayView>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
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

// At most `limit` bytes of the open file: a note that reaches the limit gives
// no tags, so reading further would only cost memory (the file may have grown
// since its size was read).
QByteArray readUpTo(int fd, const std::string& native, qint64 reportedSize, qint64 limit)
{
    // One byte beyond the reported size, so the usual read ends at EOF without
    // growing the buffer.
    QByteArray bytes(qsizetype(qBound<qint64>(1, reportedSize + 1, limit)), Qt::Uninitialized);
    qsizetype total = 0;
    for (;;) {
        if (total == bytes.size()) {
            if (total >= limit)
                break;
            bytes.resize(qsizetype(qMin<qint64>(limit, qint64(total) * 2)));
        }
        const ssize_t got = ::read(fd, bytes.data() + total, size_t(bytes.size() - total));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw FileSystemError(Operation::read, displayPath(native), errno);
        }
        if (got == 0)
            break;
        total += qsizetype(got);
    }
    bytes.truncate(total);
    return bytes;
}

// The note's bytes when it is small enough to be searched for tags. A larger
// note is never read, and a note that cannot be opened fails the scan only when
// it would have been read: the size is asked of the open file, or of the path
// once opening has failed, so a readable note costs no extra path lookup.
std::optional<QByteArray> readForTags(const std::string& native)
{
    int fd;
    do {
        // O_NOFOLLOW and O_NONBLOCK: a link or a FIFO swapped in since the
        // entry was listed is neither followed nor allowed to hang the scan.
        fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
    } while (fd < 0 && errno == EINTR);
    struct stat info {};
    if (fd < 0) {
        const int openError = errno;
        if (::lstat(native.c_str(), &info) != 0)
            throw FileSystemError(Operation::inspect, displayPath(native), errno);
        if (info.st_size >= VaultIndex::tagSizeLimit)
            return std::nullopt;
        throw FileSystemError(Operation::read, displayPath(native), openError);
    }
    const Descriptor file(fd);
    if (::fstat(file.get(), &info) != 0)
        throw FileSystemError(Operation::read, displayPath(native), errno);
    if (!S_ISREG(info.st_mode))
        throw FileSystemError(Operation::read, displayPath(native), EINVAL);
    if (info.st_size >= VaultIndex::tagSizeLimit)
        return std::nullopt;
    return readUpTo(file.get(), native, qint64(info.st_size), VaultIndex::tagSizeLimit);
}

// A tag is a "#" at the start or after a blank, then a letter, digit or "_".
// Tested on the UTF-8 bytes, with every non-ASCII neighbour taken for a
// possible blank or letter, this never misses a tag, and it spares decoding
// and analysing the many notes whose only "#" open headings.
bool mayHoldTags(const QByteArray& bytes)
{
    const auto isAsciiBlank = [](unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    const auto mayStartName = [](unsigned char c) { return c >= 0x80 || std::isalnum(c) || c == '_'; };
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype size = bytes.size();
    for (qsizetype i = bytes.indexOf('#'); i >= 0; i = bytes.indexOf('#', i + 1)) {
        const bool afterBlank = i == 0 || data[i - 1] >= 0x80 || isAsciiBlank(data[i - 1]);
        if (afterBlank && i + 1 < size && mayStartName(data[i + 1]))
            return true;
    }
    return false;
}

// Tags that are the same text in composed and decomposed form are one tag (the
// first form met is the one kept), ordered by the composed form's code points.
class TagSet {
public:
    void insert(const QString& tag)
    {
        // The same few tags recur in note after note: only a form not met
        // before needs composing.
        if (m_seen.contains(tag))
            return;
        m_seen.insert(tag);
        const QString key = tag.normalized(QString::NormalizationForm_C);
        if (!m_tags.contains(key))
            m_tags.insert(key, tag);
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
    QSet<QString> m_seen;
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
        return VaultIndex{m_notes, m_tags.sorted()};
    }

private:
    void walk()
    {
        std::error_code error;
        fs::recursive_directory_iterator it(fs::path(m_nativeRoot), fs::directory_options::none, error);
        if (error)
            throw CaptureError::missingVault();
        for (const fs::recursive_directory_iterator end; it != end;) {
            throwIfCancelled(m_isCancelled);
            const std::string current = it->path().native();
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
        const QString filePath = QFile::decodeName(QByteArray::fromStdString(native.substr(m_prefixLength)));
        const QString fileName = filePath.section(QLatin1Char('/'), -1);
        m_notes.append(IndexedNote{fileName.chopped(3), filePath.chopped(3), filePath});
    }

    void addTags(const std::string& native)
    {
        const std::optional<QByteArray> bytes = readForTags(native);
        if (!bytes || bytes->size() >= VaultIndex::tagSizeLimit || !mayHoldTags(*bytes)
            || !QByteArrayView(*bytes).isValidUtf8())
            return;
        throwIfCancelled(m_isCancelled);
        const QString text = QString::fromUtf8(*bytes);
        // Linear in the note's length (a 1 MB line of unclosed markers takes
        // milliseconds), so asking again once it is done is soon enough.
        const QList<MarkdownStyle> tags = MarkdownPresentation::tagStyles(text);
        throwIfCancelled(m_isCancelled);
        for (const MarkdownStyle& tag : tags)
            m_tags.insert(text.mid(tag.range.location + 1, tag.range.length - 1));
    }

    // Equal titles keep the order the walk found them in.
    void sortNotes()
    {
        qsizetype comparisons = 0;
        std::stable_sort(m_notes.begin(), m_notes.end(), [&](const IndexedNote& a, const IndexedNote& b) {
            // Sorting a large vault takes a while too.
            if (++comparisons % 4096 == 0)
                throwIfCancelled(m_isCancelled);
            return TextFolding::localizedStandardCompare(a.title, b.title) < 0;
        });
    }

    std::string m_nativeRoot;
    size_t m_prefixLength = 0;
    const CancellationCheck& m_isCancelled;
    QList<IndexedNote> m_notes;
    TagSet m_tags;
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
