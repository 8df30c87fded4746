#pragma once

#include "updates/CatalogTransfer.h"

#include <QSslConfiguration>

#include <optional>

class QNetworkAccessManager;

namespace quillor::NetworkTransport {

// Carries out a transfer with Qt Network, on the thread of the
// QCoreApplication. `ssl` replaces the application's default configuration
// (the system's CAs); tests pass one that trusts their own certificate.
QFuture<CatalogResponse> transfer(const CatalogTransfer& transfer,
                                  const std::optional<QSslConfiguration>& ssl = std::nullopt);

// transfer() as a transport, with its SSL configuration.
CatalogTransport transport(std::optional<QSslConfiguration> ssl = std::nullopt);

// The one network access manager of the application, created on first use as
// a child of the QCoreApplication.
QNetworkAccessManager& sharedNetworkAccess();

} // namespace quillor::NetworkTransport
