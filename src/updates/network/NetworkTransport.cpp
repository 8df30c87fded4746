#include "updates/network/NetworkTransport.h"

#include "updates/network/HttpResponseReader.h"

#include <QCoreApplication>
#include <QPointer>
#include <QPromise>
#include <QSet>
#include <QSslSocket>
#include <QTimer>

#include <optional>

namespace quillor::NetworkTransport {

namespace {

// How much a socket may hold before it stops reading from the network: the
// limits are enforced as data arrives, so the socket must not run ahead of
// them and buffer an arbitrarily long answer.
constexpr qint64 readBufferSize = 64 * 1024;
// As many as Qt follows by default.
constexpr int maximumRedirects = 50;

TransferError transferError(QAbstractSocket::SocketError error)
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return TransferError::connectionRefused;
    case QAbstractSocket::RemoteHostClosedError:
        return TransferError::connectionClosed;
    case QAbstractSocket::HostNotFoundError:
        return TransferError::hostNotFound;
    case QAbstractSocket::SocketTimeoutError:
        return TransferError::timedOut;
    case QAbstractSocket::SslHandshakeFailedError:
    case QAbstractSocket::SslInternalError:
    case QAbstractSocket::SslInvalidUserDataError:
        return TransferError::tlsFailed;
    default:
        return TransferError::other;
    }
}

bool isRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// One transfer in flight, from the first connection to the last redirect.
class Fetch : public QObject {
public:
    Fetch(CatalogTransfer request, std::optional<QSslConfiguration> ssl)
        : m_request(std::move(request)), m_ssl(std::move(ssl))
    {
        live().insert(this);
        m_promise.start();
        m_deadline.setSingleShot(true);
        m_idle.setSingleShot(true);
        connect(&m_deadline, &QTimer::timeout, this, [this] { timedOut(); });
        connect(&m_idle, &QTimer::timeout, this, [this] { timedOut(); });
    }
    ~Fetch() override
    {
        live().remove(this);
        finish(TransferError::canceled, QStringLiteral("Operation canceled"));
    }

    QFuture<CatalogResponse> start()
    {
        m_deadline.start(m_request.deadline);
        request(m_request.url);
        return m_promise.future();
    }

    // Fetches still running when the application goes: their sockets need it
    // while they close.
    static QSet<Fetch*>& live()
    {
        static QSet<Fetch*> fetches;
        return fetches;
    }

private:
    void request(const QUrl& url)
    {
        dropSocket();
        m_url = url;
        // What ends the transfer from here on is this address's, not the
        // redirect's that led to it.
        m_response.httpStatus = 0;
        m_reader.emplace(m_request.headLimit, m_request.bodyLimit);
        if (url.scheme() != QLatin1String("https") || url.host().isEmpty()) {
            finish(TransferError::unsupportedScheme, QStringLiteral("Protocol \"%1\" is unknown").arg(url.scheme()));
            return;
        }
        m_socket = new QSslSocket(this);
        m_socket->setReadBufferSize(readBufferSize);
        m_socket->setSslConfiguration(m_ssl.value_or(QSslConfiguration::defaultConfiguration()));
        connect(m_socket, &QAbstractSocket::connected, this, [this] { stillActive(); });
        connect(m_socket, &QSslSocket::encrypted, this, [this] { sendRequest(); });
        connect(m_socket, &QIODevice::readyRead, this, [this] { readAvailable(); });
        connect(m_socket, &QAbstractSocket::disconnected, this, [this] { connectionEnded(); });
        connect(m_socket, &QAbstractSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
            if (error == QAbstractSocket::RemoteHostClosedError)
                connectionEnded();
            else
                finish(transferError(error), m_socket->errorString());
        });
        stillActive();
        m_socket->connectToHostEncrypted(url.host(), quint16(url.port(443)));
    }

    void sendRequest()
    {
        stillActive();
        QByteArray target = m_url.path(QUrl::FullyEncoded).toLatin1();
        if (target.isEmpty())
            target = "/";
        if (m_url.hasQuery())
            target += '?' + m_url.query(QUrl::FullyEncoded).toLatin1();
        // The host in ACE form, an IPv6 literal in its brackets, and the port
        // when the address names one.
        const QByteArray host = m_url.adjusted(QUrl::RemoveUserInfo).authority(QUrl::FullyEncoded).toLatin1();
        m_socket->write("GET " + target + " HTTP/1.1\r\nHost: " + host + "\r\nConnection: close\r\n\r\n");
    }

    void readAvailable()
    {
        if (!m_socket)
            return;
        stillActive();
        if (m_socket->bytesAvailable() > 0 && ++m_reads > m_request.readLimit) {
            finish(TransferError::tooFragmented, QStringLiteral("The answer came in too many pieces"));
            return;
        }
        while (m_socket->bytesAvailable() > 0 && reading())
            m_reader->feed(m_socket->read(readBufferSize));
        if (!reading())
            responseRead();
    }

    void connectionEnded()
    {
        const QSslSocket* socket = m_socket;
        if (!socket)
            return;
        readAvailable();
        // The response may have ended in what was left, and led elsewhere.
        if (m_socket != socket || !reading())
            return;
        m_reader->endOfStream();
        responseRead();
    }

    bool reading() const
    {
        const auto state = m_reader->state();
        // A redirect's body is of no use: its head says all, so however long
        // the body, nothing of it is read.
        return state == HttpResponseReader::State::head
            || (state == HttpResponseReader::State::body && !redirects(*m_reader));
    }

    static bool redirects(const HttpResponseReader& reader)
    {
        return isRedirect(reader.status()) && reader.location();
    }

    void responseRead()
    {
        const HttpResponseReader& reader = *m_reader;
        m_response.finalUrl = m_url;
        if (reader.state() == HttpResponseReader::State::failed) {
            switch (reader.failure()) {
            case HttpResponseReader::Failure::headTooLarge:
                m_response.headTooLarge = true;
                finish(TransferError::canceled, QStringLiteral("Operation canceled"));
                return;
            case HttpResponseReader::Failure::malformed:
                finish(TransferError::malformedResponse, QStringLiteral("Error parsing the response"));
                return;
            case HttpResponseReader::Failure::truncated:
                finish(TransferError::connectionClosed, QStringLiteral("Connection closed"));
                return;
            }
        }
        m_response.httpStatus = reader.status();
        if (redirects(reader)) {
            const QUrl target = m_url.resolved(QUrl::fromEncoded(*reader.location()));
            if (!m_request.followsRedirect || !m_request.followsRedirect(target)) {
                m_response.redirectRefused = true;
                finish(TransferError::canceled, QStringLiteral("Operation canceled"));
            } else if (++m_redirects > maximumRedirects) {
                finish(TransferError::tooManyRedirects, QStringLiteral("Too many redirects"));
            } else {
                request(target);
            }
            return;
        }
        m_response.body = reader.body();
        finish(TransferError::none, {});
    }

    void stillActive() { m_idle.start(m_request.transferTimeout); }

    void timedOut() { finish(TransferError::timedOut, QStringLiteral("Operation timed out")); }

    void finish(TransferError error, const QString& text)
    {
        if (m_finished)
            return;
        m_finished = true;
        m_deadline.stop();
        m_idle.stop();
        dropSocket();
        m_response.error = error;
        m_response.errorText = text;
        m_promise.addResult(m_response);
        m_promise.finish();
        deleteLater();
    }

    // Closes the connection at once; nothing it still reports is heard.
    void dropSocket()
    {
        if (!m_socket)
            return;
        m_socket->disconnect(this);
        m_socket->abort();
        m_socket->deleteLater();
        m_socket = nullptr;
    }

    QPromise<CatalogResponse> m_promise;
    CatalogTransfer m_request;
    std::optional<QSslConfiguration> m_ssl;
    CatalogResponse m_response;
    QUrl m_url;
    QPointer<QSslSocket> m_socket;
    std::optional<HttpResponseReader> m_reader;
    QTimer m_deadline;
    QTimer m_idle;
    int m_redirects = 0;
    qint64 m_reads = 0;   // of the whole transfer, redirects included
    bool m_finished = false;
};

void deleteLiveFetches()
{
    const QSet<Fetch*> fetches = Fetch::live();
    qDeleteAll(fetches);
}

} // namespace

QFuture<CatalogResponse> transfer(const CatalogTransfer& request, const std::optional<QSslConfiguration>& ssl)
{
    static const bool routineAdded = (qAddPostRoutine(deleteLiveFetches), true);
    Q_UNUSED(routineAdded);
    return (new Fetch(request, ssl))->start();
}

CatalogTransport transport(std::optional<QSslConfiguration> ssl)
{
    return [ssl = std::move(ssl)](const CatalogTransfer& request) { return transfer(request, ssl); };
}

} // namespace quillor::NetworkTransport
