#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

namespace quillor {

// Reads one HTTP/1.1 response as its bytes arrive, holding no more than it
// was allowed: the status lines and headers up to `headLimit` bytes, interim
// (1xx) answers included, the body up to `bodyLimit` bytes and one more
// (enough to tell that it is too long). Knows bodies of a declared length,
// chunked bodies and bodies that end with the connection; a 204 or a 304 has
// none, whatever its headers say. A folded header line continues the field
// above it. Whatever could make one answer read two ways (two framings, a
// blank before a field name's colon, a chunk size in any form but hex digits)
// makes it malformed. No sockets: the transfer feeds it.
class HttpResponseReader {
public:
    enum class State {
        head,       // reading the status line and headers
        body,       // reading the body
        complete,   // the whole response, or a body cut off past its limit
        failed,     // see failure()
    };
    enum class Failure {
        headTooLarge,   // the headers went past headLimit
        malformed,      // not an HTTP/1.x response
        truncated,      // the connection ended before the response did
    };

    HttpResponseReader(qint64 headLimit, qint64 bodyLimit) : m_headLimit(headLimit), m_bodyLimit(bodyLimit) {}

    // Takes the next bytes; those after the end of the response are ignored.
    void feed(QByteArrayView bytes);
    // The connection ended: a body that runs to its end is complete there.
    void endOfStream();

    State state() const { return m_state; }
    Failure failure() const { return m_failure; }
    int status() const { return m_status; }
    // The Location header, when there is one.
    const std::optional<QByteArray>& location() const { return m_location; }
    const QByteArray& body() const { return m_body; }
    bool bodyTooLong() const { return m_body.size() > m_bodyLimit; }

private:
    enum class Framing { length, chunked, untilClose };
    enum class ChunkStep { size, data, dataEnd, trailer };

    qsizetype feedHead(QByteArrayView bytes);
    bool parseHead(QByteArrayView head);
    qsizetype feedBody(QByteArrayView bytes);
    qsizetype feedChunked(QByteArrayView bytes);
    // Reads a CRLF-ended line of the chunked framing into m_line; nullopt
    // while it is incomplete. Counts the bytes it took in `used`.
    std::optional<QByteArray> takeLine(QByteArrayView bytes, qsizetype& used);
    void appendBody(QByteArrayView bytes);
    void fail(Failure failure);

    const qint64 m_headLimit;
    const qint64 m_bodyLimit;
    State m_state = State::head;
    Failure m_failure = Failure::malformed;
    QByteArray m_head;
    qint64 m_headBytes = 0;     // of the heads read so far, interim ones included
    int m_status = 0;
    std::optional<QByteArray> m_location;
    Framing m_framing = Framing::untilClose;
    qint64 m_remaining = 0;   // of a declared length or of the current chunk
    ChunkStep m_chunkStep = ChunkStep::size;
    QByteArray m_line;
    qint64 m_framingBytes = 0;  // of the chunks' size lines and line ends
    qint64 m_trailerBytes = 0;
    QByteArray m_body;
};

} // namespace quillor
