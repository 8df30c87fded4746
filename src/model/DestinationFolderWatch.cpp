#include "model/DestinationFolderWatch.h"

#include <QDir>

#include <chrono>
#include <utility>

namespace quillor {

namespace {

// A burst of changes in a folder (a sync tool writing many files) makes one look.
constexpr std::chrono::milliseconds lookDelay{150};
// How often the folders are looked at while the notice shows and some of them
// cannot be watched: slow, as each look reads the destinations' settings.
constexpr std::chrono::seconds pollInterval{2};

// Every folder above the vault, from "/" down: a folder removed takes the
// watches below it along, and the nearest one left standing sees the vault's
// road made again.
QStringList foldersAbove(const QString& vault)
{
    QStringList folders;
    for (QString above = vault;;) {
        const qsizetype slash = above.lastIndexOf(u'/');
        if (slash < 0 || above == QStringLiteral("/"))
            break;
        above = slash == 0 ? QStringLiteral("/") : above.left(slash);
        folders.prepend(above);
    }
    return folders;
}

} // namespace

DestinationFolderWatch::DestinationFolderWatch(QObject* parent) : QObject(parent)
{
    connect(&m_watcher, &PathWatcher::changed, this, &DestinationFolderWatch::scheduleLook);
    m_poll.setInterval(pollInterval);
    connect(&m_poll, &QTimer::timeout, this, &DestinationFolderWatch::pollDue);
}

bool DestinationFolderWatch::follow(const QString& vault, const QString& folder)
{
    // Reached at each key: an unchanged route costs two comparisons.
    if (vault == m_vault && folder == m_folder)
        return false;
    m_vault = vault;
    m_folder = folder;
    // Where a change of the destination's validity or delivery form shows:
    // the folders above the vault, the vault itself (a ".obsidian" folder
    // appears), its Obsidian settings (app.json rewritten) and the folder the
    // notes go to. Only the texts: which exist is found off the UI thread.
    QStringList paths;
    QHash<QString, QStringList> names;
    if (!vault.isEmpty()) {
        const QString cleanVault = QDir::cleanPath(vault);
        const QString settings = cleanVault + QStringLiteral("/.obsidian");
        const QStringList whole{cleanVault, settings, settings + QStringLiteral("/app.json"), QDir::cleanPath(folder)};
        const QStringList above = foldersAbove(cleanVault);
        for (qsizetype i = 0; i < above.size(); ++i) {
            const QString& next = i + 1 < above.size() ? above.at(i + 1) : cleanVault;
            if (!whole.contains(above.at(i)))
                names.insert(above.at(i), {next.mid(next.lastIndexOf(u'/') + 1), QStringLiteral(".obsidian")});
        }
        paths = above + whole;
        paths.removeDuplicates();
    }
    if (paths == m_wanted && names == m_names)
        return false;
    m_wanted = paths;
    const QHash<QString, QStringList> before = std::exchange(m_names, names);
    // The folders of the other route no longer matter; the new ones are
    // watched when a look has found them. What was last seen of them may be
    // old: they were not watched. One kept may now matter for another name.
    for (const QString& path : m_watcher.paths()) {
        const bool otherNames = m_names.value(path) != before.value(path);
        if (!m_wanted.contains(path) || (otherNames && !m_watcher.watch(path, m_names.value(path)))) {
            m_watcher.release(path);
            m_identities.remove(path);
        }
    }
    return true;
}

DestinationFolderWatch::Survey DestinationFolderWatch::survey(const QStringList& wanted)
{
    Survey survey{wanted, {}};
    survey.found.reserve(wanted.size());
    for (const QString& path : wanted)
        survey.found.append(FileIdentity::of(path));
    return survey;
}

void DestinationFolderWatch::take(const Survey& survey)
{
    // Folders found for another route are not this one's; the look started
    // for the new route tells of them.
    if (survey.wanted != m_wanted)
        return;
    QHash<QString, FileIdentity> existing;
    for (qsizetype i = 0; i < survey.wanted.size(); ++i) {
        if (survey.found.at(i))
            existing.insert(survey.wanted.at(i), *survey.found.at(i));
    }
    // The watcher lets go of a folder removed; one still listed may be gone
    // since, or its path may name another folder now (renamed away and made
    // again at once): that one is watched again.
    for (const QString& path : m_watcher.paths()) {
        const auto now = existing.constFind(path);
        if (now == existing.cend() || *now != m_identities.value(path)) {
            m_watcher.release(path);
            m_identities.remove(path);
        }
    }
    const QStringList watched = m_watcher.paths();
    m_identities.removeIf([&](QHash<QString, FileIdentity>::iterator entry) { return !watched.contains(entry.key()); });
    QStringList fresh;
    for (const QString& path : survey.wanted) {
        if (existing.contains(path) && !watched.contains(path))
            fresh.append(path);
    }
    // The system had no watch left for the same folders at the last try: the
    // next try waits for other folders or the panel shown again; the timer
    // looks meanwhile.
    if (m_incomplete && m_refused == survey)
        return;
    qsizetype failed = 0;
    for (const QString& path : fresh) {
        if (m_watcher.watch(path, m_names.value(path)))
            m_identities.insert(path, existing.value(path));
        else
            ++failed;
    }
    // Those the system has no watch left for (or gone again already) are
    // looked at on the timer instead.
    m_incomplete = failed > 0;
    m_refused = m_incomplete ? std::optional(survey) : std::nullopt;
    updatePoll();
    // What changed in a folder before its watch was set went unseen: a vault
    // made just after its parent came back. The next look also sees whether
    // the folder watched is the one the survey found.
    if (failed < fresh.size())
        scheduleLook();
}

void DestinationFolderWatch::setPanelShown(bool shown)
{
    m_panelShown = shown;
    // Watches may have been freed meanwhile.
    m_refused.reset();
    updatePoll();
}

void DestinationFolderWatch::scheduleLook()
{
    if (std::exchange(m_lookScheduled, true))
        return;
    QTimer::singleShot(lookDelay, this, [this] {
        m_lookScheduled = false;
        // Changes from now on are the next look's.
        m_watcher.takeChange();
        Q_EMIT lookDue();
    });
}

void DestinationFolderWatch::updatePoll()
{
    if (m_panelShown && m_incomplete) {
        if (!m_poll.isActive())
            m_poll.start();
    } else {
        m_poll.stop();
    }
}

} // namespace quillor
