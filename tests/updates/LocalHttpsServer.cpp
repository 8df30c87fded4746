#include "LocalHttpsServer.h"

#include <QFile>
#include <QHostAddress>
#include <QProcess>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslSocket>
#include <QTemporaryDir>

#include <memory>
#include <optional>

namespace quillor::testing {

namespace {

struct PemPair {
    QByteArray certificate;
    QByteArray key;
};

std::optional<PemPair> generateCertificate(QString* error)
{
    QTemporaryDir directory;
    const QString certificatePath = directory.filePath(QStringLiteral("certificate.pem"));
    const QString keyPath = directory.filePath(QStringLiteral("key.pem"));
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"), QStringLiteral("rsa:2048"),
                   QStringLiteral("-nodes"), QStringLiteral("-subj"), QStringLiteral("/CN=localhost"),
                   QStringLiteral("-addext"), QStringLiteral("subjectAltName=DNS:localhost,IP:127.0.0.1"),
                   QStringLiteral("-days"), QStringLiteral("1"), QStringLiteral("-keyout"), keyPath,
                   QStringLiteral("-out"), certificatePath});
    if (!openssl.waitForFinished(60'000) || openssl.exitStatus() != QProcess::NormalExit || openssl.exitCode() != 0) {
        *error = QStringLiteral("openssl failed: %1 %2").arg(openssl.errorString(),
                                                             QString::fromLocal8Bit(openssl.readAllStandardError()));
        return std::nullopt;
    }
    QFile certificate(certificatePath);
    QFile key(keyPath);
    if (!certificate.open(QIODevice::ReadOnly) || !key.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read the generated certificate");
        return std::nullopt;
    }
    return PemPair{certificate.readAll(), key.readAll()};
}

// One certificate per test program: an RSA key takes a noticeable time to
// make. Kept as PEM bytes so that no TLS object outlives the application.
const std::optional<PemPair>& sharedCertificate(QString* error)
{
    static QString generationError;
    static const std::optional<PemPair> pair = generateCertificate(&generationError);
    *error = generationError;
    return pair;
}

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200: return "OK";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
    }
}

} // namespace

LocalHttpsServer::LocalHttpsServer(QObject* parent) : QObject(parent)
{
    const auto& pem = sharedCertificate(&m_error);
    if (!pem)
        return;
    const QSslCertificate certificate(pem->certificate, QSsl::Pem);
    const QSslKey key(pem->key, QSsl::Rsa, QSsl::Pem);
    if (certificate.isNull() || key.isNull()) {
        m_error = QStringLiteral("the generated certificate or key does not load");
        return;
    }
    QSslConfiguration serverConfiguration = QSslConfiguration::defaultConfiguration();
    serverConfiguration.setLocalCertificate(certificate);
    serverConfiguration.setPrivateKey(key);
    serverConfiguration.setPeerVerifyMode(QSslSocket::VerifyNone);
    m_server.setSslConfiguration(serverConfiguration);

    m_clientConfiguration = QSslConfiguration::defaultConfiguration();
    m_clientConfiguration.addCaCertificate(certificate);

    connect(&m_server, &QTcpServer::pendingConnectionAvailable, this, [this] { acceptConnections(); });
    if (!m_server.listen(QHostAddress::LocalHost))
        m_error = m_server.errorString();
}

LocalHttpsServer::~LocalHttpsServer() = default;

bool LocalHttpsServer::isListening() const { return m_server.isListening(); }

quint16 LocalHttpsServer::port() const { return m_server.serverPort(); }

QSslConfiguration LocalHttpsServer::clientConfiguration() const { return m_clientConfiguration; }

void LocalHttpsServer::setResponse(const Response& response)
{
    m_handler = [response](const QString&) { return response; };
}

void LocalHttpsServer::acceptConnections()
{
    while (m_server.hasPendingConnections()) {
        auto* socket = qobject_cast<QSslSocket*>(m_server.nextPendingConnection());
        if (!socket)
            continue;
        connect(socket, &QSslSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QSslSocket::readyRead, this, [this, socket] { readRequest(socket); });
        if (socket->bytesAvailable() > 0)
            readRequest(socket);
    }
}

// Reads up to the end of the request head; requests have no body here.
void LocalHttpsServer::readRequest(QSslSocket* socket)
{
    QByteArray head = socket->property("requestHead").toByteArray() + socket->readAll();
    socket->setProperty("requestHead", head);
    if (!head.contains("\r\n\r\n") || socket->property("answered").toBool())
        return;
    socket->setProperty("answered", true);
    const QList<QByteArray> requestLine = head.left(head.indexOf("\r\n")).split(' ');
    const QString path = requestLine.size() >= 2 ? QString::fromLatin1(requestLine[1]) : QString();
    m_paths.append(path);
    answer(socket, m_handler ? m_handler(path) : Response{404, {}, {}, true, false});
}

void LocalHttpsServer::answer(QSslSocket* socket, const Response& response)
{
    if (response.stall)
        return;
    QByteArray message = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + reasonPhrase(response.status) + "\r\n";
    for (const auto& [name, value] : response.headers)
        message += name + ": " + value + "\r\n";
    if (response.sendContentLength)
        message += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
    message += "Connection: close\r\n\r\n" + response.body;
    socket->write(message);
    socket->disconnectFromHost();   // after the pending bytes are written
}

} // namespace quillor::testing
