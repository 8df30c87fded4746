#include "settings/HistoryList.h"

#include "core/L10n.h"
#include "settings/SettingsStyle.h"

#include <QApplication>
#include <QLocale>
#include <QPainter>
#include <QTextBoundaryFinder>
#include <QTextLayout>

namespace quillor {

namespace {

constexpr int padding = 6;
constexpr int spacing = 5;

QString destinationText(const ArchivedCapture& entry)
{
    if (entry.receipt && entry.receipt->destinationName)
        return *entry.receipt->destinationName;
    return L10n::text(QStringLiteral("Capture locale · destination historique inconnue"));
}

// At most two lines of `text` laid out in `width`, the second elided.
QStringList twoLines(const QString& text, const QFont& font, int width)
{
    QStringList lines;
    QTextLayout layout(QString(text).replace(QLatin1Char('\n'), QChar::LineSeparator), font);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (lines.size() == 1) {
            lines.append(QFontMetrics(font).elidedText(layout.text().mid(line.textStart()).simplified(),
                                                       Qt::ElideRight, width));
            break;
        }
        lines.append(layout.text().mid(line.textStart(), line.textLength()).trimmed());
    }
    layout.endLayout();
    return lines;
}

} // namespace

void HistoryListModel::setEntries(const QList<ArchivedCapture>& entries)
{
    beginResetModel();
    m_entries = entries;
    endResetModel();
}

int HistoryListModel::rowOf(const QString& source) const
{
    for (int row = 0; row < m_entries.size(); ++row) {
        if (m_entries.at(row).source == source)
            return row;
    }
    return -1;
}

int HistoryListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

QVariant HistoryListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_entries.size())
        return {};
    const ArchivedCapture& entry = m_entries.at(index.row());
    switch (role) {
    case Qt::DisplayRole: return preview(shownBody(entry));
    case dateRole:
        return L10n::locale().toString(entry.capture.createdAt.toDateTime().toLocalTime(), QLocale::ShortFormat);
    case destinationRole: return destinationText(entry);
    case statusRole: return entry.deliveryStatus();
    case sourceRole: return entry.source;
    case Qt::AccessibleTextRole: return preview(shownBody(entry)) + QStringLiteral(", ") + destinationText(entry);
    default: return {};
    }
}

QString HistoryListModel::shownBody(const ArchivedCapture& entry)
{
    if (entry.textLeftOut)
        return L10n::text(
            QStringLiteral("Texte trop long pour être affiché ici : restaure la capture pour le retrouver."));
    return entry.capture.body;
}

QString HistoryListModel::preview(const QString& body, int length)
{
    if (body.size() <= length)
        return body;
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, body);
    graphemes.setPosition(length);
    if (!graphemes.isAtBoundary())
        graphemes.toPreviousBoundary();
    return body.left(std::max<qsizetype>(graphemes.position(), 0));
}

void HistoryItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);

    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorGroup group = option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
    const QColor text = option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
    const QColor secondary = selected ? text : option.palette.color(group, QPalette::PlaceholderText);
    const QRect area = option.rect.adjusted(padding * 2, padding, -padding * 2, -padding);
    const QFont caption = SettingsStyle::captionFont(option.font);

    painter->save();
    int y = area.top();
    const auto drawLine = [&](const QString& line, const QFont& font, const QColor& colour) {
        const QFontMetrics metrics(font);
        painter->setFont(font);
        painter->setPen(colour);
        painter->drawText(QRect(area.left(), y, area.width(), metrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
                          metrics.elidedText(line, Qt::ElideRight, area.width()));
        y += metrics.height();
    };
    for (const QString& line : twoLines(index.data(Qt::DisplayRole).toString(), option.font, area.width()))
        drawLine(line, option.font, text);
    y += spacing;
    drawLine(index.data(HistoryListModel::dateRole).toString(), caption, secondary);
    drawLine(index.data(HistoryListModel::destinationRole).toString(), caption, text);
    drawLine(index.data(HistoryListModel::statusRole).toString(), caption, text);
    painter->restore();
}

QSize HistoryItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    const int body = QFontMetrics(option.font).height() * 2;
    const int captions = QFontMetrics(SettingsStyle::captionFont(option.font)).height() * 3;
    return {200, padding * 2 + body + spacing + captions};
}

} // namespace quillor
