#pragma once

#include "updates/CatalogTransfer.h"

#include <QString>

namespace quillor {

// The network side of the update checker lives in a module of its own,
// libquillor-network.so beside the program, loaded at the first check: Qt
// Network and the libraries it brings (Kerberos, proxies, TLS) then cost
// nothing to a start, which rarely checks for updates at once.
namespace NetworkModule {

// The file name of the module, and the name of its one entry point.
inline constexpr char fileName[] = "libquillor-network.so";
inline constexpr char entryPoint[] = "quillorCatalogTransport";

// The signature of the entry point: the module's transfer function.
using TransferFunction = QFuture<CatalogResponse> (*)(const CatalogTransfer&);
using EntryPoint = TransferFunction (*)();

// The module's transport, loaded once from the program's folder; none when
// the module cannot be loaded (the reason goes to the log once).
CatalogTransport catalogTransport();

// The transfer function of the module at `path`; null when it cannot be
// loaded. The module stays loaded.
TransferFunction loadFrom(const QString& path);

} // namespace NetworkModule
} // namespace quillor
