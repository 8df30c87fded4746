#include "updates/network/NetworkTransport.h"

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

#include <memory>

namespace quillor::NetworkTransport {

namespace {

// How much the reply may hold before the network stops reading from the
// socket: the body limit is enforced as data arrives, so the network layer
// must not run ahead of it and buffer an arbitrarily long answer.
constexpr qint64 readBufferSize = 64 * 1024;

// One request in flight; the reply's signals fill the response.
struct Transfer {
    QPromise<CatalogResponse> promise;
    CatalogTransfer request;
    CatalogResponse response;
    bool finished = false;
};

void onRedirected(Transfer& transfer, QNetworkReply* reply, const QUrl& target)
{
    if (!transfer.request.followsRedirect || !transfer.request.followsRedirect(target)) {
        transfer.response.redirectRefused = true;
        reply->abort();
        return;
    }
    transfer.response.body.clear();
    Q_EMIT reply->redirectAllowed();
}

bool refused(const Transfer& transfer)
{
    return transfer.response.redirectRefused || transfer.response.body.size() > transfer.request.bodyLimit;
}

// Takes only what fits under the limit plus one byte, enough to tell that the
// answer is too long; the rest is never read.
void onReadyRead(Transfer& transfer, QNetworkReply* reply)
{
    if (refused(transfer) || !reply->isOpen())
        return;
    transfer.response.body += reply->read(transfer.request.bodyLimit + 1 - transfer.response.body.size());
    if (refused(transfer))
        reply->abort();
}

void onFinished(Transfer& transfer, QNetworkReply* reply)
{
    if (transfer.finished)
        return;
    transfer.finished = true;
    reply->deleteLater();
    onReadyRead(transfer, reply);   // anything that arrived with the end of the reply
    CatalogResponse& response = transfer.response;
    response.finalUrl = reply->url();
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    response.httpStatus = status.isValid() ? status.toInt() : 0;
    response.networkError = int(reply->error());
    if (reply->error() != QNetworkReply::NoError)
        response.errorText = reply->errorString();
    transfer.promise.addResult(response);
    transfer.promise.finish();
}

QNetworkRequest networkRequest(const CatalogTransfer& transfer, const std::optional<QSslConfiguration>& ssl)
{
    QNetworkRequest networkRequest(transfer.url);
    networkRequest.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    // Qt's own policies follow a redirect before we can look at it and turn
    // https → http into a transport error; checking each target ourselves keeps
    // every off-origin redirect a refusal.
    networkRequest.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                                QNetworkRequest::UserVerifiedRedirectPolicy);
    networkRequest.setTransferTimeout(int(transfer.transferTimeout.count()));
    if (ssl)
        networkRequest.setSslConfiguration(*ssl);
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

QFuture<CatalogResponse> transfer(const CatalogTransfer& request, const std::optional<QSslConfiguration>& ssl)
{
    auto transfer = std::make_shared<Transfer>();
    transfer->request = request;
    transfer->promise.start();
    QFuture<CatalogResponse> future = transfer->promise.future();

    QNetworkReply* reply = sharedNetworkAccess().get(networkRequest(request, ssl));
    reply->setReadBufferSize(readBufferSize);
    QObject::connect(reply, &QNetworkReply::redirected, reply,
                     [transfer, reply](const QUrl& target) { onRedirected(*transfer, reply, target); });
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [transfer, reply] { onReadyRead(*transfer, reply); });
    QObject::connect(reply, &QNetworkReply::finished, reply, [transfer, reply] { onFinished(*transfer, reply); });
    return future;
}

CatalogTransport transport(std::optional<QSslConfiguration> ssl)
{
    return [ssl = std::move(ssl)](const CatalogTransfer& request) { return transfer(request, ssl); };
}

} // namespace quillor::NetworkTransport
