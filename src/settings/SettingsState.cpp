#include "settings/SettingsState.h"

namespace quillor {

void SettingsState::invalidate()
{
    m_blockers.reset();
    m_issues.reset();
    Q_EMIT changed();
}

void SettingsState::setCandidate(const Preferences& candidate)
{
    if (m_candidate == candidate)
        return;
    m_candidate = candidate;
    m_applied = false;
    invalidate();
}

void SettingsState::setExpanded(const QUuid& id, bool expanded)
{
    if (m_expanded.contains(id) == expanded)
        return;
    if (expanded)
        m_expanded.insert(id);
    else
        m_expanded.remove(id);
    Q_EMIT changed();
}

void SettingsState::setNeedsConfirmation(const QUuid& id, bool needed)
{
    if (m_confirmations.contains(id) == needed)
        return;
    if (needed)
        m_confirmations.insert(id);
    else
        m_confirmations.remove(id);
    invalidate();
}

void SettingsState::clearConfirmations()
{
    if (m_confirmations.isEmpty())
        return;
    m_confirmations.clear();
    invalidate();
}

void SettingsState::setApplied(bool applied)
{
    if (m_applied == applied)
        return;
    m_applied = applied;
    Q_EMIT changed();
}

void SettingsState::setErrorSection(const std::optional<SettingsSection>& section)
{
    if (m_errorSection == section)
        return;
    m_errorSection = section;
    Q_EMIT changed();
}

void SettingsState::setLogin(bool enabled, const std::optional<QString>& error)
{
    if (m_loginEnabled == enabled && m_loginError == error)
        return;
    m_loginEnabled = enabled;
    m_loginError = error;
    Q_EMIT changed();
}

const QList<SettingsBlocker>& SettingsState::blockers() const
{
    if (!m_blockers)
        m_blockers = SettingsValidation::blockers(m_candidate, m_confirmations, issues());
    return *m_blockers;
}

const QList<DestinationIssue>& SettingsState::issues() const
{
    if (!m_issues)
        m_issues = DestinationValidation::issues(m_candidate.deliveryDestinations(), false);
    return *m_issues;
}

} // namespace quillor
