#include "core/CaptureSummary.h"

#include "core/Json.h"

#include <QFile>

#include <algorithm>
#include <cstring>

namespace quillor::CaptureSummary {

namespace {

// More than any capture's text and references; attachments excluded.
constexpr qsizetype summaryLimit = 32 * 1024 * 1024;
constexpr qsizetype pieceSize = 1024 * 1024;
// A top-level key of the indented form (strings hold no raw line break), and
// the first one after "attachments" in its key order.
constexpr char bodyKey[] = "\n    \"body\": ";

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

// The keys after "attachments", read from the end of the file backwards in
// growing pieces. nullopt when the file is not laid out so.
std::optional<QByteArray> keysAfterAttachments(QFile& file)
{
    const qint64 size = file.size();
    for (qint64 length = std::min<qint64>(size, 64 * 1024);;
         length = std::min<qint64>({size, length * 4, summaryLimit})) {
        if (!file.seek(size - length))
            return std::nullopt;
        const QByteArray tail = file.read(length);
        if (tail.size() != length)
            return std::nullopt;
        const qsizetype at = tail.lastIndexOf(bodyKey);
        if (at >= 0)
            return QByteArray("{\"attachments\": [],") + tail.mid(at);
        if (length == size || length >= summaryLimit)
            return std::nullopt;
    }
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

std::optional<Capture> read(const QString& path, const std::function<bool()>& isCancelled)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.isSequential())
        return std::nullopt;
    if (const std::optional<QByteArray> summary = keysAfterAttachments(file)) {
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
        if (elision.text().size() > summaryLimit)
            return std::nullopt;
    }
    return decodeSummary(elision.text());
}

} // namespace quillor::CaptureSummary
