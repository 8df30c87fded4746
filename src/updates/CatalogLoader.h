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

// The domain of the PlatformErrors of transport failures.
inline constexpr char transferErrorDomain[] = "Quillor.Network";

// The largest body accepted; a longer one is cut off while it arrives.
inline constexpr qint64 bodyLimit = 2'000'000;

// GET <server>/releases.json, bypassing any cache, following redirects that
// stay on the server's origin. Must be called on the thread of the
// QCoreApplication (the network side's connections live there); the future
// finishes on that thread's event loop.
//
// The future holds the body unchanged, or an exception:
// - UpdateError::invalidResponse(): a status other than 200 (the last
//   redirect's when they pass the limit), a redirect or a final address off
//   the server's origin (scheme "https", exact host, same port), headers over
//   the transfer's head limit, or a body over bodyLimit bytes;
// - PlatformError with domain transferErrorDomain and a TransferError as its
//   code: a transport failure (no connection, TLS, time-out: timedOut, also
//   past the deadline; an answer that is not HTTP/1.1 read one way only:
//   malformedResponse), its text the transport's (Qt's own for socket
//   errors, in English: the check's French status is what the user reads);
// - UpdateError::networkUnavailable(): the network module could not be loaded.
// Read it with future.then(context, [](QFuture<QByteArray> f) { f.result(); ... })
// or .onFailed(context, [](const UpdateError&) { ... }).
QFuture<QByteArray> loadCatalog(const CatalogRequest& request = {});

// The body of a usable response; throws as above for any other.
QByteArray catalogBody(const CatalogResponse& response, const UpdateServer& server);

} // namespace CatalogLoader
} // namespace quillor
