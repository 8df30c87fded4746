#include "core/QuickCaptureLink.h"

namespace quillor::QuickCaptureLink {

QUrl url()
{
    static const QUrl link(QStringLiteral("quillor://capture"));
    return link;
}

bool matches(const QUrl& url)
{
    if (!url.isValid())
        return false;
    const QString path = url.path();
    // QUrl reports an empty user for "quillor://@capture"; the authority still
    // shows the '@' of any user information.
    const bool hasUserInfo =
        !url.userName().isEmpty() || !url.password().isEmpty() || url.authority().contains(QLatin1Char('@'));
    return url.scheme().toLower() == QLatin1String("quillor") && url.host().toLower() == QLatin1String("capture")
        && (path.isEmpty() || path == QLatin1String("/")) && !url.hasQuery() && !url.hasFragment() && !hasUserInfo
        && url.port() == -1;
}

} // namespace quillor::QuickCaptureLink
