#include "core/CaptureSummary.h"

#include "core/Json.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillor::CaptureSummary {

namespace {

// More than any capture's text and references; attachments excluded.
constexpr qsizetype summaryLimit = 32 * 1024 * 1024;
constexpr qsizetype pieceSize = 1024 * 1024;
// Top-level keys of the indented form (strings hold no raw line break): the
// first one after "attachments" in its key order, and the first after "body".
constexpr char bodyKey[] = "\n    \"body\": ";
constexpr char createdAtKey[] = "\n    \"createdAt\": ";

std::optional<Capture> decodeSummary(const QByteArray& json)
{
    try {
        Capture capture = Capture::fromJson(Json::parseObject(json));
        capture.attachments.clear();
        return capture;
    } catch (const JsonDecodingError&) {
        return std::nullopt;
    }
}

// An object of the keys from the last `key` on, behind `opening`, read from
// the end of the file backwards in growing pieces. nullopt when the file is
// not laid out so, or that key is further from its end than the bound.
std::optional<QByteArray> keysFrom(QFile& file, const char* key, const char* opening)
{
    const qint64 size = file.size();
    for (qint64 length = std::min<qint64>(size, 64 * 1024);;
         length = std::min<qint64>({size, length * 4, summaryLimit})) {
        if (!file.seek(size - length))
            return std::nullopt;
        const QByteArray tail = file.read(length);
        if (tail.size() != length)
            return std::nullopt;
        const qsizetype at = tail.lastIndexOf(key);
        if (at >= 0)
            return opening + tail.mid(at);
        if (length == size || length >= summaryLimit)
            return std::nullopt;
    }
}

// Opened without waiting, regular files only: a pipe named like a capture
// would hold its reader until some program wrote to it.
bool openRegularFile(QFile& file, const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)
        || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

// A capture whose text is over the bound, without it: from the keys after
// its text, or else from its file's name (History/<UUID>.json,
// Recovered/<UUID>-<UUID>.json) and the time it was written.
std::optional<Capture> withoutText(QFile& file, const QString& path)
{
    if (const auto keys = keysFrom(file, createdAtKey, "{\"attachments\": [], \"body\": \"\","))
        return decodeSummary(*keys);
    const QFileInfo info(path);
    const QUuid id = QUuid::fromString(info.fileName().left(36));
    if (id.isNull())
        return std::nullopt;
    Capture capture;
    capture.id = id;
    capture.createdAt = ReferenceDate::fromUnixSeconds(double(info.lastModified().toMSecsSinceEpoch()) / 1000);
    return capture;
}

} // namespace

void DataElision::feed(QByteArrayView piece)
{
    const char* at = piece.data();
    const char* const end = at + piece.size();
    while (at < end) {
        if (m_state == State::inData) {
            // Base64 holds neither quotes nor backslashes: skip to the next.
            const char* stop = std::find_if(at, end, [](char c) { return c == '"' || c == '\\'; });
            if (m_escaped && stop != at)
                m_escaped = false;
            if (stop == end)
                return;
            at = stop;
            if (*at == '\\') {
                m_escaped = !m_escaped;
            } else if (m_escaped) {
                m_escaped = false;
            } else {
                m_text += '"';
                m_state = State::between;
            }
            ++at;
            continue;
        }
        const char c = *at++;
        if (m_state == State::inString) {
            m_text += c;
            if (m_escaped) {
                m_escaped = false;
                m_string += c;
            } else if (c == '\\') {
                m_escaped = true;
                m_string += c;
            } else if (c == '"') {
                m_state = State::between;
                m_lastStringWasData = m_stringMayBeKey && m_string == "data";
            } else if (m_string.size() <= 4) {
                m_string += c;
            }
            continue;
        }
        m_text += c;
        if (c == '"') {
            m_state = m_dataValueNext ? State::inData : State::inString;
            m_stringMayBeKey = !m_dataValueNext;
            m_dataValueNext = false;
            m_escaped = false;
            m_string.clear();
        } else if (c == ':') {
            m_dataValueNext = m_lastStringWasData;
            m_lastStringWasData = false;
        } else if (c != ' ' && c != '\n' && c != '\r' && c != '\t') {
            m_dataValueNext = false;
            m_lastStringWasData = false;
        }
    }
}

std::optional<Capture> read(const QString& path, const std::function<bool()>& isCancelled, bool* textLeftOut)
{
    if (textLeftOut)
        *textLeftOut = false;
    QFile file;
    if (!openRegularFile(file, path))
        return std::nullopt;
    if (const std::optional<QByteArray> summary = keysFrom(file, bodyKey, "{\"attachments\": [],")) {
        if (std::optional<Capture> capture = decodeSummary(*summary))
            return capture;
    }
    if (!file.seek(0))
        return std::nullopt;
    DataElision elision;
    QByteArray piece(pieceSize, Qt::Uninitialized);
    for (;;) {
        if (isCancelled && isCancelled())
            return std::nullopt;
        const qint64 read = file.read(piece.data(), piece.size());
        if (read < 0)
            return std::nullopt;
        if (read == 0)
            break;
        elision.feed(QByteArrayView(piece.constData(), read));
        if (elision.text().size() > summaryLimit) {
            if (!textLeftOut)
                return std::nullopt;
            std::optional<Capture> capture = withoutText(file, path);
            *textLeftOut = capture.has_value();
            return capture;
        }
    }
    return decodeSummary(elision.text());
}

} // namespace quillor::CaptureSummary
