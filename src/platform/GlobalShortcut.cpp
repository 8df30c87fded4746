#include "platform/GlobalShortcut.h"

#include "core/L10n.h"

#include <QCoreApplication>

namespace quillor {

PlatformError shortcutError(int status, bool activeKept)
{
    QString message = status == HotKeyStatus::taken
        ? L10n::text(QStringLiteral("Ce raccourci est déjà réservé. Ferme l’application qui l’utilise ou choisis une autre combinaison."))
        : L10n::format(QStringLiteral("Ce raccourci est indisponible (%@)."), {QString::number(status)});
    message += activeKept ? L10n::text(QStringLiteral(" Le raccourci actif est conservé."))
                          : L10n::text(QStringLiteral(" Ouvre les réglages depuis le menu Quillor."));
    return PlatformError(QStringLiteral("Quillor.Shortcut"), status, message);
}

GlobalShortcut::GlobalShortcut() : GlobalShortcut(X11HotKeyGrabber::applicationConnection())
{
}

GlobalShortcut::GlobalShortcut(xcb_connection_t* connection) : m_grabber(connection)
{
    m_grabber.pressed = [this] { onPressed(); };
    // Only Qt's connection delivers through the filter; another connection is
    // read by its owner through processPendingEvents().
    if (connection && connection == X11HotKeyGrabber::applicationConnection()) {
        QCoreApplication::instance()->installNativeEventFilter(&m_grabber);
        m_filterInstalled = true;
    }
}

GlobalShortcut::~GlobalShortcut()
{
    terminate();
}

ShortcutTransaction<quint32>& GlobalShortcut::transaction()
{
    if (!m_transaction) {
        m_transaction = std::make_unique<ShortcutTransaction<quint32>>(
            [this](const ShortcutCombination& combination) { return registerCombination(combination); },
            [this](const quint32& id) { m_grabber.ungrab(id); });
    }
    return *m_transaction;
}

quint32 GlobalShortcut::registerCombination(const ShortcutCombination& combination)
{
    const quint32 id = ++m_nextID;
    const int status = m_grabber.grab(id, combination.code, combination.modifiers);
    if (status != 0)
        throw shortcutError(status, transaction().active().has_value());
    return id;
}

void GlobalShortcut::setRecording(bool recording)
{
    m_recording = recording;
    if (recording)
        transaction().suspend();
    else
        transaction().resume();
}

void GlobalShortcut::onPressed()
{
    if (!m_recording && action)
        action();
}

void GlobalShortcut::terminate()
{
    if (m_transaction)
        m_transaction->invalidate();
    if (m_filterInstalled && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(&m_grabber);
    m_filterInstalled = false;
}

} // namespace quillor
