#pragma once

#include "core/ArchivedCapture.h"

#include <QAbstractListModel>
#include <QList>
#include <QStyledItemDelegate>

namespace quillor {

// The archived captures as a list, one row per entry, in archive order.
class HistoryListModel : public QAbstractListModel {
    Q_OBJECT

public:
    enum Role { dateRole = Qt::UserRole + 1, destinationRole, statusRole, sourceRole };

    using QAbstractListModel::QAbstractListModel;

    void setEntries(const QList<ArchivedCapture>& entries);
    const QList<ArchivedCapture>& entries() const { return m_entries; }
    int rowOf(const QString& source) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // The text shown for an entry's body: its capture's, or what stands in
    // for a text too long to be read for the list.
    static QString shownBody(const ArchivedCapture& entry);
    // The beginning of a body shown in its row: at most `length` UTF-16
    // units, never cutting a character or its combining marks apart.
    static QString preview(const QString& body, int length = 90);

private:
    QList<ArchivedCapture> m_entries;
};

// Draws a history row: up to two lines of the body, then the date, the
// destination and the delivery status as captions.
class HistoryItemDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace quillor
