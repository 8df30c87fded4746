#pragma once

#include "core/Destination.h"
#include "settings/SettingsForm.h"

#include <QUuid>

#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace quillor {

class AttachmentSettings;
class DestinationsSettingsPage;
class SettingsView;

// One destination of the destinations section: a header that folds the row
// (name, "Par défaut", a mark when something needs checking) over the
// destination's fields, each with its findings underneath.
class DestinationRow : public SettingsGroup {
    Q_OBJECT

public:
    DestinationRow(const QUuid& id, SettingsView& view, SettingsForm& form, DestinationsSettingsPage& page);

    const QUuid& id() const { return m_id; }
    void sync();

    QPushButton* header() const { return m_header; }
    QWidget* content() const { return m_content; }
    QLabel* nameLabel() const { return m_name; }
    QLabel* defaultMark() const { return m_default; }
    QLabel* warningMark() const { return m_warning; }
    QLabel* folderLabel() const { return m_folder; }
    QPushButton* folderButton() const { return m_chooseFolder; }
    QLineEdit* aliasField() const { return m_alias; }
    QComboBox* modePicker() const { return m_mode; }
    QLineEdit* noteField() const { return m_note; }
    QLabel* examplePath() const { return m_example; }
    QPushButton* confirmButton() const { return m_confirm; }
    QPushButton* defaultButton() const { return m_makeDefault; }
    QPushButton* removeButton() const { return m_remove; }
    AttachmentSettings* attachments() const { return m_attachments; }
    // The red lines under a field ("vaultPath", "alias", "path").
    QStringList errors(const QString& field) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildHeader();
    void editNoteName(const QString& text);
    QWidget* buildContent(SettingsForm& form);
    QVBoxLayout* addErrors(QVBoxLayout* layout, const QString& field);
    void syncErrors(const QString& field);

    QUuid m_id;
    SettingsView& m_view;
    DestinationsSettingsPage& m_page;
    QPushButton* m_header = nullptr;
    QLabel* m_chevron = nullptr;
    QLabel* m_name = nullptr;
    QLabel* m_default = nullptr;
    QLabel* m_warning = nullptr;
    QWidget* m_content = nullptr;
    QLabel* m_folder = nullptr;
    QPushButton* m_chooseFolder = nullptr;
    QLineEdit* m_alias = nullptr;
    QLabel* m_commandName = nullptr;
    QComboBox* m_mode = nullptr;
    QWidget* m_noteRow = nullptr;
    QLineEdit* m_note = nullptr;
    // The note's folder when the user started typing in m_note: the whole
    // text of the field is a path from there, so a typed "/" never moves it.
    std::optional<QString> m_noteBase;
    QLabel* m_leadIn = nullptr;
    QLabel* m_example = nullptr;
    QPushButton* m_confirm = nullptr;
    QPushButton* m_makeDefault = nullptr;
    QPushButton* m_remove = nullptr;
    AttachmentSettings* m_attachments = nullptr;
    QHash<QString, QVBoxLayout*> m_errors;
};

} // namespace quillor
