#pragma once

#include "core/AttachmentPolicy.h"
#include "core/Destination.h"

#include <QUuid>
#include <QWidget>

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace quillor {

class SettingsForm;
class SettingsView;

// A destination's "Pièces jointes" block: follow Obsidian's own setting, or a
// policy of the destination's own, with the folder the images will go to and
// what is wrong with the choice. Edits the copy of the settings only.
class AttachmentSettings : public QWidget {
    Q_OBJECT

public:
    // A folder chosen by the user (starting in `start` when not empty), or
    // nothing when cancelled.
    using FolderPicker = std::function<std::optional<QString>(QWidget* parent, const QString& start)>;

    AttachmentSettings(const QUuid& id, SettingsView& view, SettingsForm& form, QWidget* parent = nullptr);

    void setFolderPicker(FolderPicker picker) { m_pickFolder = std::move(picker); }
    void sync();

    // The destination's own policy, whatever Obsidian says.
    static AttachmentPolicy customPolicy(const Destination& destination);
    // The policy after choosing `location` in the picker: an absolute folder
    // keeps only an absolute path, a subfolder only one safe name.
    static AttachmentPolicy choosing(AttachmentPolicy::Location location, const AttachmentPolicy& current);
    // The attachment folder shown under the block, or nothing for an unsafe one.
    static std::optional<QString> preview(const Destination& destination, const AttachmentPolicy& effective);

    QCheckBox* obsidianToggle() const { return m_obsidian; }
    QLabel* obsidianNote() const { return m_obsidianNote; }
    QWidget* customRows() const { return m_custom; }
    QComboBox* locationPicker() const { return m_location; }
    QLineEdit* subfolderField() const { return m_subfolder; }
    QLabel* folderLabel() const { return m_folder; }
    QPushButton* chooseFolderButton() const { return m_chooseFolder; }
    QLabel* previewLabel() const { return m_preview; }
    QLabel* issueLabel() const { return m_issue; }
    // "Choisir le dossier…": the chosen folder becomes an absolute folder.
    void chooseFolder();

private:
    const Destination* destination() const;
    void edit(const std::function<void(Destination&)>& change);
    void rebuildLocations(AttachmentPolicy::Location current);

    QUuid m_id;
    SettingsView& m_view;
    FolderPicker m_pickFolder;
    QCheckBox* m_obsidian = nullptr;
    QLabel* m_obsidianNote = nullptr;
    QWidget* m_custom = nullptr;
    QComboBox* m_location = nullptr;
    QLineEdit* m_subfolder = nullptr;
    QWidget* m_folderRow = nullptr;
    QLabel* m_folder = nullptr;
    QPushButton* m_chooseFolder = nullptr;
    QLabel* m_preview = nullptr;
    QLabel* m_issue = nullptr;
    QVBoxLayout* m_errors = nullptr;
};

} // namespace quillor
