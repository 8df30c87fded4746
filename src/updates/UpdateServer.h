#pragma once

#include <QString>
#include <QUrl>

#include <optional>

namespace quillor {

// The one origin that serves both the release catalog and the installers. The
// build's host (BuildInfo::updateHost()) on the default HTTPS port in
// production; tests point it at a local server ("localhost" and its port).
struct UpdateServer {
    QString host;
    std::optional<int> port;   // none: the default HTTPS port

    // The build's configured host.
    static UpdateServer configured();

    // "https://host[:port]", the base of installer links.
    QUrl website() const;
    // website + "/releases.json".
    QUrl catalogURL() const;
    // Whether `url` is on this origin: scheme exactly "https", host exactly
    // `host` (case-sensitive), and the same port.
    bool serves(const QUrl& url) const;

    bool operator==(const UpdateServer& other) const = default;
};

} // namespace quillor
