#include "UpdatesTestSupport.h"
#include "updates/UpdateError.h"

#include <QElapsedTimer>
#include <QNetworkReply>
#include <QTcpServer>

#include <variant>

using namespace quillor;
using namespace quillor::test;

namespace {

using Response = LocalHttpsServer::Response;

// How a load ended: the body, an UpdateError, or a transport failure's code.
using Outcome = std::variant<QByteArray, UpdateError::Kind, QNetworkReply::NetworkError>;

Outcome load(const CatalogRequest& request)
{
    QFuture<QByteArray> future = CatalogLoader::loadCatalog(request);
    if (!waitUntil([&] { return future.isFinished(); }, std::chrono::seconds(20))) {
        ADD_FAILURE() << "the load never finished";
        return QNetworkReply::NoError;
    }
    try {
        return future.result();
    } catch (const UpdateError& error) {
        return error.kind();
    } catch (const PlatformError& error) {
        EXPECT_EQ(error.domain(), "QNetworkReply");
        return QNetworkReply::NetworkError(error.code());
    }
}

// A local port nobody listens on any more.
quint16 closedPort()
{
    QTcpServer server;
    EXPECT_TRUE(server.listen(QHostAddress::LocalHost));
    return server.serverPort();
}

class CatalogLoaderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.isListening()); }
    LocalHttpsServer server;
};

} // namespace

TEST_F(CatalogLoaderTest, ReturnsTheBodyOfA200UnchangedAndAnyOtherStatusIsAnInvalidResponse)
{
    const QByteArray body("{\"latest\": \"1.0.0\"}\r\n\0tail", 26);
    server.respond({200, body});
    EXPECT_EQ(load(server.request()), Outcome(body));
    EXPECT_EQ(server.requestedPaths, QStringList{"/releases.json"});
    for (int status : {201, 203, 204, 304, 404, 500}) {
        server.respond({status, "{}"});
        EXPECT_EQ(load(server.request()), Outcome(UpdateError::Kind::invalidResponse)) << status;
    }
}

TEST_F(CatalogLoaderTest, RedirectsAreFollowedOnlyOnTheSameOrigin)
{
    const QByteArray port = QByteArray::number(server.request().server.port.value());
    const QByteArray otherPort = QByteArray::number(closedPort());
    const struct {
        QByteArray location;
        Outcome expected;
    } cases[] = {
        {"/moved.json", QByteArray("moved")},
        {"https://localhost:" + port + "/moved.json", QByteArray("moved")},
        // The same server under another name: followed, it would succeed.
        {"https://127.0.0.1:" + port + "/moved.json", UpdateError::Kind::invalidResponse},
        {"http://localhost:" + port + "/moved.json", UpdateError::Kind::invalidResponse},
        {"http://localhost:" + otherPort + "/moved.json", UpdateError::Kind::invalidResponse},
        {"https://localhost:" + otherPort + "/moved.json", UpdateError::Kind::invalidResponse},
    };
    for (const auto& c : cases) {
        server.requestedPaths.clear();
        server.handler = [&](const QString& path) {
            return path == "/moved.json" ? Response{200, "moved"} : Response{302, "elsewhere", c.location};
        };
        EXPECT_EQ(load(server.request()), c.expected) << c.location.toStdString();
        // An off-origin target is refused before it is requested.
        EXPECT_EQ(server.requestedPaths.size(), c.expected.index() == 0 ? 2 : 1) << c.location.toStdString();
    }
}

TEST_F(CatalogLoaderTest, BodyLimitIsExactWithOrWithoutADeclaredLength)
{
    const QByteArray atLimit(CatalogLoader::bodyLimit, 'x');
    for (bool declared : {true, false}) {
        server.respond({200, atLimit, {}, declared});
        EXPECT_EQ(load(server.request()), Outcome(atLimit)) << declared;
        server.respond({200, atLimit + 'x', {}, declared});
        EXPECT_EQ(load(server.request()), Outcome(UpdateError::Kind::invalidResponse)) << declared;
    }
}

TEST_F(CatalogLoaderTest, TransportFailuresKeepTheirOwnError)
{
    server.respond({.stall = true});
    CatalogRequest stalled = server.request();
    stalled.transferTimeout = std::chrono::milliseconds(300);
    QElapsedTimer clock;
    clock.start();
    const Outcome timedOut = load(stalled);
    EXPECT_TRUE(std::holds_alternative<QNetworkReply::NetworkError>(timedOut)) << ::testing::PrintToString(timedOut);
    EXPECT_LT(clock.elapsed(), 5'000);

    // Verification stays on: without the test's CA the certificate is refused.
    // (A cached connection would keep the TLS context that trusts it.)
    server.respond({200, "{}"});
    CatalogRequest untrusted = server.request();
    untrusted.sslConfiguration.reset();
    CatalogLoader::sharedNetworkAccess().clearConnectionCache();
    EXPECT_EQ(load(untrusted), Outcome(QNetworkReply::SslHandshakeFailedError));

    CatalogRequest refused = server.request();
    refused.server.port = closedPort();
    EXPECT_EQ(load(refused), Outcome(QNetworkReply::ConnectionRefusedError));
}
