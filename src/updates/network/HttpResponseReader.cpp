#include "updates/network/HttpResponseReader.h"

#include <QByteArrayList>

#include <algorithm>
#include <cctype>
#include <limits>
#include <utility>

namespace quillor {

namespace {

// Where the head ends: just past its first empty line, bare LF line ends
// allowed; -1 while there is none. Starts looking at `from`.
qsizetype headEnd(const QByteArray& head, qsizetype from)
{
    qsizetype end = -1;
    for (const QByteArrayView terminator : {QByteArrayView("\n\n"), QByteArrayView("\n\r\n")}) {
        const qsizetype at = head.indexOf(terminator, from);
        if (at >= 0 && (end < 0 || at + terminator.size() < end))
            end = at + terminator.size();
    }
    return end;
}

QByteArray withoutCarriageReturn(QByteArray line)
{
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

// "HTTP/1.x 200 OK" → 200.
std::optional<int> statusOf(const QByteArray& line)
{
    if (!line.startsWith("HTTP/1.") || line.size() < 12 || line[8] != ' ')
        return std::nullopt;
    bool ok = false;
    const int status = line.mid(9, 3).toInt(&ok);
    if (!ok || status < 100 || (line.size() > 12 && line[12] != ' '))
        return std::nullopt;
    return status;
}

std::optional<qint64> decimal(QByteArrayView text)
{
    if (text.isEmpty() || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

// The characters of a field name; a blank before the colon is none of them.
bool isToken(QByteArrayView name)
{
    return !name.isEmpty() && std::all_of(name.begin(), name.end(), [](char c) {
        return std::isalnum(uchar(c)) || QByteArrayView("!#$%&'*+-.^_`|~").contains(c);
    });
}

// A chunk's size line: hex digits, then extensions after a ";" that blanks
// may precede. No sign, no "0x", no blank before the digits.
std::optional<qint64> chunkSize(QByteArrayView line)
{
    const qsizetype extensions = line.indexOf(';');
    QByteArrayView digits = extensions < 0 ? line : line.first(extensions);
    while (extensions >= 0 && (digits.endsWith(' ') || digits.endsWith('\t')))
        digits.chop(1);
    if (digits.isEmpty())
        return std::nullopt;
    qint64 size = 0;
    for (const char c : digits) {
        const int digit = QByteArrayView("0123456789abcdef").indexOf(char(std::tolower(uchar(c))));
        if (digit < 0 || size > (std::numeric_limits<qint64>::max() >> 4))
            return std::nullopt;
        size = size * 16 + digit;
    }
    return size;
}

struct Field {
    QByteArray name;   // lower case
    QByteArray value;
};

// The field lines after the status line. An obsolete folded line continues
// the value above it after a space; one with no field above, or a name that
// is no token, makes the head malformed.
std::optional<QList<Field>> fieldsOf(const QByteArrayList& lines)
{
    QList<Field> fields;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = withoutCarriageReturn(lines[i]);
        if (line.isEmpty())
            continue;
        if (line.startsWith(' ') || line.startsWith('\t')) {
            if (fields.isEmpty())
                return std::nullopt;
            fields.last().value = (fields.last().value + ' ' + line.trimmed()).trimmed();
            continue;
        }
        const qsizetype colon = line.indexOf(':');
        if (colon < 0 || !isToken(QByteArrayView(line).first(colon)))
            return std::nullopt;
        fields.append({line.first(colon).toLower(), line.mid(colon + 1).trimmed()});
    }
    return fields;
}

} // namespace

void HttpResponseReader::feed(QByteArrayView bytes)
{
    while (!bytes.isEmpty() && (m_state == State::head || m_state == State::body)) {
        const qsizetype used = m_state == State::head ? feedHead(bytes) : feedBody(bytes);
        bytes = bytes.sliced(used);
    }
}

void HttpResponseReader::endOfStream()
{
    if (m_state == State::body && m_framing == Framing::untilClose)
        m_state = State::complete;
    else if (m_state == State::head || m_state == State::body)
        fail(Failure::truncated);
}

qsizetype HttpResponseReader::feedHead(QByteArrayView bytes)
{
    // Interim heads count against the limit too: it bounds all that comes
    // before the body, however many heads a server sends.
    const qint64 limit = m_headLimit - m_headBytes;
    // Never more than the limit and the one byte that shows it was passed.
    const qsizetype previous = m_head.size();
    const qsizetype taken = std::min<qsizetype>(bytes.size(), limit + 1 - previous);
    m_head += bytes.first(taken);
    const qsizetype end = headEnd(m_head, std::max<qsizetype>(0, previous - 2));
    if (end < 0 || end > limit) {
        if (m_head.size() > limit)
            fail(Failure::headTooLarge);
        return taken;
    }
    m_headBytes += end;
    const QByteArray head = m_head.first(end);
    m_head.clear();
    if (!parseHead(head))
        fail(Failure::malformed);
    // What followed the head belongs to the body, or to the next head.
    return end - previous;
}

bool HttpResponseReader::parseHead(QByteArrayView head)
{
    const QByteArrayList lines = head.toByteArray().split('\n');
    const std::optional<int> status = statusOf(withoutCarriageReturn(lines.first()));
    const std::optional<QList<Field>> fields = fieldsOf(lines);
    if (!status || !fields)
        return false;
    // An interim answer has no body: the real answer follows.
    if (*status < 200)
        return true;
    qint64 length = -1;   // none declared
    bool encoded = false;   // a Transfer-Encoding was sent
    QByteArray lastCoding;
    m_location.reset();
    for (const auto& [name, value] : *fields) {
        if (name == "content-length") {
            const std::optional<qint64> declared = decimal(value);
            if (!declared || (length >= 0 && length != *declared))
                return false;
            length = *declared;
        } else if (name == "transfer-encoding") {
            encoded = true;
            for (const QByteArray& coding : value.split(','))
                if (!coding.trimmed().isEmpty())
                    lastCoding = coding.trimmed().toLower();
        } else if (name == "location") {
            m_location = value;
        }
    }
    m_status = *status;
    m_state = State::body;
    if (m_status == 204 || m_status == 304) {
        m_state = State::complete;
    } else if (encoded) {
        // Framed two ways, the answer may be read as two answers: refused.
        if (length >= 0)
            return false;
        // Any other coding last: the body runs to the end of the connection.
        if (lastCoding == "chunked")
            m_framing = Framing::chunked;
    } else if (length >= 0) {
        m_framing = Framing::length;
        m_remaining = length;
        if (m_remaining == 0)
            m_state = State::complete;
    }
    return true;
}

qsizetype HttpResponseReader::feedBody(QByteArrayView bytes)
{
    switch (m_framing) {
    case Framing::untilClose:
        appendBody(bytes);
        return bytes.size();
    case Framing::chunked:
        return feedChunked(bytes);
    case Framing::length:
        break;
    }
    const qsizetype taken = qsizetype(std::min<qint64>(bytes.size(), m_remaining));
    appendBody(bytes.first(taken));
    m_remaining -= taken;
    if (m_remaining == 0)
        m_state = State::complete;
    return taken;
}

qsizetype HttpResponseReader::feedChunked(QByteArrayView bytes)
{
    qsizetype used = 0;
    if (m_chunkStep == ChunkStep::data) {
        used = qsizetype(std::min<qint64>(bytes.size(), m_remaining));
        appendBody(bytes.first(used));
        m_remaining -= used;
        if (m_remaining == 0)
            m_chunkStep = ChunkStep::dataEnd;
        return used;
    }
    const std::optional<QByteArray> line = takeLine(bytes, used);
    // Cut into many small chunks, or padded with extensions, a body could
    // make any amount of framing go through: a head's and a body's worth is
    // far more than any server cutting its answer sensibly needs.
    if (m_chunkStep != ChunkStep::trailer && (m_framingBytes += used) > m_headLimit + m_bodyLimit)
        fail(Failure::malformed);
    if (!line || m_state == State::failed)
        return used;
    switch (m_chunkStep) {
    case ChunkStep::size: {
        const std::optional<qint64> size = chunkSize(*line);
        if (!size) {
            fail(Failure::malformed);
            break;
        }
        m_remaining = *size;
        m_chunkStep = m_remaining == 0 ? ChunkStep::trailer : ChunkStep::data;
        break;
    }
    case ChunkStep::dataEnd:
        if (!line->isEmpty())
            fail(Failure::malformed);
        m_chunkStep = ChunkStep::size;
        break;
    case ChunkStep::trailer:
        m_trailerBytes += line->size();
        if (line->isEmpty())
            m_state = State::complete;
        else if (m_trailerBytes > m_headLimit)
            fail(Failure::headTooLarge);
        break;
    case ChunkStep::data:
        break;
    }
    return used;
}

std::optional<QByteArray> HttpResponseReader::takeLine(QByteArrayView bytes, qsizetype& used)
{
    const qsizetype newline = bytes.indexOf('\n');
    used = newline < 0 ? bytes.size() : newline + 1;
    m_line += bytes.first(newline < 0 ? bytes.size() : newline);
    if (m_line.size() > m_headLimit) {
        // Trailers are headers too; a chunk's size line is never that long.
        fail(m_chunkStep == ChunkStep::trailer ? Failure::headTooLarge : Failure::malformed);
        return std::nullopt;
    }
    if (newline < 0)
        return std::nullopt;
    return withoutCarriageReturn(std::exchange(m_line, {}));
}

void HttpResponseReader::appendBody(QByteArrayView bytes)
{
    m_body += bytes.first(std::min<qsizetype>(bytes.size(), m_bodyLimit + 1 - m_body.size()));
    // Past the limit the rest is of no use: the caller stops reading.
    if (bodyTooLong())
        m_state = State::complete;
}

void HttpResponseReader::fail(Failure failure)
{
    m_state = State::failed;
    m_failure = failure;
}

} // namespace quillor
