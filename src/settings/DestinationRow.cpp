#include "settings/DestinationRow.h"

#include "core/DestinationValidation.h"
#include "core/L10n.h"
#include "settings/AttachmentSettings.h"
#include "settings/DestinationFolders.h"
#include "settings/DestinationsSettingsPage.h"
#include "settings/SettingsState.h"
#include "settings/SettingsStyle.h"
#include "settings/SettingsValidation.h"
#include "settings/SettingsView.h"

#include <QComboBox>
#include <QDateTime>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillor {

namespace {

const Destination* findDestination(const QList<Destination>& destinations, const QUuid& id)
{
    for (const Destination& destination : destinations) {
        if (destination.id == id)
            return &destination;
    }
    return nullptr;
}

QString leadIn(DeliveryMode mode)
{
    switch (mode) {
    case DeliveryMode::newNote:
        return L10n::text(QStringLiteral("Chaque capture créera une nouvelle note dans ce dossier :"));
    case DeliveryMode::appendNote:
        return L10n::text(QStringLiteral("Chaque capture sera ajoutée à la fin de cette note :"));
    case DeliveryMode::dailyNote:
        return L10n::text(QStringLiteral("Chaque capture sera ajoutée à la note de sa date de capture :"));
    }
    return {};
}

void setTextUnlessEditing(QLineEdit* field, const QString& text)
{
    if (!field->hasFocus() && field->text() != text)
        field->setText(text);
}

QPixmap iconPixmap(const QString& name, const QColor& colour, int size)
{
    return SettingsStyle::icon(name, colour).pixmap(size, size);
}

} // namespace

DestinationRow::DestinationRow(const QUuid& id, SettingsView& view, SettingsForm& form,
                               DestinationsSettingsPage& page)
    : SettingsGroup(view.navigation()), m_id(id), m_view(view), m_page(page)
{
    body()->setSpacing(0);
    body()->addWidget(buildHeader());
    body()->addWidget(buildContent(form));
    const QString row = QStringLiteral("destination-") + SettingsValidation::idText(id);
    form.registerRow(row, this);
    form.registerRow(row + QStringLiteral("-vaultPath"), m_folder->parentWidget());
    form.registerRow(row + QStringLiteral("-alias"), m_alias);
    form.registerRow(row + QStringLiteral("-path"), m_example->parentWidget());
    form.registerField(SettingsValidation::idText(id) + QStringLiteral("-alias"), m_alias);
    form.registerField(SettingsValidation::idText(id) + QStringLiteral("-path"), m_note);
}

QWidget* DestinationRow::buildHeader()
{
    m_header = new QPushButton;
    m_header->setFlat(true);
    m_header->setCursor(Qt::PointingHandCursor);
    m_header->setMinimumHeight(40);
    m_header->setAttribute(Qt::WA_Hover);
    m_header->setStyleSheet(QStringLiteral("QPushButton { border: none; border-radius: 6px; text-align: left; }"
                                           "QPushButton:hover { background: %1; }")
                                .arg(SettingsStyle::tint(palette(), 0.08).name(QColor::HexArgb)));
    auto* layout = new QHBoxLayout(m_header);
    layout->setContentsMargins(8, 0, 8, 0);
    layout->setSpacing(10);
    const QColor text = palette().color(QPalette::WindowText);
    m_chevron = new QLabel;
    m_chevron->setFixedWidth(12);
    layout->addWidget(m_chevron);
    auto* folder = new QLabel;
    folder->setPixmap(iconPixmap(QStringLiteral("folder"), text, 16));
    layout->addWidget(folder);
    m_name = new QLabel;
    m_name->setFont(SettingsStyle::headlineFont(font()));
    layout->addWidget(m_name);
    m_default = new QLabel(L10n::text(QStringLiteral("Par défaut")));
    SettingsStyle::makeCaption(m_default);
    m_default->setWordWrap(false);
    layout->addWidget(m_default);
    m_warning = new QLabel;
    m_warning->setPixmap(iconPixmap(QStringLiteral("dialog-warning"), SettingsStyle::warningColour(), 16));
    m_warning->setAccessibleName(L10n::text(QStringLiteral("À vérifier")));
    m_warning->setToolTip(m_warning->accessibleName());
    layout->addWidget(m_warning);
    layout->addStretch(1);
    connect(m_header, &QPushButton::clicked, this, [this] {
        m_view.state().setExpanded(m_id, !m_view.state().expandedDestinations().contains(m_id));
    });
    return m_header;
}

QVBoxLayout* DestinationRow::addErrors(QVBoxLayout* layout, const QString& field)
{
    auto* errors = new QVBoxLayout;
    errors->setSpacing(2);
    layout->addLayout(errors);
    m_errors.insert(field, errors);
    return errors;
}

QWidget* DestinationRow::buildContent(SettingsForm& form)
{
    m_content = new QWidget;
    auto* layout = new QVBoxLayout(m_content);
    layout->setContentsMargins(8, 12, 8, 6);
    layout->setSpacing(14);

    auto* folderRow = new QWidget;
    auto* folderLayout = new QHBoxLayout(folderRow);
    folderLayout->setContentsMargins(0, 0, 0, 0);
    folderLayout->addWidget(new QLabel(L10n::text(QStringLiteral("Dossier de destination"))), 0, Qt::AlignTop);
    auto* folderValue = new QVBoxLayout;
    folderValue->setSpacing(6);
    m_folder = new QLabel;
    m_folder->setWordWrap(true);
    m_folder->setAlignment(Qt::AlignRight);
    m_folder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    folderValue->addWidget(m_folder);
    m_chooseFolder = new QPushButton(L10n::text(QStringLiteral("Choisir le dossier…")));
    connect(m_chooseFolder, &QPushButton::clicked, this, [this] { m_page.chooseDestinationFolder(m_id); });
    folderValue->addWidget(m_chooseFolder, 0, Qt::AlignRight);
    folderLayout->addLayout(folderValue, 1);
    layout->addWidget(folderRow);
    addErrors(layout, QStringLiteral("vaultPath"));

    auto* aliasRow = new QHBoxLayout;
    aliasRow->addWidget(new QLabel(L10n::text(QStringLiteral("Alias (facultatif)"))));
    m_alias = new QLineEdit;
    m_alias->setAccessibleName(L10n::text(QStringLiteral("Alias (facultatif)")));
    connect(m_alias, &QLineEdit::textEdited, this, [this](const QString& text) { m_page.setAlias(m_id, text); });
    aliasRow->addWidget(m_alias, 1);
    layout->addLayout(aliasRow);
    m_commandName = new QLabel;
    SettingsStyle::makeCaption(m_commandName);
    layout->addWidget(m_commandName);
    addErrors(layout, QStringLiteral("alias"));

    auto* modeRow = new QHBoxLayout;
    modeRow->addWidget(new QLabel(L10n::text(QStringLiteral("Enregistrement"))));
    modeRow->addStretch(1);
    m_mode = new QComboBox;
    m_mode->setAccessibleName(L10n::text(QStringLiteral("Enregistrement")));
    for (const DeliveryMode mode : DeliveryModes::allCases())
        m_mode->addItem(DeliveryModes::label(mode), int(mode));
    connect(m_mode, &QComboBox::activated, this,
            [this](int index) { m_page.changeMode(m_id, DeliveryMode(m_mode->itemData(index).toInt())); });
    modeRow->addWidget(m_mode);
    layout->addLayout(modeRow);

    m_noteRow = new QWidget;
    auto* noteLayout = new QHBoxLayout(m_noteRow);
    noteLayout->setContentsMargins(0, 0, 0, 0);
    noteLayout->addWidget(new QLabel(L10n::text(QStringLiteral("Nom de la note"))));
    m_note = new QLineEdit;
    m_note->setAccessibleName(L10n::text(QStringLiteral("Nom de la note")));
    connect(m_note, &QLineEdit::textEdited, this, &DestinationRow::editNoteName);
    m_note->installEventFilter(this);
    noteLayout->addWidget(m_note, 1);
    layout->addWidget(m_noteRow);

    auto* preview = new QWidget;
    auto* previewLayout = new QVBoxLayout(preview);
    previewLayout->setContentsMargins(0, 0, 0, 0);
    previewLayout->setSpacing(6);
    m_leadIn = new QLabel;
    SettingsStyle::makeCaption(m_leadIn);
    previewLayout->addWidget(m_leadIn);
    m_example = new QLabel;
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(SettingsStyle::captionFont(font()).pointSizeF());
    m_example->setFont(fixed);
    m_example->setWordWrap(true);
    m_example->setTextInteractionFlags(Qt::TextSelectableByMouse);
    previewLayout->addWidget(m_example);
    m_confirm = new QPushButton(L10n::text(QStringLiteral("Confirmer ce chemin")));
    connect(m_confirm, &QPushButton::clicked, this, [this] { m_view.state().setNeedsConfirmation(m_id, false); });
    previewLayout->addWidget(m_confirm, 0, Qt::AlignLeft);
    addErrors(previewLayout, QStringLiteral("path"));
    layout->addWidget(preview);

    for (const bool beforeAttachments : {true, false}) {
        auto* line = new QFrame;
        line->setFrameShape(QFrame::HLine);
        line->setForegroundRole(QPalette::Mid);
        layout->addWidget(line);
        if (beforeAttachments) {
            m_attachments = new AttachmentSettings(m_id, m_view, form);
            layout->addWidget(m_attachments);
        }
    }

    auto* actions = new QHBoxLayout;
    m_makeDefault = new QPushButton(L10n::text(QStringLiteral("Utiliser par défaut")));
    connect(m_makeDefault, &QPushButton::clicked, this, [this] { m_page.makeDefault(m_id); });
    actions->addWidget(m_makeDefault);
    actions->addStretch(1);
    m_remove = new QPushButton(L10n::text(QStringLiteral("Supprimer la destination")));
    m_remove->setToolTip(L10n::text(QStringLiteral("Retire uniquement la configuration ; les notes sont conservées.")));
    connect(m_remove, &QPushButton::clicked, this, [this] { m_page.removeDestination(m_id); });
    actions->addWidget(m_remove);
    layout->addLayout(actions);
    return m_content;
}

void DestinationRow::editNoteName(const QString& text)
{
    if (!m_noteBase) {
        const Destination* destination = findDestination(m_view.state().candidate().destinations, m_id);
        if (!destination)
            return;
        m_noteBase = destination->noteFolder();
    }
    // Joined even to an empty text: a field left empty names no note, which
    // the checks then report, rather than making the folder the note.
    m_page.setNotePath(m_id, m_noteBase->isEmpty() ? text : *m_noteBase + u'/' + text);
}

bool DestinationRow::eventFilter(QObject* watched, QEvent* event)
{
    // A menu over the field does not end the editing; leaving the field does,
    // and the field shows the note's name again, the part the next editing
    // starts from.
    if (watched == m_note && event->type() == QEvent::FocusOut
        && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        m_noteBase.reset();
        if (const Destination* destination = findDestination(m_view.state().candidate().destinations, m_id))
            m_note->setText(DestinationFolders::lastComponent(destination->path));
    }
    return SettingsGroup::eventFilter(watched, event);
}

QStringList DestinationRow::errors(const QString& field) const
{
    QStringList lines;
    QVBoxLayout* layout = m_errors.value(field);
    for (int i = 0; layout && i < layout->count(); ++i) {
        if (auto* label = qobject_cast<QLabel*>(layout->itemAt(i)->widget()); label && !label->isHidden())
            lines.append(label->text());
    }
    return lines;
}

void DestinationRow::syncErrors(const QString& field)
{
    QStringList messages;
    for (const DestinationIssue& issue : m_view.state().issues()) {
        if (issue.destinationID == m_id && issue.field == field)
            messages.append(issue.message);
    }
    QVBoxLayout* layout = m_errors.value(field);
    // Lines are kept by position: the same message twice shows twice.
    while (layout->count() < messages.size()) {
        auto* label = new QLabel;
        SettingsStyle::makeError(label);
        layout->addWidget(label);
    }
    for (int i = 0; i < layout->count(); ++i) {
        auto* label = static_cast<QLabel*>(layout->itemAt(i)->widget());
        label->setVisible(i < messages.size());
        if (i < messages.size())
            label->setText(messages.at(i));
    }
}

void DestinationRow::sync()
{
    const SettingsState& state = m_view.state();
    const Preferences& candidate = state.candidate();
    const Destination* found = findDestination(candidate.destinations, m_id);
    const bool open = state.expandedDestinations().contains(m_id);
    const QColor text = palette().color(QPalette::WindowText);
    m_chevron->setPixmap(iconPixmap(open ? QStringLiteral("go-down") : QStringLiteral("go-next"), text, 11));
    m_header->setAccessibleDescription(open ? L10n::text(QStringLiteral("Déplié")) : L10n::text(QStringLiteral("Replié")));
    m_content->setVisible(open && found);
    if (!found)
        return;
    const Destination& destination = *found;

    m_name->setText(destination.displayName());
    m_header->setAccessibleName(destination.displayName());
    m_default->setVisible(candidate.defaultDestinationID == m_id);
    const QList<SettingsBlocker>& blockers = state.blockers();
    m_warning->setVisible(std::any_of(blockers.begin(), blockers.end(),
                                      [this](const SettingsBlocker& blocker) { return blocker.destinationID == m_id; }));
    if (!open)
        return;

    m_folder->setText(destination.vaultPath.isEmpty() ? L10n::text(QStringLiteral("Aucun dossier choisi"))
                                                       : destination.folderPath());
    setTextUnlessEditing(m_alias, destination.alias);
    m_commandName->setText(L10n::format(
        QStringLiteral("Nom de commande : %@. L’alias offre une autre manière de choisir ce dossier."),
        {destination.routingName()}));
    m_mode->setCurrentIndex(m_mode->findData(int(destination.mode)));
    m_noteRow->setVisible(destination.mode == DeliveryMode::appendNote);
    setTextUnlessEditing(m_note, DestinationFolders::lastComponent(destination.path));
    m_leadIn->setText(leadIn(destination.mode));
    m_example->setText(SettingsValidation::fullPath(
        DestinationValidation::notePath(destination, QDateTime::currentDateTime()), destination));
    m_confirm->setVisible(state.modeNeedsConfirmation().contains(m_id));
    m_makeDefault->setEnabled(candidate.defaultDestinationID != m_id);
    m_remove->setEnabled(candidate.destinations.size() >= 2);
    for (const QString& field : m_errors.keys())
        syncErrors(field);
    m_attachments->sync();
}

} // namespace quillor
