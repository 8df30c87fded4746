#include "updates/UpdateServer.h"

#include "platform/BuildInfo.h"

namespace quillor {

namespace {

constexpr int defaultHttpsPort = 443;

} // namespace

UpdateServer UpdateServer::configured()
{
    return UpdateServer{BuildInfo::updateHost(), std::nullopt};
}

QUrl UpdateServer::website() const
{
    QUrl url;
    url.setScheme(QStringLiteral("https"));
    url.setHost(host);
    if (port)
        url.setPort(*port);
    return url;
}

QUrl UpdateServer::catalogURL() const
{
    QUrl url = website();
    url.setPath(QStringLiteral("/releases.json"));
    return url;
}

bool UpdateServer::serves(const QUrl& url) const
{
    // QUrl lowers the case of hosts it parses, so an upper-case configured
    // host never matches: the comparison stays exact either way.
    return url.isValid() && url.scheme() == QLatin1String("https") && url.host() == host
        && url.port(defaultHttpsPort) == port.value_or(defaultHttpsPort);
}

} // namespace quillor
