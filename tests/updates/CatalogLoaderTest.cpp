#include "updates/CatalogLoader.h"

#include "LocalHttpsServer.h"
#include "core/Error.h"
#include "core/Json.h"
#include "updates/ReleaseCatalog.h"
#include "updates/UpdateError.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QNetworkReply>
#include <QTcpServer>

#include <gtest/gtest.h>

#include <variant>

using namespace quillor;
using quillor::testing::LocalHttpsServer;

namespace {

using Response = LocalHttpsServer::Response;

// What a load ended with: the body, an UpdateError kind, or a transport
// failure's QNetworkReply error code.
struct TransportFailure {
    int code;
    bool operator==(const TransportFailure&) const = default;
};
using Outcome = std::variant<QByteArray, UpdateError::Kind, TransportFailure>;

std::ostream& operator<<(std::ostream& stream, const Outcome& outcome)
{
    if (const auto* body = std::get_if<QByteArray>(&outcome))
        return stream << "body of " << body->size() << " bytes";
    if (const auto* kind = std::get_if<UpdateError::Kind>(&outcome))
        return stream << "UpdateError " << int(*kind);
    return stream << "transport failure " << std::get<TransportFailure>(outcome).code;
}

Outcome wait(QFuture<QByteArray> future)
{
    QElapsedTimer clock;
    clock.start();
    while (!future.isFinished() && clock.elapsed() < 20'000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(future.isFinished()) << "the load never finished";
    if (!future.isFinished())
        return TransportFailure{-1};
    try {
        return future.result();
    } catch (const UpdateError& error) {
        return error.kind();
    } catch (const PlatformError& error) {
        EXPECT_EQ(error.domain(), "QNetworkReply");
        return TransportFailure{error.code()};
    }
}

class CatalogLoaderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.isListening()) << server.errorString().toStdString(); }

    CatalogRequest request() const
    {
        CatalogRequest request;
        request.server = UpdateServer{QStringLiteral("localhost"), server.port()};
        request.sslConfiguration = server.clientConfiguration();
        return request;
    }

    Outcome load() { return wait(CatalogLoader::loadCatalog(request())); }

    QByteArray origin(const char* scheme, const char* host, int port) const
    {
        return QByteArray(scheme) + "://" + host + ':' + QByteArray::number(port);
    }

    LocalHttpsServer server;
};

} // namespace

TEST_F(CatalogLoaderTest, ReturnsTheBodyOfA200Unchanged)
{
    const QByteArray body("{\"latest\": \"1.0.0\"}\r\n\0tail", 26);
    server.setResponse(Response{200, body});
    EXPECT_EQ(load(), Outcome(body));
    EXPECT_EQ(server.requestedPaths(), QStringList{"/releases.json"});
}

TEST_F(CatalogLoaderTest, AnyOtherStatusIsAnInvalidResponse)
{
    for (int status : {201, 203, 204, 304, 404, 500}) {
        server.setResponse(Response{status, "{}"});
        EXPECT_EQ(load(), Outcome(UpdateError::Kind::invalidResponse)) << status;
    }
}

TEST_F(CatalogLoaderTest, RedirectsAreFollowedOnlyOnTheSameOrigin)
{
    QTcpServer closedPort;   // a port nobody answers on once closed
    ASSERT_TRUE(closedPort.listen(QHostAddress::LocalHost));
    const int otherPort = closedPort.serverPort();
    closedPort.close();

    struct Case {
        QByteArray location;
        Outcome expected;
        int requests;
    };
    const Case cases[] = {
        {"/moved.json", Outcome(QByteArray("moved")), 2},
        {origin("https", "localhost", server.port()) + "/moved.json", Outcome(QByteArray("moved")), 2},
        // The same server under another name: followed, it would succeed.
        {origin("https", "127.0.0.1", server.port()) + "/moved.json", UpdateError::Kind::invalidResponse, 1},
        {origin("http", "localhost", server.port()) + "/moved.json", UpdateError::Kind::invalidResponse, 1},
        {origin("http", "localhost", otherPort) + "/moved.json", UpdateError::Kind::invalidResponse, 1},
        {origin("https", "localhost", otherPort) + "/moved.json", UpdateError::Kind::invalidResponse, 1},
    };
    for (const Case& c : cases) {
        server.setHandler([&](const QString& path) {
            if (path == "/moved.json")
                return Response{200, "moved"};
            return Response{302, "elsewhere", {{"Location", c.location}}};
        });
        const qsizetype before = server.requestedPaths().size();
        EXPECT_EQ(load(), c.expected) << c.location.toStdString();
        EXPECT_EQ(server.requestedPaths().size() - before, c.requests) << c.location.toStdString();
    }
}

TEST_F(CatalogLoaderTest, BodyLimitIsExactWithOrWithoutADeclaredLength)
{
    for (bool declared : {true, false}) {
        const QByteArray atLimit(CatalogLoader::bodyLimit, 'x');
        server.setResponse(Response{200, atLimit, {}, declared});
        EXPECT_EQ(load(), Outcome(atLimit)) << declared;
        server.setResponse(Response{200, atLimit + 'x', {}, declared});
        EXPECT_EQ(load(), Outcome(UpdateError::Kind::invalidResponse)) << declared;
    }
}

TEST_F(CatalogLoaderTest, TransportFailuresKeepTheirOwnError)
{
    server.setResponse(Response{200, {}, {}, true, /*stall=*/true});
    CatalogRequest stalled = request();
    stalled.transferTimeout = std::chrono::milliseconds(300);
    QElapsedTimer clock;
    clock.start();
    const Outcome timedOut = wait(CatalogLoader::loadCatalog(stalled));
    EXPECT_TRUE(std::holds_alternative<TransportFailure>(timedOut)) << timedOut;
    EXPECT_LT(clock.elapsed(), 5'000);

    // Verification stays on: without the test's CA the certificate is refused.
    server.setResponse(Response{200, "{}"});
    CatalogRequest untrusted = request();
    untrusted.sslConfiguration.reset();
    // An open connection to the same host and port keeps the TLS context it
    // was made with, which trusts the test's CA.
    CatalogLoader::sharedNetworkAccess().clearConnectionCache();
    EXPECT_EQ(wait(CatalogLoader::loadCatalog(untrusted)), Outcome(TransportFailure{QNetworkReply::SslHandshakeFailedError}));

    QTcpServer closedPort;
    ASSERT_TRUE(closedPort.listen(QHostAddress::LocalHost));
    CatalogRequest refused = request();
    refused.server.port = closedPort.serverPort();
    closedPort.close();
    EXPECT_EQ(wait(CatalogLoader::loadCatalog(refused)), Outcome(TransportFailure{QNetworkReply::ConnectionRefusedError}));
}

TEST_F(CatalogLoaderTest, LoadedCatalogsThatCannotBeUsed)
{
    // The loader passes any 200 body on; decoding and the version rules judge it.
    server.setResponse(Response{200, R"({"latest": "1.2.0", "releases": [)"});
    const Outcome broken = load();
    ASSERT_TRUE(std::holds_alternative<QByteArray>(broken)) << broken;
    EXPECT_THROW(ReleaseCatalog::decode(std::get<QByteArray>(broken)), JsonDecodingError);

    server.setResponse(Response{200, R"({"latest": "2.0.0", "releases": [{"version": "1.2.0", "date": "2025-01-31",
        "notes": [], "asset": "Quillor.AppImage", "notarized": true, "architecture": "universal",
        "minimum_macos": "14.0"}]})"});
    const Outcome latestMissing = load();
    ASSERT_TRUE(std::holds_alternative<QByteArray>(latestMissing)) << latestMissing;
    const ReleaseCatalog catalog = ReleaseCatalog::decode(std::get<QByteArray>(latestMissing));
    try {
        catalog.newer(QStringLiteral("1.0.0"));
        ADD_FAILURE() << "a catalog whose latest is missing was used";
    } catch (const UpdateError& error) {
        EXPECT_EQ(error.kind(), UpdateError::Kind::invalidCatalog);
    }
}
