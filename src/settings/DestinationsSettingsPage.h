#pragma once

#include "core/Destination.h"
#include "settings/SettingsForm.h"

#include <QList>
#include <QUuid>

class QLabel;
class QPushButton;

namespace quillor {

class DestinationRow;
class SettingsView;

// The destinations section: adding a destination by its folder, refreshing
// the note index, and one folding row per destination in routing-name order.
// Every command edits the settings copy only.
class DestinationsSettingsPage : public SettingsPage {
    Q_OBJECT

public:
    DestinationsSettingsPage(SettingsView& view, SettingsForm& form);

    void sync() override;

    // The commands of the section.
    void addDestination();
    void chooseDestinationFolder(const QUuid& id);
    void changeMode(const QUuid& id, DeliveryMode mode);
    // The note of an appendNote destination, relative to its notes folder.
    void setNotePath(const QUuid& id, const QString& path);
    void setAlias(const QUuid& id, const QString& alias);
    void removeDestination(const QUuid& id);
    void makeDefault(const QUuid& id);

    QPushButton* addButton() const { return m_add; }
    QLabel* indexCount() const { return m_count; }
    // The rows in the order shown.
    const QList<DestinationRow*>& rows() const { return m_rows; }
    DestinationRow* row(const QUuid& id) const;

private:
    // Edits the destination with this id in a copy of the candidate; false
    // when the copy holds no such destination.
    bool edit(const QUuid& id, const std::function<void(Destination&)>& change);
    bool holdsOrder(const QList<QUuid>& order) const;
    void rebuildRows(const QList<QUuid>& order);

    SettingsView& m_view;
    SettingsForm& m_form;
    QPushButton* m_add = nullptr;
    QLabel* m_count = nullptr;
    QVBoxLayout* m_rowsLayout = nullptr;
    QList<DestinationRow*> m_rows;
    QList<QUuid> m_order;
    // The rows wait in their old order for the end of a typing that moved them.
    bool m_orderHeld = false;
};

} // namespace quillor
