#pragma once

#include "platform/FileIdentity.h"
#include "platform/PathWatcher.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <optional>

namespace quillor {

// Watches the folders whose change may change what a capture to the routed
// destination meets, so that its notice comes and goes at once: every folder
// from "/" down to the vault, the vault, its Obsidian settings and the folder
// the notes go to. The owner looks at the destinations again when told to
// (lookDue, pollDue).
//
// What it may touch: its own PathWatcher (whose thread reads the events and
// lets through only those that concern the path) and its two timers. It
// reads the disk only in survey(), which the owner runs off the UI thread in
// its own look and hands back through take(); adding and removing watches is
// all it does on the UI thread. It knows nothing of destinations or settings.
//
// Above the vault only the next folder on the way down matters (made,
// removed, renamed), and a ".obsidian" folder, which can make an Obsidian
// vault of any folder above the notes; the folder's own move or removal is
// seen by its watch. A path that names another folder than the one watched
// (renamed away and made again) is watched again. When the system gives no
// watch for some of them, they are looked at every two seconds while the
// panel shows instead.
class DestinationFolderWatch : public QObject {
    Q_OBJECT

public:
    // What a look found of the folders wanted: the identity of each that
    // exists, in their order, absent for the others.
    struct Survey {
        QStringList wanted;
        QList<std::optional<FileIdentity>> found;

        bool operator==(const Survey&) const = default;
    };

    explicit DestinationFolderWatch(QObject* parent = nullptr);

    // Follows the routed destination's vault and notes folder (empty: none).
    // True when other folders are wanted now: the old ones are let go of at
    // once, the new ones watched when the owner's look has found them.
    bool follow(const QString& vault, const QString& folder);
    const QStringList& wanted() const { return m_wanted; }

    // Reads the disk: safe on any thread.
    static Survey survey(const QStringList& wanted);
    // Watches those of the wanted folders the survey found, and lets go of the
    // others. A survey of other folders than those wanted now is ignored.
    void take(const Survey& survey);

    // While the panel shows and some folders could not be watched, they are
    // polled. Showing it asks the system again for the watches it refused.
    void setPanelShown(bool shown);

    // The folders watched at the moment, and whether a look is due because
    // one of them changed.
    QStringList watched() const { return m_watcher.paths(); }
    bool lookScheduled() const { return m_lookScheduled; }

Q_SIGNALS:
    // A burst of changes settled, or new watches were set (what changed
    // before went unseen): look again.
    void lookDue();
    // The poll's tick: look again unless a look is already under way.
    void pollDue();

private:
    void scheduleLook();
    void updatePoll();

    PathWatcher m_watcher;
    QString m_vault, m_folder;
    QStringList m_wanted;
    // The entries that matter in each folder above the vault (the next on the
    // way down, ".obsidian"); every entry of the others does.
    QHash<QString, QStringList> m_names;
    // What each watched path named when its watch was set.
    QHash<QString, FileIdentity> m_identities;
    bool m_lookScheduled = false;
    bool m_panelShown = false;
    // Some existing folder could not be watched at the last try, and the
    // folders that existed then.
    bool m_incomplete = false;
    std::optional<Survey> m_refused;
    QTimer m_poll;
};

} // namespace quillor
