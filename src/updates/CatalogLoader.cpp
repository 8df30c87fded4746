#include "updates/CatalogLoader.h"

#include "core/Error.h"
#include "updates/UpdateError.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QPromise>
#include <QThread>

#include <exception>
#include <memory>

namespace quillor::CatalogLoader {

namespace {

// How much the reply may hold before the network stops reading from the
// socket: the body limit is enforced as data arrives, so the network layer
// must not run ahead of it and buffer an arbitrarily long answer.
constexpr qint64 readBufferSize = 64 * 1024;

// One request in flight. The reply's signals finish the promise; a failure we
// detect ourselves is kept here before aborting, so that the abort's own
// error (OperationCanceledError) does not replace it.
struct Transfer {
    QPromise<QByteArray> promise;
    UpdateServer server;
    QByteArray body;
    std::exception_ptr failure;
    bool finished = false;
};

void fail(Transfer& transfer, QNetworkReply* reply, std::exception_ptr failure)
{
    if (!transfer.failure)
        transfer.failure = std::move(failure);
    reply->abort();
}

void onRedirected(Transfer& transfer, QNetworkReply* reply, const QUrl& target)
{
    if (!transfer.server.serves(target)) {
        fail(transfer, reply, std::make_exception_ptr(UpdateError::invalidResponse()));
        return;
    }
    transfer.body.clear();
    Q_EMIT reply->redirectAllowed();
}

// Takes only what fits under the limit plus one byte, enough to tell that the
// answer is too long; the rest is never read.
void onReadyRead(Transfer& transfer, QNetworkReply* reply)
{
    if (transfer.failure || !reply->isOpen())
        return;
    transfer.body += reply->read(bodyLimit + 1 - transfer.body.size());
    if (transfer.body.size() > bodyLimit)
        fail(transfer, reply, std::make_exception_ptr(UpdateError::invalidResponse()));
}

// The reason a finished reply is not a usable catalog; null when it is.
std::exception_ptr failureOf(const Transfer& transfer, const QNetworkReply& reply)
{
    if (transfer.failure)
        return transfer.failure;
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    // Qt reports an HTTP error status as a network error too; the server did
    // answer, so it is a response that fails its checks, not a transport failure.
    if (status.isValid() && status.toInt() != 200)
        return std::make_exception_ptr(UpdateError::invalidResponse());
    if (reply.error() != QNetworkReply::NoError)
        return std::make_exception_ptr(
            PlatformError(QStringLiteral("QNetworkReply"), int(reply.error()), reply.errorString()));
    if (!status.isValid() || !transfer.server.serves(reply.url()) || transfer.body.size() > bodyLimit)
        return std::make_exception_ptr(UpdateError::invalidResponse());
    return nullptr;
}

void onFinished(Transfer& transfer, QNetworkReply* reply)
{
    if (transfer.finished)
        return;
    transfer.finished = true;
    reply->deleteLater();
    onReadyRead(transfer, reply);   // anything that arrived with the end of the reply
    if (const std::exception_ptr failure = failureOf(transfer, *reply))
        transfer.promise.setException(failure);
    else
        transfer.promise.addResult(transfer.body);
    transfer.promise.finish();
}

QNetworkRequest networkRequest(const CatalogRequest& request)
{
    QNetworkRequest networkRequest(request.server.catalogURL());
    networkRequest.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    // Qt's own policies follow a redirect before we can look at it and turn
    // https → http into a transport error; checking each target ourselves keeps
    // every off-origin redirect an invalid response.
    networkRequest.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                                QNetworkRequest::UserVerifiedRedirectPolicy);
    networkRequest.setTransferTimeout(int(request.transferTimeout.count()));
    if (request.sslConfiguration)
        networkRequest.setSslConfiguration(*request.sslConfiguration);
    return networkRequest;
}

QPointer<QNetworkAccessManager>& sharedManager()
{
    static QPointer<QNetworkAccessManager> manager;
    return manager;
}

// The system name of the thread a manager runs its connections on (Qt names
// it after the thread's object name, cut to 15 bytes).
constexpr QByteArrayView networkThreadName = "QNetworkAccessM";

bool networkThreadIsRunning()
{
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile name(tasks.filePath(task + QStringLiteral("/comm")));
        if (name.open(QIODevice::ReadOnly) && name.readAll().trimmed() == networkThreadName)
            return true;
    }
    return false;
}

// Children of the application are deleted only once it has cleared its
// instance; the TLS sockets of cached connections still need it while they
// close, so the manager goes first.
//
// Deleting the manager stops its network thread's event loop, but the system
// thread then still runs its thread-local destructors, OpenSSL's among them.
// A process that exits meanwhile has OpenSSL's exit handler free the same
// state a second time and aborts; so the exit waits, briefly, for that thread
// to be gone.
void deleteSharedManager()
{
    delete sharedManager().data();
    const QDeadlineTimer deadline(1000);
    while (networkThreadIsRunning() && !deadline.hasExpired())
        QThread::msleep(1);
}

} // namespace

QNetworkAccessManager& sharedNetworkAccess()
{
    QPointer<QNetworkAccessManager>& manager = sharedManager();
    if (!manager) {
        manager = new QNetworkAccessManager(QCoreApplication::instance());
        qAddPostRoutine(deleteSharedManager);
    }
    return *manager;
}

QFuture<QByteArray> loadCatalog(const CatalogRequest& request)
{
    auto transfer = std::make_shared<Transfer>();
    transfer->server = request.server;
    transfer->promise.start();
    QFuture<QByteArray> future = transfer->promise.future();

    QNetworkReply* reply = sharedNetworkAccess().get(networkRequest(request));
    reply->setReadBufferSize(readBufferSize);
    QObject::connect(reply, &QNetworkReply::redirected, reply,
                     [transfer, reply](const QUrl& target) { onRedirected(*transfer, reply, target); });
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [transfer, reply] { onReadyRead(*transfer, reply); });
    QObject::connect(reply, &QNetworkReply::finished, reply, [transfer, reply] { onFinished(*transfer, reply); });
    return future;
}

} // namespace quillor::CatalogLoader
