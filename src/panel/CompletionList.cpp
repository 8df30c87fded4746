#include "panel/CompletionList.h"

#include "core/L10n.h"
#include "editor/QuillorBrand.h"
#include "model/AppModel.h"
#include "panel/CaptureButtonFeedback.h"
#include "panel/ChromeStyle.h"

#include <QAbstractListModel>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace quillor {

namespace {

constexpr int listPadding = 4;
constexpr qreal rowPadding = 8;
constexpr qreal labelSize = 12;
constexpr qreal detailSize = 10;
constexpr qreal rowRadius = 6;
constexpr qreal selectedAlpha = 0.15;
constexpr qreal labelDetailGap = 8;

QColor withAlpha(QColor colour, qreal alpha)
{
    colour.setAlphaF(float(alpha));
    return colour;
}

// A row: its tint (selected or under the pointer), the label on the left and
// the detail on the right, each on one line.
class CompletionDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return QSize(option.rect.width(), CompletionList::rowHeight);
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QPalette& palette = option.palette;
        const QRectF row(option.rect);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        if (index.data(CompletionList::SelectedRole).toBool()) {
            painter->setBrush(withAlpha(QuillorBrand::accent(QuillorBrand::isDark(palette)), selectedAlpha));
            painter->drawRoundedRect(row, rowRadius, rowRadius);
        } else if (option.state & QStyle::State_MouseOver) {
            painter->setBrush(withAlpha(palette.color(QPalette::WindowText), CaptureButtonFeedback::hoverAlpha));
            painter->drawRoundedRect(row, rowRadius, rowRadius);
        }
        const QRectF text = row.adjusted(rowPadding, 0, -rowPadding, 0);
        const QFont detailFont = ChromeStyle::font(option.font, detailSize);
        const QString detail = index.data(CompletionList::DetailRole).toString();
        const QFontMetricsF detailMetrics(detailFont);
        const qreal detailWidth = std::min(detailMetrics.horizontalAdvance(detail), text.width() / 2);
        painter->setFont(detailFont);
        painter->setPen(ChromeStyle::secondaryText(palette));
        painter->drawText(QRectF(text.right() - detailWidth, text.top(), detailWidth, text.height()),
                          Qt::AlignRight | Qt::AlignVCenter,
                          detailMetrics.elidedText(detail, Qt::ElideMiddle, detailWidth));
        const QFont labelFont = ChromeStyle::font(option.font, labelSize);
        const qreal labelWidth = std::max<qreal>(text.width() - detailWidth - labelDetailGap, 0);
        painter->setFont(labelFont);
        painter->setPen(palette.color(QPalette::WindowText));
        painter->drawText(QRectF(text.left(), text.top(), labelWidth, text.height()), Qt::AlignLeft | Qt::AlignVCenter,
                          QFontMetricsF(labelFont).elidedText(index.data(Qt::DisplayRole).toString(),
                                                              Qt::ElideRight, labelWidth));
        painter->restore();
    }
};

} // namespace

// The model's completions as list rows, only as many as the page holds.
class CompletionModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : page.rows(int(m_rows.size()));
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= rowCount())
            return {};
        const Completion& row = m_rows.at(index.row());
        const QString position = QString::number(index.row() + 1);
        const QString count = QString::number(m_rows.size());
        switch (role) {
        case Qt::DisplayRole:
            return row.label;
        case CompletionList::DetailRole:
            return row.detail;
        case CompletionList::SelectedRole:
            return index.row() == m_selected;
        case Qt::AccessibleTextRole:
            return row.label + QStringLiteral(", ") + row.detail;
        case Qt::AccessibleDescriptionRole:
            return index.row() == m_selected
                       ? L10n::format(QStringLiteral("Sélectionné, %1$@ sur %2$@"), {position, count})
                       : L10n::format(QStringLiteral("%1$@ sur %2$@"), {position, count});
        default:
            return {};
        }
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren
                               : Qt::NoItemFlags;
    }

    // Scrolled to the end of the rendered rows.
    bool canFetchMore(const QModelIndex& parent) const override
    {
        return !parent.isValid() && page.limit < m_rows.size();
    }

    void fetchMore(const QModelIndex& parent) override
    {
        if (!canFetchMore(parent))
            return;
        CompletionPage grown = page;
        grown.rowAppeared(rowCount() - 1, int(m_rows.size()));
        setPage(grown);
    }

    void setRows(const QList<Completion>& rows)
    {
        const auto firstID = [](const QList<Completion>& list) { return list.isEmpty() ? QUuid() : list.first().id; };
        beginResetModel();
        if (firstID(rows) != firstID(m_rows))
            page.reset();
        m_rows = rows;
        endResetModel();
    }

    void setSelected(int selected)
    {
        const int previous = std::exchange(m_selected, selected);
        CompletionPage grown = page;
        grown.reveal(selected, int(m_rows.size()));
        setPage(grown);
        for (const int row : {previous, selected}) {
            if (row >= 0 && row < rowCount())
                Q_EMIT dataChanged(index(row), index(row));
        }
    }

    CompletionPage page;

private:
    // Rows a grown page adds are announced to the view as inserted.
    void setPage(const CompletionPage& grown)
    {
        const int before = rowCount();
        const int after = grown.rows(int(m_rows.size()));
        if (after <= before) {
            page = grown;
            return;
        }
        beginInsertRows({}, before, after - 1);
        page = grown;
        endInsertRows();
    }

    QList<Completion> m_rows;
    int m_selected = 0;
};

CompletionList::CompletionList(AppModel& model, std::function<void(int)> choose, QWidget* parent)
    : QListView(parent), m_model(model), m_rows(new CompletionModel(this)), m_choose(std::move(choose))
{
    setModel(m_rows);
    setItemDelegate(new CompletionDelegate(this));
    setUniformItemSizes(true);
    setSpacing(0);
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus);
    viewport()->setFocusPolicy(Qt::NoFocus);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setViewportMargins(listPadding, listPadding, listPadding, listPadding);
    setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_Hover);
    viewport()->setCursor(Qt::PointingHandCursor);
    // The window behind paints the background.
    setAutoFillBackground(false);
    viewport()->setAutoFillBackground(false);

    connect(this, &QListView::clicked, this, [this](const QModelIndex& index) {
        if (m_choose && index.isValid())
            m_choose(index.row());
    });
    connect(&model, &AppModel::completionsChanged, this, &CompletionList::syncRows);
    connect(&model, &AppModel::completionIndexChanged, this, &CompletionList::syncSelection);
    syncRows();
}

CompletionList::~CompletionList() = default;

const CompletionPage& CompletionList::page() const
{
    return m_rows->page;
}

void CompletionList::syncRows()
{
    m_rows->setRows(m_model.completions());
    setAccessibleName(L10n::format(QStringLiteral("suggestions.count"), {QString::number(m_model.completions().size())}));
    syncSelection();
}

void CompletionList::syncSelection()
{
    const int selected = m_model.completionIndex();
    m_rows->setSelected(selected);
    // Kept in step for assistive technologies, which follow the selection.
    const QModelIndex row = m_rows->index(selected);
    if (row.isValid())
        selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect);
    else
        selectionModel()->clear();
    scrollToSelection();
}

void CompletionList::scrollToSelection()
{
    QTimer::singleShot(0, this, [this] {
        const QModelIndex row = m_rows->index(m_model.completionIndex());
        if (row.isValid())
            scrollTo(row, QAbstractItemView::EnsureVisible);
    });
}

} // namespace quillor
