#include "settings/SettingsView.h"

#include "core/L10n.h"
#include "model/AppModel.h"
#include "platform/LoginItem.h"
#include "settings/AboutSettingsPage.h"
#include "settings/DestinationsSettingsPage.h"
#include "settings/FolderDialog.h"
#include "settings/GeneralSettingsPage.h"
#include "settings/HistorySettingsPage.h"
#include "settings/ReferenceSettingsPage.h"
#include "settings/SettingsCatalog.h"
#include "settings/SettingsForm.h"
#include "settings/SettingsNavigation.h"
#include "settings/SettingsState.h"
#include "settings/SettingsStyle.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <utility>

namespace quillor {

namespace {

constexpr int sidebarWidth = 220;
constexpr int resultRowHeight = 62;
constexpr int resultsMaximumHeight = 180;

QString themeIconName(SettingsSection section)
{
    switch (section.value) {
    case SettingsSection::general: return QStringLiteral("preferences-system");
    case SettingsSection::destinations: return QStringLiteral("folder");
    case SettingsSection::shortcuts: return QStringLiteral("input-keyboard");
    case SettingsSection::guide: return QStringLiteral("help-contents");
    case SettingsSection::history: return QStringLiteral("document-open-recent");
    case SettingsSection::about: return QStringLiteral("help-about");
    }
    return {};
}

QFrame* divider(QFrame::Shape shape)
{
    auto* line = new QFrame;
    line->setFrameShape(shape);
    line->setFrameShadow(QFrame::Plain);
    line->setForegroundRole(QPalette::Mid);
    return line;
}

// Flat sidebar buttons, tinted while they stand for the current place.
void styleSidebarButton(QPushButton* button, bool tinted, int padding)
{
    const QColor tint = SettingsStyle::tint(button->palette(), 0.12);
    button->setStyleSheet(QStringLiteral("QPushButton { text-align: left; border: none; border-radius: 7px;"
                                         " padding: %1px; background: %2; }")
                              .arg(padding)
                              .arg(tinted ? tint.name(QColor::HexArgb) : QStringLiteral("transparent")));
}

std::optional<QString> chooseFolder(QWidget* parent)
{
    return chooseFolderInDialog(parent, L10n::text(QStringLiteral("Choisis le dossier dans lequel enregistrer tes captures.")));
}

} // namespace

SettingsView::SettingsView(AppModel& model, SettingsNavigation& navigation, std::function<void()> restart,
                           QWidget* parent)
    : QWidget(parent),
      m_model(model),
      m_navigation(navigation),
      m_state(new SettingsState(this)),
      m_restart(std::move(restart)),
      m_pickFolder(chooseFolder)
{
    m_factories.insert(SettingsSection::general, [](SettingsView& view, SettingsForm& form) -> SettingsPage* {
        return new GeneralSettingsPage(view, form);
    });
    m_factories.insert(SettingsSection::destinations, [](SettingsView& view, SettingsForm& form) -> SettingsPage* {
        return new DestinationsSettingsPage(view, form);
    });
    for (const bool isGuide : {false, true}) {
        m_factories.insert(isGuide ? SettingsSection::guide : SettingsSection::shortcuts,
                           [isGuide](SettingsView& view, SettingsForm& form) -> SettingsPage* {
                               return new ReferenceSettingsPage(view, form, isGuide);
                           });
    }
    m_factories.insert(SettingsSection::history, [](SettingsView& view, SettingsForm& form) -> SettingsPage* {
        return new HistorySettingsPage(view, form);
    });
    m_factories.insert(SettingsSection::about, [](SettingsView& view, SettingsForm& form) -> SettingsPage* {
        return new AboutSettingsPage(view, form);
    });
    m_catalog = [this](const QString& query) {
        QList<SettingsSearchResult> results;
        const QString hotkey = GeneralSettingsPage::displayedHotkey(0, m_model.hotkeyLabel());
        for (const SettingsEntry& entry : SettingsCatalog::search(query, hotkey, m_state->candidate().routePrefix))
            results.append({entry.id, entry.title, entry.section});
        return results;
    };

    auto* columns = new QHBoxLayout;
    columns->setSpacing(0);
    columns->addWidget(buildSidebar());
    columns->addWidget(divider(QFrame::VLine));
    auto* detail = new QWidget;
    m_detail = new QVBoxLayout(detail);
    m_detail->setContentsMargins(0, 0, 0, 0);
    m_detail->setSpacing(0);
    m_title = new QLabel;
    m_title->setFont(SettingsStyle::titleFont(font()));
    m_title->setContentsMargins(24, 24, 24, 24);
    m_detail->addWidget(m_title);
    columns->addWidget(detail, 1);

    auto* whole = new QVBoxLayout(this);
    whole->setContentsMargins(0, 0, 0, 0);
    whole->setSpacing(0);
    whole->addLayout(columns, 1);
    whole->addWidget(buildFooter());
    setMinimumSize(880, 630);

    connect(&m_navigation, &SettingsNavigation::sectionChanged, this, &SettingsView::onSectionChanged);
    connect(&m_navigation, &SettingsNavigation::queryChanged, this, &SettingsView::rebuildResults);
    connect(&m_navigation, &SettingsNavigation::targetChanged, this, [this] {
        rebuildResults();
        if (m_navigation.target() && m_form)
            m_form->scrollToTarget(true);
    });
    connect(m_state, &SettingsState::changed, this, &SettingsView::sync);
    connect(&m_model, &AppModel::settingsErrorChanged, this, &SettingsView::onSettingsErrorChanged);
    connect(&m_model, &AppModel::preferencesChanged, this, &SettingsView::onPreferencesChanged);
    for (auto signal : {&AppModel::savingChanged, &AppModel::hotkeyLabelChanged, &AppModel::shortcutErrorChanged,
                        &AppModel::recordingShortcutChanged, &AppModel::indexCountChanged})
        connect(&m_model, signal, this, &SettingsView::sync);

    m_state->setLogin(LoginItem::isEnabled(), std::nullopt);
    rebuildForm();
    rebuildResults();
    syncFooter();
}

SettingsView::~SettingsView()
{
    if (m_appeared)
        m_model.onSettingsCloseRequest = nullptr;
}

void SettingsView::setPageFactory(SettingsSection section, PageFactory factory)
{
    m_factories.insert(section.value, std::move(factory));
    // A form kept from the former factory must not come back.
    discardForm(m_keptForms.take(section.value));
    if (m_navigation.section() == section) {
        discardForm(std::exchange(m_form, nullptr));
        rebuildForm();
    }
}

void SettingsView::setSearchCatalog(SearchCatalog catalog)
{
    m_catalog = std::move(catalog);
    rebuildResults();
}

// MARK: Sidebar

QWidget* SettingsView::buildSidebar()
{
    auto* sidebar = new QWidget;
    sidebar->setFixedWidth(sidebarWidth);
    sidebar->setAutoFillBackground(true);
    sidebar->setBackgroundRole(QPalette::AlternateBase);
    auto* layout = new QVBoxLayout(sidebar);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(12);

    auto* searchRow = new QHBoxLayout;
    searchRow->setSpacing(4);
    m_search = new QLineEdit;
    m_search->setObjectName(QStringLiteral("settings-search"));
    m_search->setPlaceholderText(L10n::text(QStringLiteral("Rechercher dans les réglages")));
    m_search->setAccessibleName(m_search->placeholderText());
    m_search->installEventFilter(this);
    connect(m_search, &QLineEdit::textEdited, this, [this](const QString& text) { m_navigation.setQuery(text); });
    searchRow->addWidget(m_search);
    m_clearSearch = new QToolButton;
    m_clearSearch->setAutoRaise(true);
    m_clearSearch->setIcon(SettingsStyle::icon(QStringLiteral("edit-clear"), palette().color(QPalette::WindowText)));
    m_clearSearch->setAccessibleName(L10n::text(QStringLiteral("Effacer la recherche")));
    m_clearSearch->setToolTip(m_clearSearch->accessibleName());
    connect(m_clearSearch, &QToolButton::clicked, this, [this] {
        m_navigation.setQuery(QString());
        m_navigation.setTarget(std::nullopt);
    });
    searchRow->addWidget(m_clearSearch);
    layout->addLayout(searchRow);

    m_results = new QScrollArea;
    m_results->setFrameShape(QFrame::NoFrame);
    m_results->setWidgetResizable(true);
    m_results->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_results->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(m_results);
    m_resultsDivider = divider(QFrame::HLine);
    layout->addWidget(m_resultsDivider);

    auto* sections = new QWidget;
    auto* list = new QVBoxLayout(sections);
    list->setContentsMargins(0, 0, 0, 0);
    list->setSpacing(4);
    const QColor text = palette().color(QPalette::WindowText);
    for (const SettingsSection section : SettingsSection::allCases()) {
        if (section == SettingsSection::general || section == SettingsSection::shortcuts) {
            auto* header = new QLabel(section == SettingsSection::general ? L10n::text(QStringLiteral("Réglages"))
                                                                          : L10n::text(QStringLiteral("Aide")));
            SettingsStyle::makeCaption(header);
            header->setContentsMargins(10, section == SettingsSection::shortcuts ? 12 : 0, 10, 0);
            list->addWidget(header);
        }
        auto* button = new QPushButton(SettingsStyle::icon(themeIconName(section), text), section.title());
        button->setFlat(true);
        button->setCursor(Qt::PointingHandCursor);
        connect(button, &QPushButton::clicked, this, [this, section] { selectSection(section); });
        m_sectionButtons.insert(section.value, button);
        list->addWidget(button);
    }
    list->addStretch(1);
    auto* sectionScroll = new QScrollArea;
    sectionScroll->setFrameShape(QFrame::NoFrame);
    sectionScroll->setWidgetResizable(true);
    sectionScroll->setFocusPolicy(Qt::NoFocus);
    sectionScroll->setWidget(sections);
    layout->addWidget(sectionScroll, 1);
    return sidebar;
}

QPushButton* SettingsView::sectionButton(SettingsSection section) const
{
    return m_sectionButtons.value(section.value);
}

QList<QWidget*> SettingsView::resultRows() const
{
    QList<QWidget*> rows;
    if (QWidget* content = m_results->widget())
        for (QPushButton* button : content->findChildren<QPushButton*>(Qt::FindDirectChildrenOnly))
            rows.append(button);
    return rows;
}

void SettingsView::selectSection(SettingsSection section)
{
    m_navigation.setQuery(QString());
    m_navigation.setTarget(std::nullopt);
    m_navigation.setSection(section);
    m_navigation.setTarget(std::nullopt);
}

void SettingsView::openResult(const SettingsSearchResult& result)
{
    m_navigation.setSection(result.section);
    m_navigation.setTarget(std::nullopt);
    // The new section's form exists before the target reaches it.
    QTimer::singleShot(0, this, [this, id = result.id] { m_navigation.setTarget(id); });
}

void SettingsView::rebuildResults()
{
    const bool searching = m_navigation.searching();
    if (m_search->text() != m_navigation.query())
        m_search->setText(m_navigation.query());
    m_clearSearch->setVisible(searching);
    m_results->setVisible(searching);
    m_resultsDivider->setVisible(searching);
    if (!searching)
        return;

    m_resultsPrefix = m_state->candidate().routePrefix;
    const QList<SettingsSearchResult> results = m_catalog ? m_catalog(m_navigation.query()) : QList<SettingsSearchResult>();
    auto* content = new QWidget;
    auto* list = new QVBoxLayout(content);
    list->setContentsMargins(0, 0, 0, 0);
    list->setSpacing(6);
    if (results.isEmpty()) {
        auto* none = new QLabel(L10n::text(QStringLiteral("Aucun résultat")));
        SettingsStyle::makeCaption(none);
        none->setContentsMargins(8, 8, 8, 8);
        list->addWidget(none);
    }
    for (const SettingsSearchResult& result : results) {
        auto* row = new QPushButton(content);
        row->setFlat(true);
        row->setCursor(Qt::PointingHandCursor);
        row->setAccessibleName(result.title);
        auto* lines = new QVBoxLayout(row);
        lines->setContentsMargins(8, 8, 8, 8);
        lines->setSpacing(3);
        auto* title = new QLabel(result.title);
        QFont medium = title->font();
        medium.setWeight(QFont::Medium);
        title->setFont(medium);
        auto* section = new QLabel(result.section.title());
        SettingsStyle::makeCaption(section);
        lines->addWidget(title);
        lines->addWidget(section);
        row->setMinimumHeight(resultRowHeight - 6);
        styleSidebarButton(row, m_navigation.target() == result.id, 0);
        connect(row, &QPushButton::clicked, this, [this, result] { openResult(result); });
        list->addWidget(row);
    }
    list->addStretch(1);
    m_results->setWidget(content);
    m_results->setFixedHeight(std::min(resultRowHeight * std::max<int>(results.size(), 1), resultsMaximumHeight));
}

bool SettingsView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_search && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        m_navigation.setQuery(QString());
        m_navigation.setTarget(std::nullopt);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// MARK: Detail

void SettingsView::onSectionChanged()
{
    m_state->setApplied(false);
    m_model.setRecordingShortcut(false);
    if (m_model.onShortcutRecordingChanged)
        m_model.onShortcutRecordingChanged(false);
    rebuildForm();
}

void SettingsView::rebuildForm()
{
    if (m_form) {
        if (m_form->page() && m_form->page()->reusable()) {
            m_form->hide();
            m_keptForms.insert(m_formSection.value, m_form);
        } else {
            discardForm(m_form);
        }
    }
    const SettingsSection section = m_navigation.section();
    m_title->setText(section.title());
    for (auto it = m_sectionButtons.cbegin(); it != m_sectionButtons.cend(); ++it)
        styleSidebarButton(it.value(), it.key() == section.value, 10);

    m_formSection = section;
    m_form = keptForm(section);
    if (m_form) {
        // Brought up to date while hidden, so that it is laid out once, as
        // it shows.
        m_form->scrollToTop();
        sync();
        m_form->show();
    } else {
        m_form = new SettingsForm(m_navigation);
        const PageFactory factory = m_factories.value(section.value);
        m_form->setPage(factory ? factory(*this, *m_form) : new SettingsPage);
        m_detail->addWidget(m_form, 1);
        m_form->show();
        sync();
    }
    if (m_navigation.target())
        QTimer::singleShot(0, m_form, [form = m_form] { form->scrollToTarget(false); });
}

SettingsForm* SettingsView::keptForm(SettingsSection section)
{
    SettingsForm* form = m_keptForms.take(section.value);
    if (form && !form->page()->reusable()) {
        discardForm(form);
        return nullptr;
    }
    return form;
}

void SettingsView::discardForm(SettingsForm* form)
{
    if (!form)
        return;
    // Its recorder or a button of it may be what led here.
    form->hide();
    form->deleteLater();
}

void SettingsView::onSettingsErrorChanged()
{
    m_state->setErrorSection(m_model.settingsError() ? std::optional(m_navigation.section()) : std::nullopt);
    sync();
}

void SettingsView::onPreferencesChanged()
{
    // Settings changed elsewhere (the panel's folder repair) are taken in
    // when nothing here is waiting to be applied, so that an old copy cannot
    // put them back.
    if (m_appeared && m_state->candidate() == m_state->baseline())
        reset();
    else
        sync();
}

void SettingsView::sync()
{
    if (m_form) {
        const bool shown = m_state->errorSection() == m_navigation.section() && m_model.settingsError();
        m_form->setError(shown ? m_model.settingsError() : std::nullopt);
        if (m_form->page())
            m_form->page()->sync();
    }
    if (m_navigation.searching() && m_state->candidate().routePrefix != m_resultsPrefix)
        rebuildResults();
    syncFooter();
}

// MARK: Footer

QWidget* SettingsView::buildFooter()
{
    m_footer = new QWidget;
    auto* column = new QVBoxLayout(m_footer);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(divider(QFrame::HLine));
    auto* row = new QHBoxLayout;
    row->setContentsMargins(16, 16, 16, 16);
    row->setSpacing(10);
    m_footerIcon = new QLabel;
    m_footerStatus = new QLabel;
    m_footerStatus->setForegroundRole(QPalette::PlaceholderText);
    row->addWidget(m_footerIcon);
    row->addWidget(m_footerStatus);
    row->addStretch(1);
    m_revert = new QPushButton(L10n::text(QStringLiteral("Rétablir les modifications")));
    connect(m_revert, &QPushButton::clicked, this, &SettingsView::reset);
    m_apply = new QPushButton(L10n::text(QStringLiteral("Appliquer")));
    m_apply->setDefault(true);
    connect(m_apply, &QPushButton::clicked, this, &SettingsView::apply);
    row->addWidget(m_revert);
    row->addWidget(m_apply);
    column->addLayout(row);
    return m_footer;
}

bool SettingsView::showsFooter() const
{
    return m_state->candidate() != m_model.preferences() || m_state->applied();
}

void SettingsView::syncFooter()
{
    const bool differs = m_state->candidate() != m_model.preferences();
    m_footer->setVisible(showsFooter());
    m_footerStatus->setText(differs ? L10n::text(QStringLiteral("Modifications non enregistrées"))
                                    : L10n::text(QStringLiteral("Modifications enregistrées")));
    const QString icon = differs ? QStringLiteral("document-edit") : QStringLiteral("dialog-ok");
    m_footerIcon->setPixmap(SettingsStyle::icon(icon, palette().color(QPalette::PlaceholderText)).pixmap(16, 16));
    const bool enabled = differs && !m_model.saving();
    m_revert->setEnabled(enabled);
    m_apply->setEnabled(enabled);
}

void SettingsView::keyPressEvent(QKeyEvent* event)
{
    // Return anywhere in the window presses the default button.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && m_footer->isVisible()
        && m_apply->isEnabled()) {
        apply();
        return;
    }
    QWidget::keyPressEvent(event);
}

// MARK: The cycle

void SettingsView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_appeared) {
        m_appeared = true;
        reset();
        m_model.onSettingsCloseRequest = [this] { return confirmPendingChanges(); };
    } else if (m_state->candidate() == m_state->baseline()) {
        // Shown again with nothing pending: the copy catches up; pending
        // edits are never dropped by a showing.
        reset();
    }
}

void SettingsView::reset()
{
    m_state->setApplied(false);
    Preferences copy = m_model.preferences();
    copy.ensureDefaultDestination();
    m_state->setBaseline(copy);
    m_state->setCandidate(copy);
    if (m_state->expandedDestinations().isEmpty() && copy.defaultDestinationID)
        m_state->setExpanded(*copy.defaultDestinationID, true);
    m_state->clearConfirmations();
    m_model.clearSettingsError();
    sync();
}

void SettingsView::apply()
{
    const QList<SettingsBlocker>& blockers = m_state->blockers();
    if (!blockers.isEmpty()) {
        reveal(blockers.constFirst());
        return;
    }
    const Preferences submitted = m_state->candidate();
    if (!m_model.applyPreferences(submitted, false))
        return;
    reset();
    // A model that stores a normalised form changes the copy once more,
    // which counts as a new edit.
    m_state->setApplied(m_state->candidate() == submitted);
}

void SettingsView::reveal(const SettingsBlocker& blocker)
{
    m_navigation.setQuery(QString());
    m_navigation.setTarget(std::nullopt);
    if (blocker.destinationID)
        m_state->setExpanded(*blocker.destinationID, true);
    m_navigation.setSection(blocker.field == QLatin1String("prefix") ? SettingsSection::general
                                                                      : SettingsSection::destinations);
    QTimer::singleShot(0, this, [this, target = blocker.target(), focus = blocker.focusValue()] {
        m_navigation.setTarget(target);
        if (m_form)
            m_form->focusField(focus);
    });
}

bool SettingsView::confirmPendingChanges()
{
    if (m_state->candidate() == m_model.preferences())
        return true;
    QMessageBox box(QMessageBox::Warning, L10n::text(QStringLiteral("Réglages")),
                    L10n::text(QStringLiteral("Enregistrer les modifications des réglages ?")), QMessageBox::NoButton,
                    window());
    box.setInformativeText(L10n::text(QStringLiteral(
        "Les modifications non enregistrées seront perdues. Le démarrage à la connexion reste inchangé.")));
    QPushButton* applying = box.addButton(L10n::text(QStringLiteral("Appliquer")), QMessageBox::AcceptRole);
    applying->setEnabled(m_state->blockers().isEmpty() && !m_model.saving());
    QPushButton* discarding =
        box.addButton(L10n::text(QStringLiteral("Ignorer les modifications")), QMessageBox::DestructiveRole);
    QPushButton* cancelling = box.addButton(L10n::text(QStringLiteral("Annuler")), QMessageBox::RejectRole);
    box.setEscapeButton(cancelling);
    box.setDefaultButton(applying->isEnabled() ? applying : cancelling);
    box.exec();
    if (box.clickedButton() == applying) {
        if (!m_model.applyPreferences(m_state->candidate(), false))
            return false;
        reset();
        return true;
    }
    if (box.clickedButton() == discarding) {
        reset();
        return true;
    }
    return false;
}

void SettingsView::restart()
{
    if (confirmPendingChanges() && m_restart)
        m_restart();
}

std::optional<QString> SettingsView::pickFolder()
{
    return m_pickFolder ? m_pickFolder(window()) : std::nullopt;
}

} // namespace quillor
