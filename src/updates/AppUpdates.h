#pragma once

#include "core/ReferenceDate.h"
#include "updates/ReleaseCatalog.h"
#include "updates/ReleaseNotesPresenter.h"
#include "updates/UpdateServer.h"

#include <QByteArray>
#include <QFuture>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace quillor {

// Everything the checker cannot decide deterministically. Members left empty
// take the real thing, so the application passes nothing and tests replace
// only what they pin down.
struct AppUpdatesEnvironment {
    std::function<ReferenceDate()> now;          // ReferenceDate::now
    std::function<bool(const QUrl&)> openUrl;    // QDesktopServices::openUrl
    std::chrono::milliseconds tickInterval{60'000};
    // Where installer links point, and the platform releases are checked
    // against.
    UpdateServer server = UpdateServer::configured();
    UpdatePlatform platform = UpdatePlatform::running();
};

// The update checker: an automatic check at most once a day, driven by a
// one-minute timer, and checks on demand from the settings window. The moment
// of the last attempt is kept in update-check.json in the data directory; the
// release notes go to the installed presenter.
//
// Lives on the UI thread. No exception leaves its slots, timer or
// continuations: every failure of a check ends in the error status.
class AppUpdates : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool checking READ checking NOTIFY checkingChanged)
    Q_PROPERTY(std::optional<QString> status READ status NOTIFY statusChanged)
    Q_PROPERTY(std::optional<quillor::ReferenceDate> lastAttempt READ lastAttempt NOTIFY lastAttemptChanged)

public:
    // The catalog's bytes, or an exception (transport, UpdateError).
    using Fetch = std::function<QFuture<QByteArray>()>;

    static constexpr double checkPeriodSeconds = 86'400;

    // Defaults: the build's version ("0.0.0" when it has none), its store
    // flag, and CatalogLoader::loadCatalog() on the configured server.
    explicit AppUpdates(const QString& directory, const QString& installed = defaultInstalled(),
                        bool storeDistribution = defaultStoreDistribution(), Fetch fetch = {},
                        AppUpdatesEnvironment environment = {}, QObject* parent = nullptr);
    ~AppUpdates() override;

    static QString defaultInstalled();
    static bool defaultStoreDistribution();

    bool checking() const { return m_checking; }
    std::optional<QString> status() const { return m_status; }
    std::optional<ReferenceDate> lastAttempt() const { return m_lastAttempt; }

    QString stateURL() const { return m_stateURL; }
    QString installed() const { return m_installed; }
    bool storeDistribution() const { return m_storeDistribution; }

    // Takes over the dialog; none runs headless (nothing is shown).
    void setPresenter(std::unique_ptr<ReleaseNotesPresenter> presenter);
    ReleaseNotesPresenter* presenter() const { return m_presenter.get(); }

    // Replaces the predicate and the timer, then checks at once when due.
    void start(std::function<bool()> automaticEnabled);
    void checkIfDue();
    bool isDue(ReferenceDate at) const;
    void check(bool manual, bool history, bool present);

    // Opens the release-notes dialog unless one is open; `closed` runs once
    // it has been closed (at once when nothing was opened).
    void show(const QList<PublishedRelease>& releases, const std::optional<PublishedRelease>& update,
              std::function<void()> closed = {});
    void closeDialog();
    bool dialogOpen() const;

Q_SIGNALS:
    void checkingChanged();
    void statusChanged();
    void lastAttemptChanged();

private:
    void finishCheck(QFuture<QByteArray> fetched, bool manual, bool history, bool present);
    void presentReleases(const ReleaseCatalog& catalog, const QList<PublishedRelease>& newer, bool history);
    void fail();
    void readAttempt();
    void saveAttempt() const;
    bool automaticallyEnabled() const;
    ReferenceDate now() const;

    void setChecking(bool checking);
    void setStatus(const std::optional<QString>& status);
    void setLastAttempt(const std::optional<ReferenceDate>& lastAttempt);

    QString m_directory;
    QString m_stateURL;
    QString m_installed;
    bool m_storeDistribution = false;
    Fetch m_fetch;
    AppUpdatesEnvironment m_environment;

    bool m_checking = false;
    std::optional<QString> m_status;
    std::optional<ReferenceDate> m_lastAttempt;
    std::function<bool()> m_automaticEnabled;
    std::unique_ptr<QTimer> m_timer;
    std::unique_ptr<ReleaseNotesPresenter> m_presenter;
};

} // namespace quillor
