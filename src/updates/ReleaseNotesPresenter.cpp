#include "updates/ReleaseNotesPresenter.h"

namespace quillor {

QUrl storeUpdatesPage()
{
    return QUrl(QStringLiteral("appstream://app.quillor.Quillor"));
}

std::optional<QUrl> ReleaseNotes::installLink() const
{
    if (storeDistribution)
        return storeUpdatesPage();
    if (!update)
        return std::nullopt;
    return update->downloadURL(website, platform);
}

} // namespace quillor
