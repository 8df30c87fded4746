#pragma once

#include "core/SettingsSection.h"
#include "settings/SettingsValidation.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QToolButton;
class QVBoxLayout;

namespace quillor {

class AppModel;
class SettingsForm;
class SettingsNavigation;
class SettingsPage;
class SettingsState;

// One row of the sidebar's search results.
struct SettingsSearchResult {
    QString id;
    QString title;
    SettingsSection section = SettingsSection::general;

    bool operator==(const SettingsSearchResult&) const = default;
};

// The content of the settings window: the sidebar (search, results, sections),
// the detail pane with the current section's form, and the footer that
// applies or reverts the copy of the settings. Edits go into a copy
// (SettingsState); nothing reaches the model before "Appliquer".
//
// Each section's content is a page made by a factory, so sections live in
// their own files; a section without one shows an empty form.
class SettingsView : public QWidget {
    Q_OBJECT

public:
    using PageFactory = std::function<SettingsPage*(SettingsView& view, SettingsForm& form)>;
    using SearchCatalog = std::function<QList<SettingsSearchResult>(const QString& query)>;
    // A folder chosen by the user, or nothing when cancelled.
    using FolderPicker = std::function<std::optional<QString>(QWidget* parent)>;

    SettingsView(AppModel& model, SettingsNavigation& navigation, std::function<void()> restart,
                 QWidget* parent = nullptr);
    ~SettingsView() override;

    AppModel& model() const { return m_model; }
    SettingsNavigation& navigation() const { return m_navigation; }
    SettingsState& state() const { return *m_state; }
    SettingsForm* form() const { return m_form; }

    void setPageFactory(SettingsSection section, PageFactory factory);
    void setSearchCatalog(SearchCatalog catalog);
    void setFolderPicker(FolderPicker picker) { m_pickFolder = std::move(picker); }
    // What follows a restore from the history, or "Nouvelle capture" there.
    void setDidRestore(std::function<void()> didRestore) { m_didRestore = std::move(didRestore); }
    void didRestore() const
    {
        if (m_didRestore)
            m_didRestore();
    }

    // The cycle.
    // Takes the model's settings afresh: confirmations, the error and
    // `applied` cleared; the default destination unfolded the first time.
    void reset();
    // "Appliquer": the first blocker is revealed instead when there is one.
    void apply();
    // Closes the search, opens the blocker's section (and destination), then
    // on the next turn scrolls to its row and focuses its field.
    void reveal(const SettingsBlocker& blocker);
    // Asks what to do with unapplied changes; true lets the caller go on.
    bool confirmPendingChanges();
    // The restart offered after a language change.
    void restart();
    std::optional<QString> pickFolder();

    // Unapplied changes exist, or the last apply succeeded: the footer shows.
    bool showsFooter() const;

    // For the tests: the parts they drive.
    QLineEdit* searchField() const { return m_search; }
    QToolButton* clearSearchButton() const { return m_clearSearch; }
    QScrollArea* resultsList() const { return m_results; }
    QWidget* footer() const { return m_footer; }
    QLabel* footerStatus() const { return m_footerStatus; }
    QPushButton* applyButton() const { return m_apply; }
    QPushButton* revertButton() const { return m_revert; }
    QPushButton* sectionButton(SettingsSection section) const;
    QList<QWidget*> resultRows() const;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildSidebar();
    QWidget* buildFooter();
    void selectSection(SettingsSection section);
    void openResult(const SettingsSearchResult& result);
    void onSectionChanged();
    void onSettingsErrorChanged();
    void onPreferencesChanged();
    void rebuildForm();
    SettingsForm* keptForm(SettingsSection section);
    static void discardForm(SettingsForm* form);
    void rebuildResults();
    void sync();
    void syncFooter();

    AppModel& m_model;
    SettingsNavigation& m_navigation;
    SettingsState* m_state;
    std::function<void()> m_restart;
    FolderPicker m_pickFolder;
    std::function<void()> m_didRestore;
    SearchCatalog m_catalog;
    QHash<int, PageFactory> m_factories;
    bool m_appeared = false;

    QLineEdit* m_search = nullptr;
    QToolButton* m_clearSearch = nullptr;
    QScrollArea* m_results = nullptr;
    // The route prefix the shown results were found with: gestures that
    // spell it match a search.
    QString m_resultsPrefix;
    QWidget* m_resultsDivider = nullptr;
    QHash<int, QPushButton*> m_sectionButtons;
    QLabel* m_title = nullptr;
    QVBoxLayout* m_detail = nullptr;
    SettingsForm* m_form = nullptr;
    SettingsSection m_formSection = SettingsSection::general;
    // Hidden forms of reusable pages, by section.
    QHash<int, SettingsForm*> m_keptForms;
    QWidget* m_footer = nullptr;
    QLabel* m_footerStatus = nullptr;
    QLabel* m_footerIcon = nullptr;
    QPushButton* m_revert = nullptr;
    QPushButton* m_apply = nullptr;
};

} // namespace quillor
