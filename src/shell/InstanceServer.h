#pragma once

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class QSocketNotifier;

namespace quillor {

// Listens on the instance socket from the event loop, never blocking it:
// connections are taken as they come, several at a time, and each is read as
// its bytes arrive for one short line, after which it is closed.
class InstanceServer : public QObject {
    Q_OBJECT

public:
    explicit InstanceServer(QObject* parent = nullptr);
    ~InstanceServer() override;

    bool listen(const QString& path);
    // Removes the socket file and stops listening; connections already taken
    // are still read.
    void close();
    bool isListening() const { return m_listener >= 0; }

Q_SIGNALS:
    // A connection's line, newline included; the connection is closed by now.
    // Overlong or unfinished lines are dropped unheard.
    void lineReceived(const QByteArray& line);

private:
    struct Connection;

    void acceptPending();
    void pauseAccepting();
    void read(Connection* connection);

    QString m_path;
    int m_listener = -1;
    QSocketNotifier* m_notifier = nullptr;
    std::vector<std::unique_ptr<Connection>> m_connections;
};

} // namespace quillor
