#include "platform/FileManager.h"

#include "core/L10n.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace quillor::FileManager {

namespace {

void openAddress(const QUrl& url, const QString& shown, const Failure& failed)
{
    if (QDesktopServices::openUrl(url) || !failed)
        return;
    failed(L10n::format(QStringLiteral("Rien n’a pu ouvrir « %@ » : aucune application du bureau ne s’en charge."),
                        {shown}));
}

} // namespace

void reveal(const QString& path, Failure failed)
{
    const auto openFolder = [path, failed = std::move(failed)] {
        if (QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath())) || !failed)
            return;
        failed(L10n::format(QStringLiteral("Rien n’a pu afficher « %@ » : aucun gestionnaire de fichiers ne répond."),
                            {path}));
    };
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(path).toString()} << QString();
    // Asked without waiting: a file manager may take its time to start. Without
    // one on the bus, the folder that holds the file is opened instead.
    const QDBusPendingCall pending = QDBusConnection::sessionBus().asyncCall(call);
    // Without a session bus the call has failed already, and a watcher would
    // never hear of it.
    if (pending.isFinished()) {
        if (pending.isError())
            openFolder();
        return;
    }
    auto* watcher = new QDBusPendingCallWatcher(pending);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher, [openFolder](QDBusPendingCallWatcher* done) {
        done->deleteLater();
        if (done->isError())
            openFolder();
    });
}

void open(const QString& path, const Failure& failed)
{
    openAddress(QUrl::fromLocalFile(path), path, failed);
}

void openUrl(const QUrl& url, const Failure& failed)
{
    openAddress(url, url.toDisplayString(), failed);
}

} // namespace quillor::FileManager
