#include "updates/CatalogLoader.h"

#include "core/Error.h"
#include "updates/NetworkModule.h"
#include "updates/UpdateError.h"

#include <QPromise>

namespace quillor::CatalogLoader {

namespace {

QFuture<QByteArray> failed(const std::exception_ptr& failure)
{
    QPromise<QByteArray> promise;
    promise.start();
    promise.setException(failure);
    promise.finish();
    return promise.future();
}

} // namespace

QByteArray catalogBody(const CatalogResponse& response, const UpdateServer& server)
{
    // Our own refusals first: the transfer was stopped for them, and its
    // error (canceled) says nothing of the reason.
    if (response.redirectRefused || response.headTooLarge || response.body.size() > bodyLimit)
        throw UpdateError::invalidResponse();
    // A server that answered with another status failed our checks, whatever
    // ended the transfer after it: a redirect past the limit, say.
    if (response.httpStatus != 0 && response.httpStatus != 200)
        throw UpdateError::invalidResponse();
    if (response.error != TransferError::none)
        throw PlatformError(QString::fromLatin1(transferErrorDomain), int(response.error), response.errorText);
    if (response.httpStatus == 0 || !server.serves(response.finalUrl))
        throw UpdateError::invalidResponse();
    return response.body;
}

QFuture<QByteArray> loadCatalog(const CatalogRequest& request)
{
    CatalogTransport transport = request.transport;
    if (!transport) {
        transport = NetworkModule::catalogTransport();
        if (!transport)
            return failed(std::make_exception_ptr(UpdateError::networkUnavailable()));
    }
    CatalogTransfer transfer;
    transfer.url = request.server.catalogURL();
    transfer.followsRedirect = [server = request.server](const QUrl& target) { return server.serves(target); };
    transfer.transferTimeout = request.transferTimeout;
    transfer.deadline = request.deadline;
    transfer.bodyLimit = bodyLimit;
    return transport(transfer).then(
        [server = request.server](const CatalogResponse& response) { return catalogBody(response, server); });
}

} // namespace quillor::CatalogLoader
