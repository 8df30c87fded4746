#pragma once

#include "core/DestinationValidation.h"
#include "core/SettingsSection.h"
#include "model/Preferences.h"
#include "settings/SettingsValidation.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <QUuid>

#include <optional>

namespace quillor {

// What the settings window holds while it is open: the copy of the settings
// being edited and the window's own marks on it. Every change is signalled
// once through changed(); the sections bring their widgets up to date from
// here. Main thread only.
class SettingsState : public QObject {
    Q_OBJECT

public:
    explicit SettingsState(QObject* parent = nullptr) : QObject(parent) {}

    // The edited copy. A different value clears `applied`.
    const Preferences& candidate() const { return m_candidate; }
    void setCandidate(const Preferences& candidate);
    // The value the copy had at its last reset: equal means no unapplied edit.
    const Preferences& baseline() const { return m_baseline; }
    void setBaseline(const Preferences& baseline) { m_baseline = baseline; }

    // Destinations shown unfolded.
    const QSet<QUuid>& expandedDestinations() const { return m_expanded; }
    void setExpanded(const QUuid& id, bool expanded);
    // Destinations whose new mode's path the user has yet to confirm.
    const QSet<QUuid>& modeNeedsConfirmation() const { return m_confirmations; }
    void setNeedsConfirmation(const QUuid& id, bool needed);
    void clearConfirmations();

    bool applied() const { return m_applied; }
    void setApplied(bool applied);
    // The section under which the model's settings error is shown.
    const std::optional<SettingsSection>& errorSection() const { return m_errorSection; }
    void setErrorSection(const std::optional<SettingsSection>& section);

    bool loginEnabled() const { return m_loginEnabled; }
    const std::optional<QString>& loginError() const { return m_loginError; }
    void setLogin(bool enabled, const std::optional<QString>& error);

    // The blockers and destination findings of the copy, computed once per
    // change (they look at the file system).
    const QList<SettingsBlocker>& blockers() const;
    const QList<DestinationIssue>& issues() const;

Q_SIGNALS:
    void changed();

private:
    void invalidate();

    Preferences m_candidate;
    Preferences m_baseline;
    QSet<QUuid> m_expanded;
    QSet<QUuid> m_confirmations;
    bool m_applied = false;
    std::optional<SettingsSection> m_errorSection;
    bool m_loginEnabled = false;
    std::optional<QString> m_loginError;
    mutable std::optional<QList<SettingsBlocker>> m_blockers;
    mutable std::optional<QList<DestinationIssue>> m_issues;
};

} // namespace quillor
