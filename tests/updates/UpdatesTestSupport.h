#pragma once

#include "../core/TestSupport.h"
#include "../model/EventLoop.h"
#include "updates/CatalogLoader.h"
#include "updates/ReleaseCatalog.h"
#include "updates/network/NetworkTransport.h"

#include <QHostAddress>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSslKey>
#include <QSslServer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <functional>
#include <memory>

namespace quillor::test {

// A catalog entry with every key: compatible everywhere, a notarized AppImage.
inline QJsonObject releaseJson(const QString& version)
{
    return {{"version", version}, {"date", "2025-01-31"}, {"notes", QJsonArray{"Un", "Deux"}},
            {"asset", QStringLiteral("Quillor-%1.AppImage").arg(version)}, {"notarized", true},
            {"architecture", "universal"}, {"minimum_macos", "14.0"}};
}

inline QByteArray catalogJson(const QString& latest, const QStringList& versions)
{
    QJsonArray releases;
    for (const QString& version : versions)
        releases.append(releaseJson(version));
    return QJsonDocument(QJsonObject{{"latest", latest}, {"releases", releases}}).toJson();
}

inline QStringList versions(const QList<PublishedRelease>& releases)
{
    QStringList result;
    for (const PublishedRelease& release : releases)
        result.append(release.version);
    return result;
}

// A real HTTPS server on 127.0.0.1 (or ::1). Its self-signed certificate (for
// "localhost", 127.0.0.1 and ::1) is trusted only by the requests of
// request(): nothing turns verification off. It answers on the test's thread:
// spin the event loop.
class LocalHttpsServer : public QObject {
public:
    struct Response {
        int status = 200;
        QByteArray body;
        QByteArray location;        // a Location header when not empty
        bool declareLength = true;  // else the body ends when the connection closes
        bool stall = false;         // take the request and never answer (time-outs)
        bool endlessHeader = false; // one header line that never ends, sent as fast as it is read
        QByteArray raw;             // sent as it is instead of an answer made of the fields above
        QByteArray repeated;        // then sent again and again, as fast as it is read
        bool keepOpen = false;      // the connection stays open once the answer is written
        bool drip = false;          // the body goes a byte at a time, one TLS record each
    };
    std::function<Response(const QString& path)> handler;
    QStringList requestedPaths;
    QByteArrayList requestedHosts;   // the Host header of each request
    // How much of an endless answer was sent before the client hung up.
    qint64 endlessHeaderSent = 0;
    static constexpr qint64 endlessHeaderCap = 64 * 1024 * 1024;

    explicit LocalHttpsServer(const QHostAddress& address = QHostAddress::LocalHost)
    {
        const QSslCertificate certificate(pem().first);
        QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
        configuration.setLocalCertificate(certificate);
        configuration.setPrivateKey(QSslKey(pem().second, QSsl::Ec));
        m_server.setSslConfiguration(configuration);
        m_trusted.addCaCertificate(certificate);
        connect(&m_server, &QTcpServer::pendingConnectionAvailable, this, [this] { accept(); });
        if (!certificate.isNull())
            m_server.listen(address);
    }

    bool isListening() const { return m_server.isListening(); }
    void respond(const Response& response) { handler = [response](const QString&) { return response; }; }
    quint16 port() const { return m_server.serverPort(); }
    CatalogTransport transport() const { return NetworkTransport::transport(m_trusted); }
    CatalogRequest request() const
    {
        return {.server = UpdateServer{"localhost", m_server.serverPort()},
                .transport = NetworkTransport::transport(m_trusted)};
    }

private:
    // One key per test program, kept as PEM so that no TLS object outlives the
    // application. openssl's complaints, if any, go to the test's stderr.
    static const std::pair<QByteArray, QByteArray>& pem()
    {
        static const auto pair = [] {
            QTemporaryDir directory;
            const QString certificate = directory.filePath("certificate.pem"), key = directory.filePath("key.pem");
            QProcess::execute("openssl", {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                                          "-nodes", "-subj", "/CN=localhost", "-addext",
                                          "subjectAltName=DNS:localhost,IP:127.0.0.1,IP:::1", "-days", "1", "-keyout", key,
                                          "-out", certificate});
            return std::pair(contents(certificate).value_or(""), contents(key).value_or(""));
        }();
        return pair;
    }

    // Requests have no body: the head is all there is to read.
    void accept()
    {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            const auto read = [this, socket, head = std::make_shared<QByteArray>()] {
                if (head->contains("\r\n\r\n"))
                    return;
                *head += socket->readAll();
                if (head->contains("\r\n\r\n"))
                    answer(*socket, *head);
            };
            connect(socket, &QTcpSocket::readyRead, this, read);
            read();
        }
    }

    void answer(QTcpSocket& socket, const QByteArray& head)
    {
        const QString path = QString::fromLatin1(head.split(' ').value(1));
        requestedPaths.append(path);
        for (const QByteArray& line : head.split('\n'))
            if (line.toLower().startsWith("host:"))
                requestedHosts.append(line.mid(5).trimmed());
        const Response response = handler ? handler(path) : Response{404};
        if (response.stall)
            return;
        if (response.endlessHeader) {
            sendEndlessly(socket, "HTTP/1.1 200 Status\r\nX-Padding: ", QByteArray(256 * 1024, 'a'));
            return;
        }
        if (!response.repeated.isEmpty()) {
            sendEndlessly(socket, response.raw, response.repeated);
            return;
        }
        if (!response.raw.isEmpty()) {
            socket.write(response.raw);
            if (!response.keepOpen)
                socket.disconnectFromHost();
            return;
        }
        QByteArray message = "HTTP/1.1 " + QByteArray::number(response.status) + " Status\r\n";
        if (!response.location.isEmpty())
            message += "Location: " + response.location + "\r\n";
        if (response.declareLength)
            message += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
        if (response.drip) {
            socket.write(message + "Connection: close\r\n\r\n");
            drip(static_cast<QSslSocket&>(socket), response.body);
            return;
        }
        socket.write(message + "Connection: close\r\n\r\n" + response.body);
        socket.disconnectFromHost();   // once the bytes are written
    }

    // A byte at each turn of the event loop, flushed into a record of its own.
    void drip(QSslSocket& socket, const QByteArray& body)
    {
        auto* timer = new QTimer(&socket);
        connect(timer, &QTimer::timeout, &socket, [&socket, timer, body, sent = qsizetype(0)]() mutable {
            if (sent == body.size() || socket.state() != QAbstractSocket::ConnectedState) {
                timer->stop();
                return;
            }
            socket.write(body.sliced(sent++, 1));
            socket.flush();
        });
        timer->start(0);
    }

    // Writes `start`, then tops the socket up with `piece` as it drains, up to
    // a cap that only a client reading without bound would reach.
    void sendEndlessly(QTcpSocket& socket, const QByteArray& start, const QByteArray& piece)
    {
        endlessHeaderSent = 0;
        socket.write(start);
        auto& tls = static_cast<QSslSocket&>(socket);
        const auto topUp = [this, &tls, piece] {
            while (tls.state() == QAbstractSocket::ConnectedState
                   && tls.bytesToWrite() + tls.encryptedBytesToWrite() < 1024 * 1024
                   && endlessHeaderSent < endlessHeaderCap) {
                tls.write(piece);
                endlessHeaderSent += piece.size();
            }
        };
        connect(&tls, &QSslSocket::encryptedBytesWritten, this, topUp);
        topUp();
    }

    QSslServer m_server;
    QSslConfiguration m_trusted = QSslConfiguration::defaultConfiguration();
};

// Takes connections and never says a word: a TLS handshake with it never
// completes.
class SilentServer {
public:
    SilentServer() { m_server.listen(QHostAddress::LocalHost); }
    bool isListening() const { return m_server.isListening(); }
    quint16 port() const { return m_server.serverPort(); }
    bool wasReached() const { return m_server.hasPendingConnections(); }
    // `request` sent here instead, with a short deadline and an inactivity
    // time-out longer than any test: only the deadline can end it.
    CatalogRequest hanging(CatalogRequest request) const
    {
        request.server.port = port();
        request.transferTimeout = std::chrono::minutes(1);
        request.deadline = std::chrono::milliseconds(300);
        return request;
    }

private:
    QTcpServer m_server;
};

} // namespace quillor::test
