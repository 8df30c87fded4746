#include "core/SettingsSection.h"

#include "core/L10n.h"

namespace quillor {

QList<SettingsSection> SettingsSection::allCases()
{
    return {general, destinations, shortcuts, guide, history, about};
}

QList<SettingsSection> SettingsSection::mobileSections()
{
    QList<SettingsSection> sections = allCases();
    sections.removeAll(SettingsSection(shortcuts));
    return sections;
}

std::optional<SettingsSection> SettingsSection::fromRawValue(const QString& rawValue)
{
    for (const SettingsSection section : allCases()) {
        if (section.rawValue() == rawValue)
            return section;
    }
    return std::nullopt;
}

QString SettingsSection::rawValue() const
{
    switch (value) {
    case general: return QStringLiteral("general");
    case destinations: return QStringLiteral("destinations");
    case shortcuts: return QStringLiteral("shortcuts");
    case guide: return QStringLiteral("guide");
    case history: return QStringLiteral("history");
    case about: return QStringLiteral("about");
    }
    return QString();
}

QString SettingsSection::title() const
{
    switch (value) {
    case general: return L10n::text(QStringLiteral("Général"));
    case destinations: return L10n::text(QStringLiteral("Destinations"));
    case shortcuts: return L10n::text(QStringLiteral("Raccourcis clavier"));
    case guide: return L10n::text(QStringLiteral("Guide d’utilisation"));
    case history: return L10n::text(QStringLiteral("Historique des captures"));
    case about: return L10n::text(QStringLiteral("À propos"));
    }
    return QString();
}

QString SettingsSection::symbol() const
{
    switch (value) {
    case general: return QStringLiteral("gearshape");
    case destinations: return QStringLiteral("folder");
    case shortcuts: return QStringLiteral("keyboard");
    case guide: return QStringLiteral("book");
    case history: return QStringLiteral("clock.arrow.circlepath");
    case about: return QStringLiteral("info.circle");
    }
    return QString();
}

} // namespace quillor
