#pragma once

// Random keystrokes over a text of Markdown fragments, each applied to the
// text and to its analysis as the editor applies them, for the tests that
// compare what is decided around each change with what the whole text gives.

#include "core/TextRange.h"
#include "editing/MarkdownAnalysis.h"
#include "editing/TextChange.h"

#include <QList>
#include <QStringList>

#include <algorithm>
#include <random>
#include <utility>

namespace quillor::test {

class RandomMarkdownEdits {
public:
    RandomMarkdownEdits(QStringList pieces, std::mt19937::result_type seed)
        : m_pieces(std::move(pieces)), m_random(seed)
    {
        for (int i = 0; i < 120; ++i)
            text += m_pieces[pick(m_pieces.size())];
        analysis = MarkdownAnalysis::of(text);
    }

    // Two times in three, a few units replaced by a fragment or by nothing;
    // otherwise no change, as when only the caret moves.
    TextChange edit()
    {
        TextChange change;
        if (m_random() % 3 != 0) {
            const QString added = m_random() % 4 == 0 ? QString() : m_pieces[pick(m_pieces.size())];
            change.position = pick(text.size() + 1);
            change.removed =
                m_random() % 3 == 0 ? pick(std::min<qsizetype>(text.size() - change.position, 8) + 1) : 0;
            change.added = added.size();
            text.replace(change.position, change.removed, added);
            analysis = MarkdownAnalysis::afterEdit(std::move(analysis), text, change.position, change.removed,
                                                   change.added);
        }
        return change;
    }

    // A caret, mostly after the change, or a selection over several lines.
    QList<TextRange> selectionsAfter(const TextChange& change)
    {
        const qsizetype a = m_random() % 2 ? change.position + change.added : pick(text.size() + 1);
        const qsizetype b = m_random() % 4 == 0 ? pick(text.size() + 1) : a;
        return {TextRange::fromBounds(std::min(a, b), std::max(a, b))};
    }

    bool oneIn(quint32 n) { return m_random() % n == 0; }

    QString text;
    MarkdownAnalysis analysis;

private:
    qsizetype pick(qsizetype bound) { return qsizetype(m_random() % quint32(bound)); }

    QStringList m_pieces;
    std::mt19937 m_random;
};

} // namespace quillor::test
