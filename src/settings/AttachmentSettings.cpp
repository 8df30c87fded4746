#include "settings/AttachmentSettings.h"

#include "core/Error.h"
#include "core/L10n.h"
#include "core/SafePath.h"
#include "settings/FolderDialog.h"
#include "settings/SettingsForm.h"
#include "settings/SettingsState.h"
#include "settings/SettingsStyle.h"
#include "settings/SettingsValidation.h"
#include "settings/SettingsView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace quillor {

namespace {

using Location = AttachmentPolicy::Location;

std::optional<QString> chooseAttachmentFolder(QWidget* parent, const QString& start)
{
    return chooseFolderInDialog(
        parent, L10n::text(QStringLiteral("Choisis un dossier de pièces jointes dans le dossier de notes.")), start);
}

QLabel* monospaced(bool caption)
{
    auto* label = new QLabel;
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (caption)
        font.setPointSizeF(SettingsStyle::captionFont(label->font()).pointSizeF());
    label->setFont(font);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setWordWrap(true);
    return label;
}

} // namespace

AttachmentSettings::AttachmentSettings(const QUuid& id, SettingsView& view, SettingsForm& form, QWidget* parent)
    : QWidget(parent), m_id(id), m_view(view), m_pickFolder(chooseAttachmentFolder)
{
    const QString identifier = SettingsValidation::idText(id) + QStringLiteral("-attachmentFolder");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    auto* title = new QLabel(L10n::text(QStringLiteral("Pièces jointes")));
    title->setFont(SettingsStyle::headlineFont(title->font()));
    layout->addWidget(title);

    m_obsidian = new QCheckBox(L10n::text(QStringLiteral("Utiliser les réglages Obsidian")));
    connect(m_obsidian, &QCheckBox::toggled, this,
            [this](bool on) { edit([on](Destination& destination) { destination.useObsidianAttachments = on; }); });
    layout->addWidget(m_obsidian);
    m_obsidianNote = new QLabel;
    SettingsStyle::makeCaption(m_obsidianNote);
    layout->addWidget(m_obsidianNote);

    m_custom = new QWidget;
    auto* custom = new QVBoxLayout(m_custom);
    custom->setContentsMargins(0, 0, 0, 0);
    auto* locationRow = new QHBoxLayout;
    locationRow->addWidget(new QLabel(L10n::text(QStringLiteral("Emplacement"))));
    locationRow->addStretch(1);
    m_location = new QComboBox;
    // Its items come after it is first shown (when the Obsidian box is
    // unticked): its width follows them instead of the empty list's.
    m_location->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_location->setAccessibleName(L10n::text(QStringLiteral("Emplacement")));
    connect(m_location, &QComboBox::activated, this, [this](int index) {
        const auto location = Location(m_location->itemData(index).toInt());
        edit([location](Destination& destination) {
            destination.attachmentPolicy = choosing(location, customPolicy(destination));
            destination.useObsidianAttachments = false;
        });
    });
    locationRow->addWidget(m_location);
    custom->addLayout(locationRow);
    m_subfolder = new QLineEdit;
    m_subfolder->setPlaceholderText(L10n::text(QStringLiteral("Nom du sous-dossier")));
    m_subfolder->setAccessibleName(m_subfolder->placeholderText());
    connect(m_subfolder, &QLineEdit::textEdited, this, [this](const QString& text) {
        edit([&text](Destination& destination) {
            destination.attachmentPolicy = AttachmentPolicy{customPolicy(destination).location, text};
        });
    });
    form.registerField(identifier, m_subfolder);
    custom->addWidget(m_subfolder);
    m_folderRow = new QWidget;
    auto* folderRow = new QHBoxLayout(m_folderRow);
    folderRow->setContentsMargins(0, 0, 0, 0);
    m_folder = monospaced(false);
    folderRow->addWidget(m_folder, 1);
    m_chooseFolder = new QPushButton(L10n::text(QStringLiteral("Choisir le dossier…")));
    connect(m_chooseFolder, &QPushButton::clicked, this, &AttachmentSettings::chooseFolder);
    folderRow->addWidget(m_chooseFolder);
    custom->addWidget(m_folderRow);
    layout->addWidget(m_custom);

    m_preview = monospaced(true);
    layout->addWidget(m_preview);
    auto* note = new QLabel(L10n::text(QStringLiteral("Les pièces jointes existantes ne sont pas déplacées.")));
    SettingsStyle::makeCaption(note);
    layout->addWidget(note);
    m_issue = new QLabel;
    SettingsStyle::makeError(m_issue);
    layout->addWidget(m_issue);
    m_errors = new QVBoxLayout;
    layout->addLayout(m_errors);
    form.registerRow(QStringLiteral("destination-") + identifier, this);
}

AttachmentPolicy AttachmentSettings::customPolicy(const Destination& destination)
{
    return destination.attachmentPolicy.value_or(AttachmentPolicy{Location::sameFolder, QStringLiteral("Attachments")});
}

AttachmentPolicy AttachmentSettings::choosing(Location location, const AttachmentPolicy& current)
{
    QString folder = current.folder;
    if (location == Location::absoluteFolder && !folder.startsWith(QLatin1Char('/')))
        folder.clear();
    else if (location == Location::subfolder && AttachmentPolicy{Location::subfolder, folder}.configurationIssue())
        folder = QStringLiteral("Attachments");
    return {location, folder};
}

std::optional<QString> AttachmentSettings::preview(const Destination& destination, const AttachmentPolicy& effective)
{
    const Destination applied = effective.applying(destination);
    try {
        SafePath::validate(applied.attachmentFolder);
    } catch (const Error&) {
        return std::nullopt;
    }
    if (applied.vaultPath.isEmpty())
        return applied.attachmentFolder;
    return QDir(applied.vaultPath).filePath(applied.attachmentFolder);
}

const Destination* AttachmentSettings::destination() const
{
    for (const Destination& destination : m_view.state().candidate().destinations) {
        if (destination.id == m_id)
            return &destination;
    }
    return nullptr;
}

void AttachmentSettings::edit(const std::function<void(Destination&)>& change)
{
    Preferences candidate = m_view.state().candidate();
    for (Destination& destination : candidate.destinations) {
        if (destination.id == m_id) {
            change(destination);
            m_view.state().setCandidate(candidate);
            return;
        }
    }
}

void AttachmentSettings::chooseFolder()
{
    const Destination* current = destination();
    if (!current || !m_pickFolder)
        return;
    const QString folder = customPolicy(*current).folder;
    const std::optional<QString> chosen =
        m_pickFolder(window(), folder.startsWith(QLatin1Char('/')) ? folder : QString());
    if (!chosen)
        return;
    // Always an absolute folder, also when the row stood for a folder inside
    // the vault.
    edit([&chosen](Destination& destination) {
        destination.attachmentPolicy = AttachmentPolicy{Location::absoluteFolder, *chosen};
        destination.useObsidianAttachments = false;
    });
}

void AttachmentSettings::rebuildLocations(Location current)
{
    const QSignalBlocker quiet(m_location);
    m_location->clear();
    for (const Location location : AttachmentPolicy::allLocations()) {
        // The checkbox stands for Obsidian; a folder inside the vault is kept
        // for settings that already hold one, and cannot be chosen anew.
        if (location == Location::obsidian || (location == Location::specifiedFolder && current != location))
            continue;
        m_location->addItem(AttachmentPolicy::label(location), int(location));
    }
    m_location->setCurrentIndex(m_location->findData(int(current)));
}

void AttachmentSettings::sync()
{
    const Destination* found = destination();
    if (!found)
        return;
    const Destination& destination = *found;
    const Preferences& candidate = m_view.state().candidate();
    const AttachmentPolicy effective = candidate.attachmentPolicy(destination);
    const std::optional<QString> root = AttachmentPolicy::obsidianRoot(destination);
    const bool followsObsidian = effective.location == Location::obsidian;
    {
        const QSignalBlocker quiet(m_obsidian);
        m_obsidian->setChecked(followsObsidian);
    }
    m_obsidian->setEnabled(root.has_value());
    m_obsidianNote->setText(
        root ? L10n::format(QStringLiteral("Coffre Obsidian détecté : %@"), {*root})
             : L10n::text(QStringLiteral("Cette option est disponible uniquement si la destination est contenue dans un "
                                         "coffre Obsidian avec un dossier .obsidian.")));

    m_custom->setVisible(!followsObsidian);
    const AttachmentPolicy custom = customPolicy(destination);
    const bool listsSpecified = m_location->findData(int(Location::specifiedFolder)) >= 0;
    if (m_location->currentData() != QVariant(int(custom.location))
        || listsSpecified != (custom.location == Location::specifiedFolder))
        rebuildLocations(custom.location);
    m_subfolder->setVisible(custom.location == Location::subfolder);
    if (!m_subfolder->hasFocus() && m_subfolder->text() != custom.folder)
        m_subfolder->setText(custom.folder);
    m_folderRow->setVisible(custom.location == Location::specifiedFolder || custom.location == Location::absoluteFolder);
    m_folder->setText(custom.folder);

    const std::optional<QString> shown = preview(destination, effective);
    m_preview->setText(shown.value_or(QString()));
    m_preview->setVisible(shown.has_value());
    const std::optional<QString> issue = effective.configurationIssue();
    m_issue->setText(issue.value_or(QString()));
    m_issue->setVisible(issue.has_value());

    while (QLayoutItem* item = m_errors->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    for (const DestinationIssue& finding : m_view.state().issues()) {
        if (finding.destinationID == m_id && finding.field == QLatin1String("attachmentFolder")) {
            auto* label = new QLabel(finding.message);
            SettingsStyle::makeError(label);
            m_errors->addWidget(label);
        }
    }
}

} // namespace quillor
