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
        // One edit block per run: the document lays it out once, at its end.
        cursor.beginEditBlock();
        for (qsizetype i = first; i <= last; ++i) {
            if (m_changes[i].format) {
                cursor.setPosition(m_changes[i].position);
                cursor.setBlockFormat(*m_changes[i].format);
            }
        }
        // Marked last: some Qt versions lay out what is marked at once,
        // format changes gathered so far included, rather than at the end of
        // the edit block.
        const int start = m_changes[first].position;
        m_document.markContentsDirty(start, m_changes[last].position + m_changes[last].length - start);
        cursor.endEditBlock();
        first = last + 1;
    }
    m_changes.clear();
}

} // namespace quillor
