#include "UpdatesTestSupport.h"
#include "updates/NetworkModule.h"
#include "updates/UpdateError.h"

#include <QTcpServer>

#include <variant>

using namespace quillor;
using namespace quillor::test;

namespace {

using Response = LocalHttpsServer::Response;
const UpdateError::Kind invalid = UpdateError::Kind::invalidResponse;

// How a load ended: the body, an UpdateError, or a transport failure's code.
using Outcome = std::variant<QByteArray, UpdateError::Kind, TransferError>;

Outcome load(const CatalogRequest& request)
{
    QFuture<QByteArray> future = CatalogLoader::loadCatalog(request);
    if (!waitUntil([&] { return future.isFinished(); }, std::chrono::seconds(20))) {
        ADD_FAILURE() << "the load never finished";
        return TransferError::none;
    }
    try {
        return future.result();
    } catch (const UpdateError& error) {
        return error.kind();
    } catch (const PlatformError& error) {
        EXPECT_EQ(error.domain(), CatalogLoader::transferErrorDomain);
        return TransferError(error.code());
    }
}

// A local port nobody listens on any more.
quint16 closedPort()
{
    QTcpServer server;
    EXPECT_TRUE(server.listen(QHostAddress::LocalHost));
    return server.serverPort();
}

struct CatalogLoaderTest : ::testing::Test {
    void SetUp() override { ASSERT_TRUE(server.isListening()); }
    LocalHttpsServer server;
};

} // namespace

TEST_F(CatalogLoaderTest, OnlyA200WithinTheBodyLimitGivesItsBodyUnchanged)
{
    const QByteArray body("{\"latest\": \"1.0.0\"}\r\n\0tail", 26);
    const QByteArray atLimit(CatalogLoader::bodyLimit, 'x');
    std::vector<std::pair<Response, Outcome>> cases = {{{200, body}, body}};
    for (int status : {204, 304, 500})
        cases.push_back({{status, "{}"}, invalid});
    // The limit is exact, whether the length is declared or the body is cut off as it arrives.
    for (bool declared : {true, false}) {
        cases.push_back({{200, atLimit, {}, declared}, atLimit});
        cases.push_back({{200, atLimit + 'x', {}, declared}, invalid});
    }
    for (const auto& [response, expected] : cases) {
        server.requestedPaths.clear();
        server.respond(response);
        EXPECT_EQ(load(server.request()), expected) << response.status << " " << response.body.size();
        EXPECT_EQ(server.requestedPaths, QStringList{"/releases.json"});
    }
}

TEST_F(CatalogLoaderTest, RedirectsAreFollowedOnlyOnTheSameOrigin)
{
    const QByteArray port = QByteArray::number(server.request().server.port.value());
    const QByteArray otherPort = QByteArray::number(closedPort());
    const std::pair<QByteArray, Outcome> cases[] = {
        {"/moved.json", QByteArray("moved")},
        {"https://localhost:" + port + "/moved.json", QByteArray("moved")},
        // The same server under another name: followed, it would succeed.
        {"https://127.0.0.1:" + port + "/moved.json", invalid},
        {"http://localhost:" + port + "/moved.json", invalid},
        {"https://localhost:" + otherPort + "/moved.json", invalid},
    };
    for (const auto& [location, expected] : cases) {
        server.requestedPaths.clear();
        server.handler = [&](const QString& path) {
            return path == "/moved.json" ? Response{200, "moved"} : Response{302, "elsewhere", location};
        };
        EXPECT_EQ(load(server.request()), expected) << location.toStdString();
        // An off-origin target is refused before it is requested.
        EXPECT_EQ(server.requestedPaths.size(), expected.index() == 0 ? 2 : 1) << location.toStdString();
    }
}

// The head of an answer is bounded like its body: an endless header line is
// refused once it passes the limit, and the connection dropped.
TEST_F(CatalogLoaderTest, HeadersPastTheirLimitAreRefusedAsTheyArrive)
{
    server.respond({.endlessHeader = true});
    EXPECT_EQ(load(server.request()), Outcome(invalid));
    EXPECT_LT(server.endlessHeaderSent, LocalHttpsServer::endlessHeaderCap / 2);
}

// Each answer is written and the connection left open: one read past its end
// would wait for the inactivity time-out, one read as another answer would
// be taken as it.
TEST_F(CatalogLoaderTest, EachAnswerIsReadToItsOwnEndAndNoFurther)
{
    const Outcome malformed = TransferError::malformedResponse;
    const std::pair<Response, Outcome> cases[] = {
        // Interim heads count against the head limit, however many come.
        {{.raw = "HTTP/1.1 100 Continue\r\n\r\n", .repeated = QByteArray("HTTP/1.1 100 Continue\r\n\r\n").repeated(10'000)},
         invalid},
        {{.raw = "HTTP/1.1 204 No Content\r\nContent-Length: 5\r\n\r\n", .keepOpen = true}, invalid},
        {{.raw = "HTTP/1.1 302 Found\r\nLocation: /moved.json\r\nContent-Length: 100\r\n\r\n", .keepOpen = true},
         QByteArray("moved")},
        {{.raw = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nok\r\n0\r\n\r\n",
          .keepOpen = true},
         malformed},
        {{.raw = "SSH-2.0-OpenSSH_9.2\r\n\r\n", .keepOpen = true}, malformed},
        {{.raw = "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabc"}, TransferError::connectionClosed},
    };
    CatalogRequest request = server.request();
    request.transferTimeout = std::chrono::seconds(3);
    for (const auto& [response, expected] : cases) {
        server.endlessHeaderSent = 0;
        server.handler = [&](const QString& path) { return path == "/moved.json" ? Response{200, "moved"} : response; };
        EXPECT_EQ(load(request), expected) << response.raw.toStdString();
        EXPECT_LT(server.endlessHeaderSent, LocalHttpsServer::endlessHeaderCap / 2);
    }
}

TEST_F(CatalogLoaderTest, RedirectsEndAtTheirLimitAndOnlyHttpsIsEverRequested)
{
    // The first request and as many redirects as Qt follows.
    server.respond({302, {}, "/again"});
    EXPECT_EQ(load(server.request()), Outcome(invalid));
    EXPECT_EQ(server.requestedPaths.size(), 51);

    const SilentServer silent;
    ASSERT_TRUE(silent.isListening());
    CatalogTransfer plain;
    plain.url = QUrl(QStringLiteral("http://localhost:%1/releases.json").arg(silent.port()));
    QFuture<CatalogResponse> future = server.transport()(plain);
    ASSERT_TRUE(waitUntil([&] { return future.isFinished(); }, std::chrono::seconds(20)));
    EXPECT_EQ(future.result().error, TransferError::unsupportedScheme);
    spin(std::chrono::milliseconds(50));
    EXPECT_FALSE(silent.wasReached());
}

// A byte per read keeps the thread busy at each one: the reads are bounded too.
TEST_F(CatalogLoaderTest, AnAnswerDribbledOutEndsAtTheReadLimit)
{
    const QByteArray body(300, 'x');
    server.respond({.body = body, .drip = true});
    for (const auto& [readLimit, expected] : {std::pair(qint64(100), TransferError::tooFragmented),
                                              std::pair(CatalogTransfer().readLimit, TransferError::none)}) {
        CatalogTransfer transfer;
        transfer.url = server.request().server.catalogURL();
        transfer.bodyLimit = body.size();
        transfer.readLimit = readLimit;
        QFuture<CatalogResponse> future = server.transport()(transfer);
        ASSERT_TRUE(waitUntil([&] { return future.isFinished(); }, std::chrono::seconds(20)));
        EXPECT_EQ(future.result().error, expected) << readLimit;
        EXPECT_EQ(future.result().body, expected == TransferError::none ? body : QByteArray()) << readLimit;
    }
}

TEST(CatalogLoaderHostTest, AnIpv6AddressKeepsItsBracketsInTheHostHeader)
{
    LocalHttpsServer server(QHostAddress::LocalHostIPv6);
    if (!server.isListening())
        GTEST_SKIP() << "no IPv6 loopback here";
    server.respond({200, "{}"});
    CatalogRequest request = server.request();
    request.server.host = "::1";
    EXPECT_EQ(load(request), Outcome(QByteArray("{}")));
    EXPECT_EQ(server.requestedHosts, QByteArrayList{"[::1]:" + QByteArray::number(server.port())});
}

// Nothing but the deadline ends a TLS handshake that never completes.
TEST_F(CatalogLoaderTest, AHandshakeThatNeverCompletesEndsAtTheDeadline)
{
    const SilentServer silent;
    ASSERT_TRUE(silent.isListening());
    EXPECT_EQ(load(silent.hanging(server.request())), Outcome(TransferError::timedOut));
    EXPECT_TRUE(silent.wasReached()) << "the connection was made; only the handshake hung";
}

// Time-outs are checked through the update checker (AppUpdatesTest).
TEST_F(CatalogLoaderTest, TransportFailuresKeepTheirOwnError)
{
    // Verification stays on: without the test's CA the certificate is refused.
    server.respond({200, "{}"});
    CatalogRequest untrusted = server.request();
    untrusted.transport = NetworkTransport::transport();
    EXPECT_EQ(load(untrusted), Outcome(TransferError::tlsFailed));

    CatalogRequest refused = server.request();
    refused.server.port = closedPort();
    EXPECT_EQ(load(refused), Outcome(TransferError::connectionRefused));
}

TEST_F(CatalogLoaderTest, TheProgramsNetworkModuleCarriesTheTransferAndAMissingOneIsReported)
{
    // The module beside the program trusts only the system's authorities: it
    // reaches the server and refuses its own certificate, a transport failure.
    const NetworkModule::TransferFunction transfer = NetworkModule::loadFrom(
        QStringLiteral(QUILLOR_PROGRAM_DIRECTORY "/") + QString::fromLatin1(NetworkModule::fileName));
    ASSERT_NE(transfer, nullptr);
    server.respond({200, "{}"});
    CatalogRequest request = server.request();
    request.transport = transfer;
    EXPECT_EQ(load(request), Outcome(TransferError::tlsFailed));

    // No module beside this test program: the check fails with its own error.
    request.transport = {};
    EXPECT_EQ(load(request), Outcome(UpdateError::Kind::networkUnavailable));
    EXPECT_FALSE(UpdateError::networkUnavailable().localizedDescription().isEmpty());
}
