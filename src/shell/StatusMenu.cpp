#include "shell/StatusMenu.h"

#include "core/L10n.h"
#include "editor/QuillorBrand.h"
#include "model/AppModel.h"
#include "platform/FileManager.h"
#include "platform/GlobalShortcut.h"
#include "shell/AppMenuPresentation.h"

#include <QApplication>
#include <QFileInfo>
#include <QPalette>

namespace quillor {

namespace {

constexpr int trayIconSize = 18;

// Key hints are shown, not bound: the hot key itself is global, and the
// menu must not steal Ctrl+Q or Ctrl+, from the window that has the focus.
QAction* addItem(QMenu* menu, const QString& title, const std::function<void()>& run,
                 const QKeySequence& hint = {})
{
    QAction* action = menu->addAction(title);
    action->setShortcut(hint);
    action->setShortcutContext(Qt::WidgetShortcut);
    if (run)
        QObject::connect(action, &QAction::triggered, menu, [run] { run(); });
    return action;
}

} // namespace

StatusMenu::StatusMenu(AppModel& model, GlobalShortcut& shortcut, Actions actions, QWidget* parent)
    : QMenu(parent), m_model(model), m_shortcut(shortcut), m_reportFailure(actions.reportFailure)
{
    setToolTipsVisible(true);

    addAction(AppMenuPresentation::versionTitle())->setEnabled(false);
    addSeparator();
    addItem(this, L10n::text(QStringLiteral("Nouvelle capture")), actions.showCapture)->setData(captureTag);
    addItem(this, L10n::text(QStringLiteral("Réglages…")), actions.showSettings,
            QKeySequence(Qt::ControlModifier | Qt::Key_Comma));
    addSeparator();
    addItem(this, L10n::text(QStringLiteral("Historique des captures…")), actions.showHistory);
    QAction* latest = addAction(L10n::text(QStringLiteral("Dernière capture")));
    latest->setEnabled(false);
    latest->setData(latestTag);
    addItem(this, L10n::text(QStringLiteral("Afficher la dernière capture dans le Finder")),
            [this] { revealLatest(); })
        ->setData(revealTag);
    addItem(this, L10n::text(QStringLiteral("Ouvrir la dernière note")), [this] { openLatest(); })->setData(openTag);
    addSeparator();
    addItem(this, L10n::text(QStringLiteral("Afficher les données locales")), actions.showData);
    addItem(this, L10n::text(QStringLiteral("Quitter Quillor")), actions.quit,
            QKeySequence(Qt::ControlModifier | Qt::Key_Q));

    connect(this, &QMenu::aboutToShow, this, &StatusMenu::refresh);
    connect(&m_model, &AppModel::hotkeyLabelChanged, this, &StatusMenu::refresh);
    connect(&m_model, &AppModel::latestReceiptChanged, this, &StatusMenu::refresh);
    refresh();
}

QAction* StatusMenu::item(Tag tag) const
{
    const QList<QAction*> items = actions();
    for (QAction* action : items) {
        if (action->data() == QVariant(int(tag)))
            return action;
    }
    return nullptr;
}

void StatusMenu::refresh()
{
    const ShortcutTransaction<quint32>& transaction = m_shortcut.transaction();
    const std::optional<ShortcutCombination> live =
        transaction.token() ? transaction.active() : std::optional<ShortcutCombination>();
    const AppMenuPresentation::CaptureItem capture = AppMenuPresentation::captureItem(live);
    item(captureTag)->setShortcut(capture.keys);
    item(captureTag)->setToolTip(capture.toolTip);

    const std::optional<DeliveryReceipt>& receipt = m_model.latestReceipt();
    item(latestTag)->setText(AppMenuPresentation::latestTitle(receipt));
    const bool noteExists = receipt && QFileInfo(receipt->path).isFile();
    item(revealTag)->setEnabled(noteExists);
    item(openTag)->setEnabled(noteExists);
}

void StatusMenu::revealLatest() const
{
    if (const std::optional<DeliveryReceipt>& receipt = m_model.latestReceipt())
        FileManager::reveal(receipt->path, m_reportFailure);
}

void StatusMenu::openLatest() const
{
    if (const std::optional<DeliveryReceipt>& receipt = m_model.latestReceipt())
        FileManager::open(receipt->path, m_reportFailure);
}

QIcon StatusMenu::trayIcon()
{
    // No tray recolours a template image here: the mark takes the text colour.
    const QColor colour = QApplication::palette().color(QPalette::WindowText);
    return QIcon(QuillorBrand::image(trayIconSize, true, colour, qApp->devicePixelRatio()));
}

} // namespace quillor
