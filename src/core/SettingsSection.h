#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace quillor {

// The sections of the settings window, in the order they are listed.
struct SettingsSection {
    enum Value { general, destinations, shortcuts, guide, history, about };

    Value value = general;

    constexpr SettingsSection(Value section) : value(section) {}

    static QList<SettingsSection> allCases();
    // Every section except the keyboard shortcuts, which a phone has not.
    static QList<SettingsSection> mobileSections();
    static std::optional<SettingsSection> fromRawValue(const QString& rawValue);

    QString rawValue() const;
    QString id() const { return rawValue(); }
    // Localised each time it is read.
    QString title() const;
    // A system symbol name; the views map it to an icon of their theme.
    QString symbol() const;

    bool operator==(const SettingsSection&) const = default;
};

} // namespace quillor
