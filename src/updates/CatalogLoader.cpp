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
    // Our own refusals first: the transfer was aborted for them, and the
    // abort's error (OperationCanceledError) says nothing of the reason.
    if (response.redirectRefused || response.headTooLarge || response.body.size() > bodyLimit)
        throw UpdateError::invalidResponse();
    // Qt reports an HTTP error status as a network error too; the server did
    // answer, so it is a response that fails its checks, not a transport failure.
    if (response.httpStatus != 0 && response.httpStatus != 200)
        throw UpdateError::invalidResponse();
    if (response.networkError != 0)
        throw PlatformError(QStringLiteral("QNetworkReply"), response.networkError, response.errorText);
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
