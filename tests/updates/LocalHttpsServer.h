#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPair>
#include <QSslConfiguration>
#include <QSslServer>
#include <QString>
#include <QStringList>

#include <functional>

namespace quillor::testing {

// A real HTTPS server for tests, on 127.0.0.1 only, with a self-signed
// certificate for "localhost" and 127.0.0.1 made by openssl at run time.
// Clients trust it through clientConfiguration(); nothing turns verification
// off. Lives on the test's thread: spin the event loop while a client talks
// to it.
// (No Q_OBJECT: it has no signals or slots of its own, and the test
// executable is built without moc.)
class LocalHttpsServer : public QObject {
public:
    struct Response {
        int status = 200;
        QByteArray body;
        QList<QPair<QByteArray, QByteArray>> headers;   // e.g. {"Location", "https://..."}
        // Without it the body ends when the connection closes, so the client
        // cannot know the size up front.
        bool sendContentLength = true;
        // Accept the request and never answer (for time-outs).
        bool stall = false;
    };
    // Called with the request's path ("/releases.json").
    using Handler = std::function<Response(const QString& path)>;

    explicit LocalHttpsServer(QObject* parent = nullptr);
    ~LocalHttpsServer() override;

    // False when the certificate could not be made or the port not opened;
    // errorString() says why.
    bool isListening() const;
    QString errorString() const { return m_error; }
    quint16 port() const;

    // The default configuration with this server's certificate added to the
    // trusted CAs.
    QSslConfiguration clientConfiguration() const;

    void setHandler(Handler handler) { m_handler = std::move(handler); }
    // Shorthand: every request gets this response.
    void setResponse(const Response& response);

    // The paths requested so far, in order.
    QStringList requestedPaths() const { return m_paths; }

private:
    void acceptConnections();
    void readRequest(QSslSocket* socket);
    void answer(QSslSocket* socket, const Response& response);

    QSslServer m_server;
    QSslConfiguration m_clientConfiguration;
    Handler m_handler;
    QStringList m_paths;
    QString m_error;
};

} // namespace quillor::testing
