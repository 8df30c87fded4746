#include "updates/network/HttpResponseReader.h"

#include <gtest/gtest.h>

#include <span>

using namespace quillor;

namespace {

using State = HttpResponseReader::State;
using Failure = HttpResponseReader::Failure;

constexpr qint64 headLimit = 80;
constexpr qint64 bodyLimit = 11;

struct Case {
    const char* name;
    QByteArray input;
    bool closed;   // the connection ends after the input
    State state;
    QByteArray body = {};
    Failure failure = Failure::malformed;
};

const QByteArray longHeader = "HTTP/1.1 200 OK\r\nX: " + QByteArray(headLimit, 'a');
// A head of exactly the limit, its blank line included.
const QByteArray fullHead = [] {
    const QByteArray start = "HTTP/1.1 200 OK\r\nX: ";
    return start + QByteArray(headLimit - start.size() - 4, 'a') + "\r\n\r\n";
}();

const Case cases[] = {
    {"declared length", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhelloNEXT", false, State::complete, "hello"},
    {"chunked with extensions and trailer",
     "HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip, Chunked\r\n\r\n5;x=1\r\nhello\r\n6\r\n world\r\n0\r\nT: x\r\n\r\n", false,
     State::complete, "hello world"},
    {"interim answer skipped", "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\ncontent-length: 2\r\n\r\nok", false,
     State::complete, "ok"},
    {"bare line ends, body to the end", "HTTP/1.0 200 OK\nServer: x\n\nabc", true, State::complete, "abc"},
    {"no body after 204", "HTTP/1.1 204 No Content\r\n\r\n", false, State::complete},
    {"head of exactly the limit", fullHead + "rest", true, State::complete, "rest"},
    {"body cut off one byte past its limit", "HTTP/1.1 200 OK\r\nContent-Length: 99\r\n\r\n" + QByteArray(99, 'b'), false,
     State::complete, QByteArray(bodyLimit + 1, 'b')},
    {"head past the limit", longHeader, false, State::failed, {}, Failure::headTooLarge},
    {"trailers past the limit", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n0\r\nT: " + QByteArray(headLimit, 't') + "\r\n",
     false, State::failed, {}, Failure::headTooLarge},
    {"not HTTP", "SSH-2.0-OpenSSH_9.2\r\n\r\n", false, State::failed},
    {"two different lengths", "HTTP/1.1 200 OK\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\n", false, State::failed},
    {"bad chunk size", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n", false, State::failed},
    {"chunk without its line end", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1\r\nxy\r\n", false, State::failed},
    {"closed inside the body", "HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\nabc", true, State::failed, {}, Failure::truncated},
    {"closed inside the head", "HTTP/1.1 200 OK\r\n", true, State::failed, {}, Failure::truncated},
};

const QByteArray chunked = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
const QByteArray paddedChunk = "1;" + QByteArray(50, 'e') + "\r\nx\r\n";

// Answers a careless reader could frame another way than the server meant,
// and interim heads sent without end.
const Case unambiguousCases[] = {
    {"interim heads past the limit together", QByteArray("HTTP/1.1 100 Continue\r\n\r\n").repeated(4) + "HTTP/1.1 200 OK\r\n\r\n",
     true, State::failed, {}, Failure::headTooLarge},
    {"204 declaring a length", "HTTP/1.1 204 No Content\r\nContent-Length: 5\r\n\r\n", false, State::complete},
    {"304 declaring chunks", "HTTP/1.1 304 Not Modified\r\nTransfer-Encoding: chunked\r\n\r\n", false, State::complete},
    {"a length, then chunks", "HTTP/1.1 200 OK\r\nContent-Length: 3\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n0\r\n\r\n",
     true, State::failed},
    {"chunks, then a length", chunked.chopped(2) + "Content-Length: 5\r\n\r\n0\r\n\r\n", true, State::failed},
    {"folded line continuing the field above", "HTTP/1.1 200 OK\r\nX-A: a\r\n Content-Length: 2\r\n\r\nhello", true,
     State::complete, "hello"},
    {"folded line with no field above", "HTTP/1.1 200 OK\r\n\tContent-Length: 2\r\n\r\nhello", true, State::failed},
    {"blank before a field name's colon", "HTTP/1.1 200 OK\r\nContent-Length : 2\r\n\r\nhello", true, State::failed},
    {"chunk size with 0x", chunked + "0x5\r\nhello\r\n0\r\n\r\n", true, State::failed},
    {"chunk size with a sign", chunked + "+5\r\nhello\r\n0\r\n\r\n", true, State::failed},
    {"chunk size after a blank", chunked + " 5\r\nhello\r\n0\r\n\r\n", true, State::failed},
    {"last chunk of size -0", chunked + "-0\r\n\r\n", true, State::failed},
    {"chunks padded past a head and a body", chunked + paddedChunk.repeated(2) + "0\r\n\r\n", true, State::failed},
};

HttpResponseReader read(const Case& test, qsizetype pieceSize)
{
    HttpResponseReader reader(headLimit, bodyLimit);
    for (qsizetype at = 0; at < test.input.size(); at += pieceSize)
        reader.feed(QByteArrayView(test.input).sliced(at, std::min(pieceSize, test.input.size() - at)));
    if (test.closed)
        reader.endOfStream();
    return reader;
}

// Whole or a byte at a time, the same answer reads the same.
void expectRead(std::span<const Case> table)
{
    for (const Case& test : table) {
        for (const qsizetype pieceSize : {test.input.size(), qsizetype(1)}) {
            SCOPED_TRACE(std::string(test.name) + (pieceSize == 1 ? ", byte by byte" : ", whole"));
            const HttpResponseReader reader = read(test, pieceSize);
            ASSERT_EQ(reader.state(), test.state);
            if (test.state == State::failed) {
                EXPECT_EQ(reader.failure(), test.failure);
                continue;
            }
            EXPECT_EQ(reader.body(), test.body);
            EXPECT_EQ(reader.bodyTooLong(), test.body.size() > bodyLimit);
        }
    }
}

} // namespace

TEST(HttpResponseReaderTest, ReadsEachFramingAndRefusesWhatPassesItsLimits) { expectRead(cases); }

TEST(HttpResponseReaderTest, AnswersAreFramedOneWayOnlyAndInterimHeadsAreBounded) { expectRead(unambiguousCases); }

TEST(HttpResponseReaderTest, ARedirectKeepsItsStatusAndLocation)
{
    HttpResponseReader reader(headLimit, bodyLimit);
    reader.feed("HTTP/1.1 302 Found\r\nLocation:  /moved.json \r\nContent-Length: 0\r\n\r\n");
    EXPECT_EQ(reader.state(), State::complete);
    EXPECT_EQ(reader.status(), 302);
    EXPECT_EQ(reader.location(), QByteArray("/moved.json"));
}
