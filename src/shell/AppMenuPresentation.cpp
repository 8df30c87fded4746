#include "shell/AppMenuPresentation.h"

#include "core/L10n.h"
#include "platform/BuildInfo.h"

namespace quillor::AppMenuPresentation {

namespace {

QString orDash(const QString& part)
{
    return part.isEmpty() ? QStringLiteral("—") : part;
}

} // namespace

QString versionTitle(const QString& shortVersion, const QString& buildNumber, const QString& testDataDirectory,
                     bool sandboxed)
{
    const QString kind = !testDataDirectory.isEmpty() ? L10n::text(QStringLiteral("Test"))
                         : sandboxed                  ? L10n::text(QStringLiteral("Sandbox"))
                                                      : L10n::text(QStringLiteral("Application"));
    return orDash(shortVersion) + QStringLiteral(" (") + orDash(buildNumber) + QStringLiteral(") · ") + kind;
}

QString versionTitle()
{
    return versionTitle(BuildInfo::shortVersion(), BuildInfo::buildNumber(), BuildInfo::testDataDirectory(),
                        BuildInfo::sandboxed());
}

CaptureItem captureItem(const std::optional<ShortcutCombination>& live)
{
    if (!live)
        return {{}, L10n::text(QStringLiteral("Raccourci indisponible ; tu peux toujours ouvrir la capture depuis ce menu."))};
    const std::optional<QKeyCombination> keys = keyCombination(*live);
    if (!keys)
        return {};
    return {QKeySequence(*keys), {}};
}

QString latestTitle(const std::optional<DeliveryReceipt>& latest)
{
    if (!latest)
        return L10n::text(QStringLiteral("Aucune capture livrée"));
    const QString name = latest->destinationName.value_or(L10n::text(QStringLiteral("Note")));
    return L10n::text(QStringLiteral("Dernière capture : ")) + name + QStringLiteral(" · ") + latest->date;
}

} // namespace quillor::AppMenuPresentation
