// The three ways the hot key is driven: registration at launch from the
// settings, the change that comes with applied settings, and the pause while
// the settings record a new combination.

#include "shell/AppDelegate.h"

#include "core/L10n.h"
#include "model/AppModel.h"
#include "model/DataDirectory.h"
#include "model/Preferences.h"
#include "shell/StatusMenu.h"

#include <QDir>

namespace quillor {

namespace {

ShortcutCombination combinationOf(const Preferences& preferences)
{
    return {preferences.hotkeyCode, preferences.hotkeyModifiers, preferences.hotkeyDisplay};
}

} // namespace

QString AppDelegate::liveHotkeyLabel()
{
    const std::optional<ShortcutCombination>& active = m_shortcut->transaction().active();
    if (!active)
        return L10n::text(QStringLiteral("Indisponible"));
    return shortcutDisplayLabel(*active);
}

void AppDelegate::hotKeyChanged()
{
    // Tray hosts may copy the menu before it opens: it follows every change.
    if (m_statusMenu)
        m_statusMenu->refresh();
}

void AppDelegate::registerShortcut()
{
    const ShortcutCombination combination = combinationOf(m_model->preferences());
    try {
        m_shortcut->transaction().change(combination);
    } catch (const Error& error) {
        const QString unavailable = L10n::text(QStringLiteral("Indisponible"));
        m_model->setHotkeyLabel(unavailable);
        const QString message = L10n::text(QStringLiteral("Raccourci mémorisé : "))
                                + shortcutDisplayLabel(combination) + QStringLiteral(". ")
                                + error.localizedDescription()
                                + L10n::text(QStringLiteral(" Utilise le menu Quillor pour capturer."));
        m_model->setShortcutError(message);
        // Also where someone who launched the program from a terminal looks.
        qWarning("Quillor: hot key: %s. %s", qUtf8Printable(unavailable), qUtf8Printable(message));
        hotKeyChanged();
        return;
    }
    m_model->setHotkeyLabel(liveHotkeyLabel());
    m_model->setShortcutError(std::nullopt);
    hotKeyChanged();
}

void AppDelegate::applyShortcut(const Preferences& preferences)
{
    // The settings file is written only once the new hot key is held, and a
    // write that fails gives the new hot key back: the settings on disk and
    // the hot key in force never disagree.
    const QString path = QDir(m_model->dataDirectory()).filePath(DataDirectory::preferencesFileName());
    try {
        m_shortcut->transaction().change(combinationOf(preferences), [&] {
            QDir().mkpath(m_model->dataDirectory());
            preferences.save(path);
        });
    } catch (const PlatformError& error) {
        if (error.domain() == QLatin1String("Quillor.Shortcut"))
            m_model->setShortcutError(error.localizedDescription());
        throw;
    }
    m_model->setHotkeyLabel(liveHotkeyLabel());
    m_model->setShortcutError(std::nullopt);
    hotKeyChanged();
}

void AppDelegate::setShortcutRecording(bool recording)
{
    try {
        m_shortcut->setRecording(recording);
    } catch (const Error& error) {
        m_model->setShortcutError(error.localizedDescription());
    }
    hotKeyChanged();
}

void AppDelegate::endShortcutRecording()
{
    m_model->setRecordingShortcut(false);
    if (m_model->onShortcutRecordingChanged)
        m_model->onShortcutRecordingChanged(false);
}

} // namespace quillor
