#pragma once

#include "core/SettingsSection.h"

#include <QObject>
#include <QString>

#include <optional>

namespace quillor {

// Where the settings window stands: the section shown, the search text and
// the row to scroll to and tint. One instance lives for the whole run, shared
// by the window and the shell, which writes it to open the window on a given
// section. Each signal fires on a real change only.
class SettingsNavigation : public QObject {
    Q_OBJECT

public:
    explicit SettingsNavigation(QObject* parent = nullptr) : QObject(parent) {}

    SettingsSection section() const { return m_section; }
    const QString& query() const { return m_query; }
    const std::optional<QString>& target() const { return m_target; }

    void setSection(SettingsSection section);
    void setQuery(const QString& query);
    void setTarget(const std::optional<QString>& target);

    // A query made only of white space is not a search.
    bool searching() const { return !m_query.trimmed().isEmpty(); }

Q_SIGNALS:
    void sectionChanged();
    void queryChanged();
    void targetChanged();

private:
    SettingsSection m_section = SettingsSection::general;
    QString m_query;
    std::optional<QString> m_target;
};

} // namespace quillor
