#include "settings/HistorySettingsPage.h"

#include "core/Error.h"
#include "core/L10n.h"
#include "model/AppModel.h"
#include "platform/FileManager.h"
#include "settings/HistoryView.h"
#include "settings/SettingsRow.h"
#include "settings/SettingsStyle.h"
#include "settings/SettingsView.h"

#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillor {

namespace {

QString draftIconName(DraftState::Kind kind)
{
    switch (kind) {
    case DraftState::Kind::empty: return QStringLiteral("document-edit");
    case DraftState::Kind::pending: return QStringLiteral("document-open-recent");
    case DraftState::Kind::saved: return QStringLiteral("dialog-ok");
    case DraftState::Kind::restored: return QStringLiteral("view-refresh");
    case DraftState::Kind::failed: return QStringLiteral("dialog-warning");
    }
    return {};
}

QHBoxLayout* rowLayout(QWidget* row)
{
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(6, 6, 6, 6);
    return layout;
}

} // namespace

HistorySettingsPage::HistorySettingsPage(SettingsView& view, SettingsForm& form) : m_view(view)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    auto* recovery = new QVBoxLayout;
    recovery->setSpacing(10);
    recovery->setContentsMargins(0, 0, 0, 12);
    recovery->addWidget(buildDraftRow());
    auto* reminder = new QLabel(L10n::text(
        QStringLiteral("Échap masque la capture et conserve la saisie. Le brouillon est sauvegardé localement.")));
    SettingsStyle::makeCaption(reminder);
    recovery->addWidget(reminder);
    recovery->addWidget(buildLatestRow());
    groups()->setSpacing(0);
    groups()->addLayout(recovery);
    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setForegroundRole(QPalette::Mid);
    groups()->addWidget(line);
    m_history = new HistoryView(view.model(), [&view] { view.didRestore(); });
    groups()->addWidget(m_history, 1);
    form.registerRow(QStringLiteral("draft"), m_draftRow);
    form.registerRow(QStringLiteral("latest"), m_latestRow);

    AppModel& model = view.model();
    for (auto signal : {&AppModel::draftStateChanged, &AppModel::contentChanged, &AppModel::latestReceiptChanged})
        connect(&model, signal, this, &HistorySettingsPage::sync);
}

QWidget* HistorySettingsPage::buildDraftRow()
{
    m_draftRow = new SettingsRow(m_view.navigation(), QStringLiteral("draft"));
    QHBoxLayout* layout = rowLayout(m_draftRow);
    m_draftIcon = new QLabel;
    layout->addWidget(m_draftIcon);
    m_draftLabel = new QLabel;
    m_draftLabel->setWordWrap(true);
    layout->addWidget(m_draftLabel, 1);
    m_clear = new QPushButton(L10n::text(QStringLiteral("Effacer le brouillon…")));
    connect(m_clear, &QPushButton::clicked, this, &HistorySettingsPage::confirmClear);
    layout->addWidget(m_clear);
    return m_draftRow;
}

QWidget* HistorySettingsPage::buildLatestRow()
{
    m_latestRow = new SettingsRow(m_view.navigation(), QStringLiteral("latest"));
    auto* stack = new QVBoxLayout(m_latestRow);
    stack->setContentsMargins(0, 0, 0, 0);
    m_noLatest = new QLabel(L10n::text(QStringLiteral("Aucune capture livrée")));
    SettingsStyle::makeCaption(m_noLatest);
    m_noLatest->setContentsMargins(6, 0, 6, 0);
    stack->addWidget(m_noLatest);
    m_latest = new QWidget;
    QHBoxLayout* layout = rowLayout(m_latest);
    auto* title = new QLabel(L10n::text(QStringLiteral("Dernière capture")));
    title->setFont(SettingsStyle::captionFont(title->font()));
    layout->addWidget(title);
    m_latestPath = new QLabel;
    m_latestPath->setFont(SettingsStyle::captionFont(m_latestPath->font()));
    m_latestPath->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_latestPath->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    layout->addWidget(m_latestPath, 1);
    m_openLatest = new QPushButton(L10n::text(QStringLiteral("Ouvrir la note")));
    m_revealLatest = new QPushButton(L10n::text(QStringLiteral("Afficher dans le Finder")));
    const auto latestPath = [this] {
        return m_view.model().latestReceipt() ? m_view.model().latestReceipt()->path : QString();
    };
    const FileManager::Failure report = [model = QPointer<AppModel>(&m_view.model())](const QString& message) {
        if (model)
            model->reportSettingsError(message);
    };
    connect(m_openLatest, &QPushButton::clicked, this,
            [latestPath, report] { FileManager::open(latestPath(), report); });
    connect(m_revealLatest, &QPushButton::clicked, this,
            [latestPath, report] { FileManager::reveal(latestPath(), report); });
    layout->addWidget(m_openLatest);
    layout->addWidget(m_revealLatest);
    stack->addWidget(m_latest);
    return m_latestRow;
}

void HistorySettingsPage::sync()
{
    const AppModel& model = m_view.model();
    const DraftState& state = model.draftState();
    m_draftLabel->setText(state.label());
    const QColor colour = state.kind() == DraftState::Kind::failed ? SettingsStyle::warningColour()
                                                                    : palette().color(QPalette::WindowText);
    m_draftIcon->setPixmap(SettingsStyle::icon(draftIconName(state.kind()), colour).pixmap(16, 16));
    m_draftIcon->setObjectName(draftIconName(state.kind()));
    m_clear->setEnabled(model.hasContent() && !model.saving());

    const std::optional<DeliveryReceipt>& receipt = model.latestReceipt();
    m_noLatest->setVisible(!receipt);
    m_latest->setVisible(receipt.has_value());
    if (receipt) {
        m_latestPath->setToolTip(receipt->path);
        elideLatestPath();
        // Asked afresh at each sync and window activation: the note may have
        // been moved or deleted since its delivery.
        const bool exists = QFileInfo::exists(receipt->path);
        m_openLatest->setEnabled(exists);
        m_revealLatest->setEnabled(exists);
    }
}

void HistorySettingsPage::elideLatestPath()
{
    const QString path = m_latestPath->toolTip();
    m_latestPath->setText(
        m_latestPath->fontMetrics().elidedText(path, Qt::ElideMiddle, std::max(m_latestPath->width(), 40)));
}

void HistorySettingsPage::changeEvent(QEvent* event)
{
    SettingsPage::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        sync();
}

void HistorySettingsPage::resizeEvent(QResizeEvent* event)
{
    SettingsPage::resizeEvent(event);
    elideLatestPath();
}

void HistorySettingsPage::confirmClear()
{
    if (m_question)
        return;
    m_question = new QMessageBox(QMessageBox::Warning, QString(), L10n::text(QStringLiteral("Effacer ce brouillon ?")),
                                 QMessageBox::NoButton, this);
    m_question->setInformativeText(L10n::text(QStringLiteral("Son contenu restera récupérable dans l’historique local.")));
    QPushButton* cancel = m_question->addButton(L10n::text(QStringLiteral("Annuler")), QMessageBox::RejectRole);
    QPushButton* clear =
        m_question->addButton(L10n::text(QStringLiteral("Archiver puis effacer")), QMessageBox::DestructiveRole);
    m_question->setDefaultButton(cancel);
    m_question->setEscapeButton(cancel);
    m_question->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_question, &QMessageBox::finished, this, [this, clear] {
        const bool clearing = m_question->clickedButton() == clear;
        m_question = nullptr;
        if (!clearing)
            return;
        try {
            m_view.model().archiveAndClearDraft();
        } catch (const Error& error) {
            m_view.model().reportSettingsError(error.localizedDescription());
            return;
        }
        // The archived draft is listed at once.
        m_history->reload();
    });
    m_question->setWindowModality(Qt::WindowModal);
    m_question->open();
}

} // namespace quillor
