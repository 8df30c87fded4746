#pragma once

#include "updates/CatalogTransfer.h"

#include <QSslConfiguration>

#include <optional>

namespace quillor::NetworkTransport {

// Carries out a transfer over TLS sockets of its own, on the thread of the
// QCoreApplication: one HTTP/1.1 GET per address, read through
// HttpResponseReader, so that nothing the server sends is held past the
// transfer's limits and no stage of it (connection, handshake, headers, body)
// outlasts its deadline. `ssl` replaces the application's default
// configuration (the system's CAs); tests pass one that trusts their own
// certificate.
QFuture<CatalogResponse> transfer(const CatalogTransfer& transfer,
                                  const std::optional<QSslConfiguration>& ssl = std::nullopt);

// transfer() as a transport, with its SSL configuration.
CatalogTransport transport(std::optional<QSslConfiguration> ssl = std::nullopt);

} // namespace quillor::NetworkTransport
