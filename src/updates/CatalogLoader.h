#pragma once

#include "updates/CatalogTransfer.h"
#include "updates/UpdateServer.h"

#include <QByteArray>
#include <QFuture>

#include <chrono>

namespace quillor {

// How the catalog is fetched. The defaults are the production ones; tests
// inject a local server, a short time-out and a transport whose SSL
// configuration trusts their own certificate (verification is never turned
// off).
struct CatalogRequest {
    UpdateServer server = UpdateServer::configured();
    // Inactivity time-out of the transfer, and the time the whole of it may take.
    std::chrono::milliseconds transferTimeout{30'000};
    std::chrono::milliseconds deadline{60'000};
    // None: the network module's, loaded at the first check (NetworkModule).
    CatalogTransport transport;
};

namespace CatalogLoader {

// The largest body accepted; a longer one is cut off while it arrives.
inline constexpr qint64 bodyLimit = 2'000'000;

// GET <server>/releases.json, bypassing any cache, following redirects that
// stay on the server's origin. Must be called on the thread of the
// QCoreApplication (the network side's connections live there); the future
// finishes on that thread's event loop.
//
// The future holds the body unchanged, or an exception:
// - UpdateError::invalidResponse(): a status other than 200, a redirect or a
//   final address off the server's origin (scheme "https", exact host, same
//   port), headers over the transfer's head limit, or a body over bodyLimit
//   bytes;
// - PlatformError with domain "QNetworkReply" and code QNetworkReply::NetworkError:
//   a transport failure (no connection, TLS, time-out: TimeoutError, also past
//   the deadline), its text the transport's (Qt's own for socket errors);
// - UpdateError::networkUnavailable(): the network module could not be loaded.
// Read it with future.then(context, [](QFuture<QByteArray> f) { f.result(); ... })
// or .onFailed(context, [](const UpdateError&) { ... }).
QFuture<QByteArray> loadCatalog(const CatalogRequest& request = {});

// The body of a usable response; throws as above for any other.
QByteArray catalogBody(const CatalogResponse& response, const UpdateServer& server);

} // namespace CatalogLoader
} // namespace quillor
