#include "settings/SettingsNavigation.h"

namespace quillor {

void SettingsNavigation::setSection(SettingsSection section)
{
    if (m_section == section)
        return;
    m_section = section;
    Q_EMIT sectionChanged();
}

void SettingsNavigation::setQuery(const QString& query)
{
    if (m_query == query)
        return;
    m_query = query;
    Q_EMIT queryChanged();
}

void SettingsNavigation::setTarget(const std::optional<QString>& target)
{
    if (m_target == target)
        return;
    m_target = target;
    Q_EMIT targetChanged();
}

} // namespace quillor
