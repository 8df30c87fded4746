#include "updates/network/HttpResponseReader.h"

#include <QByteArrayList>

#include <algorithm>
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
    // Never more than the limit and the one byte that shows it was passed.
    const qsizetype previous = m_head.size();
    const qsizetype taken = std::min<qsizetype>(bytes.size(), m_headLimit + 1 - previous);
    m_head += bytes.first(taken);
    const qsizetype end = headEnd(m_head, std::max<qsizetype>(0, previous - 2));
    if (end < 0 || end > m_headLimit) {
        if (m_head.size() > m_headLimit)
            fail(Failure::headTooLarge);
        return taken;
    }
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
    if (!status)
        return false;
    qint64 length = -1;   // none declared
    bool chunked = false;
    m_location.reset();
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = withoutCarriageReturn(lines[i]);
        if (line.isEmpty())
            continue;
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            return false;
        const QByteArray name = line.first(colon).trimmed().toLower();
        const QByteArray value = line.mid(colon + 1).trimmed();
        if (name == "content-length") {
            const std::optional<qint64> declared = decimal(value);
            if (!declared || (length >= 0 && length != *declared))
                return false;
            length = *declared;
        } else if (name == "transfer-encoding") {
            chunked = value.split(',').last().trimmed().toLower() == "chunked";
            // Any other coding last: the body runs to the end of the connection.
            length = -1;
        } else if (name == "location") {
            m_location = value;
        }
    }
    // An interim answer: the real one follows.
    if (*status < 200)
        return true;
    m_status = *status;
    m_state = State::body;
    if (chunked) {
        m_framing = Framing::chunked;
    } else if (length >= 0 || m_status == 204 || m_status == 304) {
        m_framing = Framing::length;
        m_remaining = std::max<qint64>(length, 0);
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
    if (!line)
        return used;
    switch (m_chunkStep) {
    case ChunkStep::size: {
        bool ok = false;
        const qsizetype extensions = line->indexOf(';');
        const QByteArray digits = (extensions < 0 ? *line : line->first(extensions)).trimmed();
        m_remaining = digits.toLongLong(&ok, 16);
        if (!ok || digits.isEmpty() || m_remaining < 0)
            fail(Failure::malformed);
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
