#include "model/AppModel.h"

#include "core/DestinationValidation.h"
#include "core/Error.h"
#include "core/FileSystem.h"
#include "core/L10n.h"
#include "model/DataDirectory.h"
#include "model/VaultAccess.h"

#include <QTextBoundaryFinder>

namespace quillor {

namespace {

// One user-perceived character that cannot begin a word, so that a route
// ("@inbox") never swallows the first word of an ordinary capture.
bool isUsableRoutePrefix(const QString& prefix)
{
    if (prefix.isEmpty())
        return false;
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, prefix);
    if (graphemes.toNextBoundary() != prefix.size())
        return false;
    const char32_t first = prefix.toUcs4().constFirst();
    return !QChar::isLetter(first) && !QChar::isNumber(first) && !QChar::isSpace(first);
}

} // namespace

bool AppModel::applyPreferences(const Preferences& candidate, bool allowUnconfiguredVaults)
{
    Preferences settings = candidate;
    settings.ensureDefaultDestination();
    std::optional<QString> refusal = settingsRefusal(settings, allowUnconfiguredVaults);
    if (!refusal)
        refusal = saveSettings(settings);
    if (refusal) {
        setSettingsError(refusal);
        return false;
    }

    setPreferences(settings);
    m_restoredDestinationMissing = namesMissingDestination(m_draft.destinationID);
    Q_EMIT modelChanged();
    setSettingsError(std::nullopt);
    refreshIndex(true);
    if (onIndexChanged)
        onIndexChanged();
    return true;
}

std::optional<QString> AppModel::settingsRefusal(Preferences& candidate, bool allowUnconfiguredVaults)
{
    // Restored in place: a refreshed bookmark or a moved folder is what gets
    // saved. An unreachable folder is reported before anything that looks at
    // the folder's contents.
    for (Destination& destination : candidate.destinations) {
        try {
            m_vaultAccess.restore(destination);
        } catch (const Error& error) {
            return error.localizedDescription();
        }
    }
    if (candidate.destinations.isEmpty())
        return L10n::text(QStringLiteral("Ajoute une destination."));
    const QList<DestinationIssue> issues =
        DestinationValidation::issues(candidate.deliveryDestinations(), allowUnconfiguredVaults);
    if (!issues.isEmpty())
        return issues.first().message;
    if (!isUsableRoutePrefix(candidate.routePrefix))
        return L10n::text(QStringLiteral("Choisis un seul caractère de ponctuation comme préfixe."));
    for (const Destination& destination : std::as_const(candidate.destinations)) {
        if (const auto issue = candidate.attachmentPolicy(destination).configurationIssue())
            return issue;
    }
    return std::nullopt;
}

std::optional<QString> AppModel::saveSettings(const Preferences& settings)
{
    // Refused before the shell takes a new hot key for settings it could
    // not write.
    if (m_settingsWriteRefusal)
        return m_settingsWriteRefusal;
    try {
        if (onApplyPreferences)
            onApplyPreferences(settings);
        else
            savePreferencesFile(settings);
    } catch (const Error& error) {
        return error.localizedDescription();
    } catch (const std::exception& error) {
        // The shell's registration step may fail with a library's own error.
        return QString::fromUtf8(error.what());
    }
    return std::nullopt;
}

void AppModel::savePreferencesFile(const Preferences& settings) const
{
    if (m_settingsWriteRefusal)
        throw PlatformError(QStringLiteral("Quillor"), 1, *m_settingsWriteRefusal);
    FileSystem::createDirectories(m_dataDirectory);
    settings.save(m_dataDirectory + QLatin1Char('/') + DataDirectory::preferencesFileName());
}

} // namespace quillor
