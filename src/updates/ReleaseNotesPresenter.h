#pragma once

#include "updates/ReleaseCatalog.h"
#include "updates/UpdateServer.h"

#include <QList>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

namespace quillor {

// The store's updates page, opened instead of an installer in a store build.
// Software centres (GNOME Software, Discover) handle appstream links.
QUrl storeUpdatesPage();

// What the release-notes dialog shows: the releases in the order given, the
// installed version, and the release offered for installation, if any.
struct ReleaseNotes {
    QList<PublishedRelease> releases;
    QString installed;
    std::optional<PublishedRelease> update;
    bool storeDistribution = false;
    // Where installers are downloaded from, and the rules their names follow.
    QUrl website = UpdateServer::configured().website();
    UpdatePlatform platform = UpdatePlatform::running();

    // The store's updates page in a store build, else the offered release's
    // installer; none when nothing is offered or the release has no link.
    std::optional<QUrl> installLink() const;

    bool operator==(const ReleaseNotes& other) const = default;
};

// How the update checker reaches the release-notes dialog without depending
// on widgets: the settings layer installs a dialog, tests a recorder, and a
// checker without one runs headless.
class ReleaseNotesPresenter {
public:
    virtual ~ReleaseNotesPresenter() = default;

    // Opens the dialog, application-modal, and returns at once; `closed` runs
    // when it has been closed by the user or by close(). The checker never
    // calls this while a dialog is open.
    virtual void show(const ReleaseNotes& notes, std::function<void()> closed) = 0;
    virtual bool isOpen() const = 0;
    // Hides and drops the open dialog, then runs its `closed`; nothing when
    // none is open.
    virtual void close() = 0;
};

} // namespace quillor
