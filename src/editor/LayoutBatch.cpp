#include "editor/LayoutBatch.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace quillor {

namespace {

// Laying out a few unchanged paragraphs again costs less than a run of its
// own, which moves every paragraph after it.
constexpr int joinedGap = 16;

} // namespace

void LayoutBatch::relayout(const QTextBlock& block)
{
    m_changes.append(Change{block.blockNumber(), block.position(), block.length(), std::nullopt});
}

void LayoutBatch::setBlockFormat(const QTextBlock& block, const QTextBlockFormat& format)
{
    m_changes.append(Change{block.blockNumber(), block.position(), block.length(), format});
}

void LayoutBatch::apply()
{
    if (m_changes.isEmpty())
        return;
    std::stable_sort(m_changes.begin(), m_changes.end(),
                     [](const Change& a, const Change& b) { return a.block < b.block; });
    QTextCursor cursor(&m_document);
    for (qsizetype first = 0; first < m_changes.size();) {
        qsizetype last = first;
        while (last + 1 < m_changes.size() && m_changes[last + 1].block - m_changes[last].block <= joinedGap)
            ++last;
        // A run of block formats is one edit block: the document lays it out
        // once, at its end. Without them there is no edit block, which would
        // lay the document out at once even while it reports a change.
        const bool formats = std::any_of(m_changes.cbegin() + first, m_changes.cbegin() + last + 1,
                                         [](const Change& change) { return change.format.has_value(); });
        if (formats)
            cursor.beginEditBlock();
        for (qsizetype i = first; i <= last; ++i) {
            if (m_changes[i].format) {
                cursor.setPosition(m_changes[i].position);
                cursor.setBlockFormat(*m_changes[i].format);
            }
        }
        // Marked last: Qt may lay out what is marked at once, the format
        // changes gathered so far included, rather than at the end of the
        // edit block.
        const int start = m_changes[first].position;
        m_document.markContentsDirty(start, m_changes[last].position + m_changes[last].length - start);
        if (formats)
            cursor.endEditBlock();
        first = last + 1;
    }
    m_changes.clear();
}

} // namespace quillor
