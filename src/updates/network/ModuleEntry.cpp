// The entry point of libquillor-network.so, which NetworkModule loads at the
// first update check.

#include "updates/NetworkModule.h"
#include "updates/network/NetworkTransport.h"

namespace {

QFuture<quillor::CatalogResponse> transferWithSystemTrust(const quillor::CatalogTransfer& request)
{
    return quillor::NetworkTransport::transfer(request);
}

} // namespace

extern "C" Q_DECL_EXPORT quillor::NetworkModule::TransferFunction quillorCatalogTransport()
{
    return &transferWithSystemTrust;
}
