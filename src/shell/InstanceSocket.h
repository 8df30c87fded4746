#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>

namespace quillor {

// The Unix-domain socket through which a later launch reaches the running
// program, made with the system's calls: Qt's local sockets would load Qt
// Network and its libraries into every start for this one channel. Every
// descriptor is close-on-exec, and a peer that leaves never raises SIGPIPE.
namespace InstanceSocket {

// Where a socket name lives: a bare name in the temporary folder.
QString pathOf(const QString& name);

// A non-blocking listening socket at `path` that only this user can reach,
// from the moment it exists; -1 when none could be made. A file already at
// `path` is taken as left by a program that died.
int listen(const QString& path);

// Connects to `path` and writes `message` whole, waiting at most `timeout`
// for each of the two.
bool send(const QString& path, const QByteArray& message, std::chrono::milliseconds timeout);

} // namespace InstanceSocket

} // namespace quillor
