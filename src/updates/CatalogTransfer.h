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
    // The transfer fails once it has read from the network this many times.
    // Each read costs the thread a wake-up and a TLS record's decryption,
    // whatever it brings: a server sending a byte per record kept it busy
    // for seconds within the other limits. A server sending sensibly fills a
    // packet per record, if not 16 KB: 2 MB come in about 1,500 reads; this
    // still lets them come in records of 64 bytes.
    qint64 readLimit = 32 * 1024;
};

// Why a transfer ended without an answer to check.
enum class TransferError {
    none,
    connectionRefused,
    hostNotFound,
    connectionClosed,    // by the server, before the answer ended
    timedOut,            // inactive too long, or past the deadline
    tlsFailed,           // the handshake, the certificate included
    malformedResponse,   // not an HTTP/1.1 answer that reads one way only
    tooManyRedirects,
    tooFragmented,       // past the transfer's read limit
    unsupportedScheme,   // an address that is not https
    canceled,            // stopped by the caller's own refusal, or at exit
    other,
};

struct CatalogResponse {
    QByteArray body;
    QUrl finalUrl;
    int httpStatus = 0;        // 0: the transfer ended before any status
    TransferError error = TransferError::none;
    QString errorText;         // the socket's text of the error, or one in its manner (English, for logs)
    bool redirectRefused = false;
    bool headTooLarge = false;

    bool operator==(const CatalogResponse&) const = default;
};

// How a transfer travels; the future finishes on the thread that asked.
using CatalogTransport = std::function<QFuture<CatalogResponse>(const CatalogTransfer&)>;

} // namespace quillor
