#include "shell/AppMenuPresentation.h"

#include "core/L10n.h"
#include "platform/BuildInfo.h"
#include "platform/HotKeyMapping.h"

namespace quillor::AppMenuPresentation {

namespace {

constexpr quint32 spaceCode = 49;

QString orDash(const QString& part)
{
    return part.isEmpty() ? QStringLiteral("—") : part;
}

Qt::KeyboardModifiers qtModifiers(quint32 mask)
{
    Qt::KeyboardModifiers modifiers;
    if (mask & HotKeyMapping::commandMask)
        modifiers |= Qt::MetaModifier;
    if (mask & HotKeyMapping::shiftMask)
        modifiers |= Qt::ShiftModifier;
    if (mask & HotKeyMapping::optionMask)
        modifiers |= Qt::AltModifier;
    if (mask & HotKeyMapping::controlMask)
        modifiers |= Qt::ControlModifier;
    return modifiers;
}

// The key a label names once its modifier symbols are gone ("⌃⌥K" → K).
std::optional<Qt::Key> labelKey(const QString& label)
{
    static const QString symbols = QStringLiteral("⌃⌥⇧⌘");
    qsizetype start = 0;
    while (start < label.size() && symbols.contains(label.at(start)))
        ++start;
    const QString name = label.mid(start);
    if (name.isEmpty())
        return std::nullopt;
    const QKeySequence parsed = QKeySequence::fromString(name.size() == 1 ? name.toUpper() : name,
                                                         QKeySequence::PortableText);
    if (parsed.count() != 1 || parsed[0].keyboardModifiers() != Qt::NoModifier || parsed[0].key() == Qt::Key_unknown)
        return std::nullopt;
    return parsed[0].key();
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
    const std::optional<Qt::Key> key = live->code == spaceCode ? Qt::Key_Space : labelKey(live->label);
    if (!key)
        return {};
    return {QKeySequence(QKeyCombination(qtModifiers(live->modifiers), *key)), {}};
}

QString latestTitle(const std::optional<DeliveryReceipt>& latest)
{
    if (!latest)
        return L10n::text(QStringLiteral("Aucune capture livrée"));
    const QString name = latest->destinationName.value_or(L10n::text(QStringLiteral("Note")));
    return L10n::text(QStringLiteral("Dernière capture : ")) + name + QStringLiteral(" · ") + latest->date;
}

} // namespace quillor::AppMenuPresentation
