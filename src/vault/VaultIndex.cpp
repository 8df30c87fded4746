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
#include <numeric>
#include <sys/stat.h>
#include <unistd.h>

namespace quillor {

namespace {

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

// A note as the walk meets it: by its name in its open folder, which spares
// the system a walk along the whole path; or by its whole path.
struct NoteLocation {
    int folder = AT_FDCWD;
    const char* name = nullptr;
};

// A note's file as a scan met it: the same values mean the same text.
// The change time also moves when the note's permissions do, which decide
// whether a scan can read it at all.
struct NoteFile {
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modified = 0;   // nanoseconds
    qint64 changed = 0;
    quint32 device = 0;   // Linux device numbers hold 32 bits

    static NoteFile of(const struct stat& info)
    {
        const auto nanoseconds = [](const timespec& time) { return qint64(time.tv_sec) * 1000000000 + time.tv_nsec; };
        return {quint64(info.st_ino), qint64(info.st_size), nanoseconds(info.st_mtim), nanoseconds(info.st_ctim),
                quint32(info.st_dev)};
    }

    bool operator==(const NoteFile&) const = default;
};

// The note's bytes, into `bytes` (whose storage serves note after note), when
// it is small enough to be searched for tags, and its file as it was when
// read. A note that cannot be opened fails the scan only when it would have
// been read, which only its size can tell then.
bool readForTags(const std::string& native, NoteLocation at, QByteArray& bytes, NoteFile& file)
{
    int fd;
    do {
        // O_NOFOLLOW and O_NONBLOCK: a link or a FIFO swapped in since the
        // entry was listed is neither followed nor allowed to hang the scan.
        fd = ::openat(at.folder, at.name, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
    } while (fd < 0 && errno == EINTR);
    struct stat info {};
    if (fd < 0) {
        const int openError = errno;
        if (::fstatat(at.folder, at.name, &info, AT_SYMLINK_NOFOLLOW) != 0)
            throw FileSystemError(Operation::inspect, displayPath(native), errno);
        file = NoteFile::of(info);
        if (info.st_size >= VaultIndex::tagSizeLimit)
            return false;
        throw FileSystemError(Operation::read, displayPath(native), openError);
    }
    const Descriptor descriptor(fd);
    if (::fstat(fd, &info) != 0)
        throw FileSystemError(Operation::inspect, displayPath(native), errno);
    file = NoteFile::of(info);
    constexpr qsizetype limit = VaultIndex::tagSizeLimit;
    if (info.st_size >= limit)
        return false;
    if (bytes.size() < limit)
        bytes.resize(limit);
    // Read to the limit rather than to the size: the note may be growing.
    qsizetype total = 0;
    while (total < limit) {
        const ssize_t got = ::read(fd, bytes.data() + total, size_t(limit - total));
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
    TagNameSet takeNames() { return std::move(m_seen); }

    // False for a form met before.
    bool insert(QStringView tag)
    {
        if (!m_seen.insert(tag))
            return false;
        const QString copy = tag.toString();
        const QString key = copy.normalized(QString::NormalizationForm_C);
        if (!m_tags.contains(key))
            m_tags.insert(key, copy);
        return true;
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

// One note as the memo keeps it, in the order the walk met the notes.
struct NoteRecord {
    // Its padding holds the fields below: a record per note is kept.
    [[no_unique_address]] NoteFile file;
    quint32 note = 0;   // its place in the index's notes
    // Into the memo's tag numbers, up to the next note's: the found ones,
    // then the skipped ones.
    quint32 tagsStart = 0;
    quint32 found = 0;
};

static_assert(sizeof(NoteRecord) == 48);

// A note's three names in one block, each ending with the terminator every
// QString's text has: the path, then the file path; the title is the path's
// tail. The three share the block as copies of one string would, so changing
// one of them detaches it; one allocation a note instead of three, exactly
// sized, is most of what a large vault's index holds.
IndexedNote noteNamed(QStringView filePath)
{
    const qsizetype pathLength = filePath.size() - 3;
    QString block(pathLength + 1 + filePath.size(), Qt::Uninitialized);
    QChar* const start = block.data();
    std::copy_n(filePath.data(), pathLength, start);
    start[pathLength] = QChar(u'\0');
    std::copy_n(filePath.data(), filePath.size(), start + pathLength + 1);
    const auto part = [&block](qsizetype from, qsizetype length) {
        QString::DataPointer shared = block.data_ptr();
        shared.setBegin(shared.data() + from);
        shared.size = length;
        return QString(std::move(shared));
    };
    const qsizetype titleStart = filePath.first(pathLength).lastIndexOf(u'/') + 1;
    return IndexedNote{part(titleStart, pathLength - titleStart), part(0, pathLength),
                       part(pathLength + 1, filePath.size())};
}

} // namespace

// A note's tags are found against the tags the notes before it in the walk
// already gave (those are not checked again), so a note keeps both what its
// analysis found and the names it skipped as known: as long as every skipped
// name is known again when the note's turn comes, the found ones are what a
// new analysis would add, and the note need not be read.
struct VaultIndex::Memo {
    std::string nativeRoot;
    std::vector<NoteRecord> records;
    std::vector<quint32> tagNumbers;   // into `names`
    TagNameSet names;

    size_t tagsEnd(size_t record) const
    {
        return record + 1 < records.size() ? records[record + 1].tagsStart : tagNumbers.size();
    }
};

namespace {

class Scan {
public:
    Scan(const QString& root, const CancellationCheck& isCancelled, const VaultIndex& previous)
        : m_nativeRoot(QFile::encodeName(root).toStdString()), m_isCancelled(isCancelled), m_previous(previous)
    {
        // Entries are "<root>/<relative>"; the root "/" already ends with it.
        m_prefixLength = m_nativeRoot.size() + (m_nativeRoot.ends_with('/') ? 0 : 1);
        if (previous.memo && previous.memo->nativeRoot == m_nativeRoot)
            m_earlier = previous.memo.get();
        m_unchanged = m_earlier != nullptr;
    }

    VaultIndex run()
    {
        walk();
        // The same notes, met in the same order as before: the same index.
        if (m_unchanged && m_matched == m_earlier->records.size())
            return m_previous;
        leaveUnchangedStretch();
        sortNotes();
        QStringList tags = m_tags.sorted();
        m_memo->nativeRoot = m_nativeRoot;
        m_memo->names = m_tags.takeNames();
        // Kept from showing to showing: no room to spare.
        m_memo->records.shrink_to_fit();
        m_memo->tagNumbers.shrink_to_fit();
        return VaultIndex{std::move(m_notes), std::move(tags), std::move(m_memo)};
    }

private:
    void walk()
    {
        const int root = ::open(m_nativeRoot.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (root < 0)
            throw CaptureError::missingVault();
        std::string path = m_nativeRoot;
        walkFolder(root, path);
    }

    // The folder's entries in listing order, each subfolder walked as soon as
    // it is met. A folder that cannot be entered or read ends the walk: there
    // is no partial index. Hidden entries (.obsidian, .git, .trash) are never
    // entered nor listed, links never followed. Takes the descriptor over;
    // `path` is the folder's and comes back as it was.
    void walkFolder(int descriptor, std::string& path)
    {
        DIR* listing = ::fdopendir(descriptor);
        if (!listing) {
            const int error = errno;
            ::close(descriptor);
            throw FileSystemError(Operation::list, displayPath(path), error);
        }
        const std::unique_ptr<DIR, int (*)(DIR*)> closing(listing, ::closedir);
        const int folder = ::dirfd(listing);
        const size_t length = path.size();
        for (;;) {
            throwIfCancelled(m_isCancelled);
            errno = 0;
            const dirent* entry = ::readdir(listing);
            if (!entry) {
                path.resize(length);
                if (errno != 0)
                    throw FileSystemError(Operation::list, displayPath(path), errno);
                return;
            }
            const std::string_view name = entry->d_name;
            if (name.starts_with('.'))
                continue;
            path.resize(length);
            if (!path.ends_with('/'))
                path += '/';
            path += name;
            const unsigned char type = typeOf(folder, *entry, path);
            if (type == DT_DIR) {
                const int child = ::openat(folder, entry->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
                if (child < 0)
                    throw FileSystemError(Operation::list, displayPath(path), errno);
                walkFolder(child, path);
            } else if (type == DT_REG && hasMarkdownExtension(name)) {
                // The name alone rules out most entries without asking the disk.
                visit(NoteLocation{folder, entry->d_name}, path);
            }
        }
    }

    // The listing usually tells; some file systems leave it to be asked.
    static unsigned char typeOf(int folder, const dirent& entry, const std::string& path)
    {
        if (entry.d_type != DT_UNKNOWN)
            return entry.d_type;
        struct stat info {};
        if (::fstatat(folder, entry.d_name, &info, AT_SYMLINK_NOFOLLOW) != 0)
            throw FileSystemError(Operation::inspect, displayPath(path), errno);
        return S_ISDIR(info.st_mode) ? DT_DIR : S_ISREG(info.st_mode) ? DT_REG : DT_UNKNOWN;
    }

    void visit(NoteLocation at, const std::string& native)
    {
        const std::string_view relative = std::string_view(native).substr(m_prefixLength);
        // What QFile::decodeName gives (Qt 6 takes file names for UTF-8 on
        // Linux), without its copies.
        const QString filePath = QString::fromUtf8(QByteArrayView(relative.data(), qsizetype(relative.size())));
        if (!m_earlier) {
            addNote(filePath);
            addTags(native, at);
            return;
        }
        const std::optional<NoteFile> file = currentFile(at);
        if (m_unchanged) {
            if (m_matched < m_earlier->records.size() && matches(m_earlier->records[m_matched], filePath, file)) {
                ++m_matched;
                return;
            }
            leaveUnchangedStretch();
        }
        const auto earlier = m_earlierByPath.constFind(QStringView(filePath));
        if (earlier != m_earlierByPath.cend() && matches(m_earlier->records[size_t(*earlier)], filePath, file)) {
            reuse(size_t(*earlier), &native, at);
            return;
        }
        addNote(filePath);
        addTags(native, at);
    }

    // None for a file that changed kind since it was listed, or could not be
    // inspected: it is then read again, which reports what became of it.
    static std::optional<NoteFile> currentFile(NoteLocation at)
    {
        struct stat info {};
        if (::fstatat(at.folder, at.name, &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode))
            return std::nullopt;
        return NoteFile::of(info);
    }

    bool matches(const NoteRecord& record, const QString& filePath, const std::optional<NoteFile>& file) const
    {
        return file && record.file == *file && m_previous.notes[record.note].filePath == filePath;
    }

    // The notes walked so far were the earlier scan's first ones, unchanged:
    // they join the index as the earlier scan left them.
    void leaveUnchangedStretch()
    {
        if (!m_unchanged)
            return;
        m_unchanged = false;
        for (size_t i = 0; i < m_matched; ++i) {
            throwIfCancelled(m_isCancelled);
            reuse(i, nullptr, {});
        }
        m_earlierByPath.reserve(qsizetype(m_earlier->records.size()));
        for (size_t i = 0; i < m_earlier->records.size(); ++i)
            m_earlierByPath.insert(*m_previous.notes[m_earlier->records[i].note].filePath, qsizetype(i));
    }

    // The note's own entry, or else the path it had in the earlier scan.
    void reuse(size_t record, const std::string* native, NoteLocation at)
    {
        const IndexedNote& note = m_previous.notes[m_earlier->records[record].note];
        m_keys.push_back(TextFolding::localizedSortKey(note.title));
        m_notes.append(note);
        if (replayTags(record))
            return;
        if (native) {
            addTags(*native, at);
            return;
        }
        std::string path = m_nativeRoot;
        if (!path.ends_with('/'))
            path += '/';
        path += QFile::encodeName(*note.filePath).toStdString();
        addTags(path, {AT_FDCWD, path.c_str()});
    }

    // The tags the note gave before, when they are still what it gives now.
    bool replayTags(size_t index)
    {
        const NoteRecord& record = m_earlier->records[index];
        const auto numbers = m_earlier->tagNumbers.cbegin();
        const auto found = numbers + record.tagsStart, skipped = found + record.found,
                   end = numbers + qsizetype(m_earlier->tagsEnd(index));
        const TagNameSet& earlier = m_earlier->names;
        if (!std::all_of(skipped, end, [&](quint32 number) { return m_tags.names().contains(earlier.at(number)); }))
            return false;
        m_memo->records.push_back({record.file, quint32(m_memo->records.size()),
                                   quint32(m_memo->tagNumbers.size()), record.found});
        for (auto number = found; number != end; ++number) {
            const QStringView name = earlier.at(*number);
            if (number < skipped)
                m_tags.insert(name);
            // This scan numbers the names its own way.
            m_memo->tagNumbers.push_back(quint32(m_tags.names().indexOf(name)));
        }
        return true;
    }

    void addNote(const QString& filePath)
    {
        IndexedNote note = noteNamed(filePath);
        m_keys.push_back(TextFolding::localizedSortKey(note.title));
        m_notes.append(std::move(note));
    }

    void addTags(const std::string& native, NoteLocation at)
    {
        m_record = {{}, quint32(m_memo->records.size()), quint32(m_memo->tagNumbers.size()), 0};
        m_skipped.clear();
        collectTags(native, at);
        std::sort(m_skipped.begin(), m_skipped.end());
        m_skipped.erase(std::unique(m_skipped.begin(), m_skipped.end()), m_skipped.end());
        for (const qsizetype number : std::as_const(m_skipped))
            m_memo->tagNumbers.push_back(quint32(number));
        m_memo->records.push_back(m_record);
    }

    void collectTags(const std::string& native, NoteLocation at)
    {
        // Most notes hold only tags met before, or none: they are not even decoded.
        if (!readForTags(native, at, m_bytes, m_record.file)
            || !NoteTags::mayHoldNewTags(m_bytes, m_tags.names(), &m_skipped))
            return;
        m_skipped.clear();
        if (!StrictUtf8::decode(m_bytes, m_text))
            return;
        throwIfCancelled(m_isCancelled);
        m_names.clear();
        // Linear in the note's length (a 1 MB line of unclosed markers takes
        // milliseconds), so asking again once it is done is soon enough. A tag
        // already indexed would add nothing: it is not checked again.
        NoteTags::collect(m_text, m_names, &m_tags.names(), &m_skipped);
        throwIfCancelled(m_isCancelled);
        for (const QStringView name : std::as_const(m_names)) {
            if (m_tags.insert(name)) {
                m_memo->tagNumbers.push_back(quint32(m_tags.names().size() - 1));
                ++m_record.found;
            }
        }
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
        for (size_t place = 0; place < order.size(); ++place) {
            sorted.append(std::move(m_notes[order[place]]));
            m_memo->records[size_t(order[place])].note = quint32(place);
        }
        m_notes = std::move(sorted);
    }

    std::string m_nativeRoot;
    size_t m_prefixLength = 0;
    const CancellationCheck& m_isCancelled;
    QList<IndexedNote> m_notes;
    std::vector<QCollatorSortKey> m_keys;   // the notes' titles, in the same order
    TagSet m_tags;
    std::shared_ptr<VaultIndex::Memo> m_memo = std::make_shared<VaultIndex::Memo>();
    NoteRecord m_record;   // the note under way

    // The earlier scan, if it was of the same folder.
    const VaultIndex& m_previous;
    const VaultIndex::Memo* m_earlier = nullptr;
    // While the walk meets the earlier scan's notes in the same order,
    // unchanged, nothing is built: m_matched counts them.
    bool m_unchanged = false;
    size_t m_matched = 0;
    QHash<QStringView, qsizetype> m_earlierByPath;   // into the earlier records

    // Working storage, reused from note to note.
    QByteArray m_bytes;
    QString m_text;
    QList<QStringView> m_names;
    std::vector<qsizetype> m_skipped;
};

} // namespace

VaultIndex VaultIndex::scan(const QString& vault, const CancellationCheck& isCancelled, const VaultIndex& previous)
{
    const QString root = resolvedRoot(vault);
    requireReadableFolder(root);
    requireListable(root);
    return Scan(root, isCancelled, previous).run();
}

} // namespace quillor
