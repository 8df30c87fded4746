#include "updates/AppUpdates.h"

#include "core/FileSystem.h"
#include "core/L10n.h"
#include "platform/BuildInfo.h"
#include "updates/CatalogLoader.h"

#include <QDesktopServices>
#include <QDir>
#include <QFutureWatcher>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPointer>

#include <algorithm>
#include <exception>
#include <stdexcept>

namespace quillor {

namespace {

const QString stateFileName = QStringLiteral("update-check.json");

bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// The end of the run of digits that starts at `from`.
qsizetype digitRunEnd(const QString& text, qsizetype from)
{
    while (from < text.size() && isAsciiDigit(text[from]))
        ++from;
    return from;
}

// Two digit runs as the numbers they spell, however long: without leading
// zeros, the longer is the larger, and equal lengths compare as text.
int compareNumbers(QStringView left, QStringView right)
{
    const auto significant = [](QStringView digits) {
        qsizetype zeros = 0;
        while (zeros < digits.size() - 1 && digits[zeros] == u'0')
            ++zeros;
        return digits.sliced(zeros);
    };
    const QStringView a = significant(left);
    const QStringView b = significant(right);
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

// Numeric-aware text order: digit runs compare as numbers, everything else by
// code unit, so "1.10.0" is above "1.9.0". A run against a lone character
// compares as its first digit would, which keeps the order consistent (every
// run sits between "/" and ":"), as a stable sort needs. Not locale-aware on
// purpose: a collator could reorder the punctuation of version texts.
bool naturalLess(const QString& left, const QString& right)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < left.size() && j < right.size()) {
        if (isAsciiDigit(left[i]) && isAsciiDigit(right[j])) {
            const qsizetype leftEnd = digitRunEnd(left, i);
            const qsizetype rightEnd = digitRunEnd(right, j);
            const int order = compareNumbers(QStringView(left).sliced(i, leftEnd - i),
                                             QStringView(right).sliced(j, rightEnd - j));
            if (order != 0)
                return order < 0;
            i = leftEnd;
            j = rightEnd;
            continue;
        }
        if (left[i] != right[j])
            return left[i] < right[j];
        ++i;
        ++j;
    }
    return i == left.size() && j < right.size();
}

QList<PublishedRelease> historyOrder(QList<PublishedRelease> releases)
{
    std::stable_sort(releases.begin(), releases.end(),
                     [](const PublishedRelease& a, const PublishedRelease& b) { return naturalLess(b.version, a.version); });
    return releases;
}

// The state file holds one bare JSON number, which QJsonDocument cannot read
// at the top level: read it as the only element of an array.
std::optional<ReferenceDate> decodeAttempt(const QByteArray& bytes)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson('[' + bytes + ']', &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return std::nullopt;
    const QJsonArray values = document.array();
    if (values.size() != 1 || !values.first().isDouble())
        return std::nullopt;
    return ReferenceDate{values.first().toDouble()};
}

} // namespace

AppUpdates::AppUpdates(const QString& directory, const QString& installed, bool storeDistribution, Fetch fetch,
                       AppUpdatesEnvironment environment, QObject* parent)
    : QObject(parent)
    , m_directory(directory)
    , m_stateURL(QDir(directory).filePath(stateFileName))
    , m_installed(installed)
    , m_storeDistribution(storeDistribution)
    , m_fetch(std::move(fetch))
    , m_environment(std::move(environment))
{
    if (!m_fetch) {
        CatalogRequest request;
        request.server = m_environment.server;
        m_fetch = [request] { return CatalogLoader::loadCatalog(request); };
    }
    if (!m_environment.now)
        m_environment.now = &ReferenceDate::now;
    if (!m_environment.openUrl)
        m_environment.openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    readAttempt();
}

AppUpdates::~AppUpdates() = default;

QString AppUpdates::defaultInstalled()
{
    const QString version = BuildInfo::shortVersion();
    return version.isEmpty() ? QStringLiteral("0.0.0") : version;
}

bool AppUpdates::defaultStoreDistribution() { return BuildInfo::sandboxed(); }

void AppUpdates::setPresenter(std::unique_ptr<ReleaseNotesPresenter> presenter)
{
    m_presenter = std::move(presenter);
}

void AppUpdates::start(std::function<bool()> automaticEnabled)
{
    m_automaticEnabled = std::move(automaticEnabled);
    m_timer = std::make_unique<QTimer>();
    m_timer->setInterval(m_environment.tickInterval);
    // The timer belongs to the checker, so a tick never outlives it.
    connect(m_timer.get(), &QTimer::timeout, this, &AppUpdates::checkIfDue);
    m_timer->start();
    checkIfDue();
}

void AppUpdates::checkIfDue()
{
    if (m_storeDistribution || !automaticallyEnabled() || !isDue(now()) || dialogOpen())
        return;
    QMetaObject::invokeMethod(this, [this] { check(false, false, true); }, Qt::QueuedConnection);
}

bool AppUpdates::isDue(ReferenceDate at) const
{
    if (!m_lastAttempt)
        return true;
    const double elapsed = at.secondsSinceReferenceDate - m_lastAttempt->secondsSinceReferenceDate;
    // A negative time means the clock was set back: check rather than wait
    // for a day that may be far away.
    return elapsed >= checkPeriodSeconds || elapsed < 0;
}

void AppUpdates::check(bool manual, bool history, bool present)
{
    if (m_checking)
        return;
    if (m_storeDistribution && !history) {
        m_environment.openUrl(storeUpdatesPage());
        return;
    }
    setChecking(true);
    setStatus(L10n::text(QStringLiteral("Recherche des mises à jour…")));
    setLastAttempt(now());
    // Remembered before the fetch, so that a failing check is not retried
    // before the next day, even if the program stops meanwhile.
    saveAttempt();

    QFuture<QByteArray> fetched;
    try {
        fetched = m_fetch();
    } catch (...) {
        fail();
        return;
    }
    // A watcher rather than future.then(this, ...): Qt 6.4 asserts when a
    // continuation's context is gone before the future ends, whereas a
    // watcher simply dies with the checker.
    auto* watcher = new QFutureWatcher<QByteArray>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, manual, history, present] {
        watcher->deleteLater();
        finishCheck(watcher->future(), manual, history, present);
    });
    watcher->setFuture(fetched);
}

void AppUpdates::finishCheck(QFuture<QByteArray> fetched, bool manual, bool history, bool present)
{
    ReleaseCatalog catalog;
    QList<PublishedRelease> newer;
    try {
        // A future that ends without a result (cancelled) has nothing to
        // decode; one that failed rethrows its error here.
        if (fetched.resultCount() < 1) {
            fetched.waitForFinished();
            throw std::runtime_error("the catalog fetch ended without a result");
        }
        catalog = ReleaseCatalog::decode(fetched.result());
        newer = catalog.newer(m_installed, m_environment.platform);
    } catch (...) {
        fail();
        return;
    }
    setStatus(newer.isEmpty()
                  ? L10n::text(QStringLiteral("Quillor est à jour."))
                  : L10n::format(QStringLiteral("Quillor %@ est disponible."), {newer.first().version}));
    // The user may have turned automatic checks off while the catalog loaded.
    if (!manual && !automaticallyEnabled()) {
        setChecking(false);
        return;
    }
    if (present && (history || !newer.isEmpty())) {
        presentReleases(catalog, newer, history);
        return;
    }
    setChecking(false);
}

void AppUpdates::presentReleases(const ReleaseCatalog& catalog, const QList<PublishedRelease>& newer, bool history)
{
    std::optional<PublishedRelease> update;
    if (!newer.isEmpty() && !m_storeDistribution)
        update = newer.first();
    const QPointer<AppUpdates> self(this);
    // The check ends only when the dialog is closed: until then `checking`
    // stays true, which keeps other checks away.
    show(history ? historyOrder(catalog.releases) : newer, update, [self] {
        if (self)
            self->setChecking(false);
    });
}

void AppUpdates::fail()
{
    setStatus(L10n::text(QStringLiteral("Impossible de rechercher les mises à jour. Vérifie ta connexion et réessaie.")));
    setChecking(false);
}

void AppUpdates::show(const QList<PublishedRelease>& releases, const std::optional<PublishedRelease>& update,
                      std::function<void()> closed)
{
    if (!m_presenter || m_presenter->isOpen()) {
        if (closed)
            closed();
        return;
    }
    ReleaseNotes notes;
    notes.releases = releases;
    notes.installed = m_installed;
    notes.update = update;
    notes.storeDistribution = m_storeDistribution;
    notes.website = m_environment.server.website();
    notes.platform = m_environment.platform;
    m_presenter->show(notes, closed ? std::move(closed) : [] {});
}

void AppUpdates::closeDialog()
{
    if (m_presenter)
        m_presenter->close();
}

bool AppUpdates::dialogOpen() const { return m_presenter && m_presenter->isOpen(); }

void AppUpdates::readAttempt()
{
    try {
        if (const auto bytes = FileSystem::readIfExists(m_stateURL))
            m_lastAttempt = decodeAttempt(*bytes);
    } catch (const std::exception&) {
        // An unreadable record counts as no check yet: the next one is due.
    }
}

void AppUpdates::saveAttempt() const
{
    if (!m_lastAttempt)
        return;
    try {
        FileSystem::createDirectories(m_directory);
        FileSystem::writeAtomically(m_stateURL, QByteArray::number(m_lastAttempt->secondsSinceReferenceDate, 'g', 17));
    } catch (const std::exception&) {
        // The check goes on; the attempt is then remembered in memory only.
    }
}

bool AppUpdates::automaticallyEnabled() const { return m_automaticEnabled && m_automaticEnabled(); }

ReferenceDate AppUpdates::now() const { return m_environment.now(); }

void AppUpdates::setChecking(bool checking)
{
    if (m_checking == checking)
        return;
    m_checking = checking;
    Q_EMIT checkingChanged();
}

void AppUpdates::setStatus(const std::optional<QString>& status)
{
    if (m_status == status)
        return;
    m_status = status;
    Q_EMIT statusChanged();
}

void AppUpdates::setLastAttempt(const std::optional<ReferenceDate>& lastAttempt)
{
    if (m_lastAttempt == lastAttempt)
        return;
    m_lastAttempt = lastAttempt;
    Q_EMIT lastAttemptChanged();
}

} // namespace quillor
