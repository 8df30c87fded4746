#pragma once

#include <QByteArray>
#include <QFuture>
#include <QString>
#include <QUrl>

#include <chrono>
#include <functional>

namespace quillor {

// One GET of the release catalog as the network side carries it out. That
// side knows nothing of our errors and checks: it reports what it saw, and
// CatalogLoader decides whether the answer is usable. Header-only: the
// network module, loaded on demand, shares these types and no code.
struct CatalogTransfer {
    QUrl url;
    // Asked about each redirect before it is followed; a refused one ends
    // the transfer.
    std::function<bool(const QUrl&)> followsRedirect;
    // Inactivity time-out of the transfer.
    std::chrono::milliseconds transferTimeout{30'000};
    // The whole transfer (connections, TLS handshakes, headers and bodies,
    // redirects included) ends as timed out past this.
    std::chrono::milliseconds deadline{60'000};
    // Reading stops once the body holds one byte more than this.
    qint64 bodyLimit = 0;
    // A response whose status line and headers pass this many bytes is
    // refused as soon as it does.
    qint64 headLimit = 64 * 1024;
};

struct CatalogResponse {
    QByteArray body;
    QUrl finalUrl;
    int httpStatus = 0;        // 0: the transfer ended before any status
    int networkError = 0;      // a QNetworkReply::NetworkError; 0: none
    QString errorText;         // the socket's text of networkError, or one in its manner
    bool redirectRefused = false;
    bool headTooLarge = false;

    bool operator==(const CatalogResponse&) const = default;
};

// How a transfer travels; the future finishes on the thread that asked.
using CatalogTransport = std::function<QFuture<CatalogResponse>(const CatalogTransfer&)>;

} // namespace quillor
