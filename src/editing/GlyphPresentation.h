#pragma once

#include "core/TextRange.h"
#include "editing/CodeSyntax.h"
#include "editing/IndexSet.h"
#include "editing/TextChange.h"

#include <QList>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace quillor {

class MarkdownLayoutManager;
struct MarkdownAnalysis;

// Which characters of the editor's text take no room on screen, and how tall
// each line is. Hidden characters stay in the text; the view gives them zero
// advance. Lines are 2 pixels taller than their largest font, and 1.5 times
// that on a list line, with the text centred in the added room.
class MarkdownGlyphPresentation {
public:
    // How a character's glyph is laid out.
    enum class GlyphAction {
        keep,      // drawn as usual
        null,      // neither drawn nor advanced
        control,   // a zero-width white-space control glyph (quote markers,
                   // code delimiters)
    };

    // The height of one line fragment and where its baseline sits.
    struct LineFragmentMetrics {
        qreal height = 0;
        qreal usedHeight = 0;
        qreal baselineOffset = 0;

        bool operator==(const LineFragmentMetrics&) const = default;
    };

    // The line height a paragraph's block format gives each of its lines,
    // the rule above for a layout that sets one line height per paragraph:
    // the target height, fixed, or at least that when something on the
    // paragraph (an image) is taller, so that its line keeps its height.
    // A height of 0 leaves every line its natural height.
    struct ParagraphLineHeight {
        qreal height = 0;
        bool minimum = false;

        bool operator==(const ParagraphLineHeight&) const = default;
    };

    // Forwards the inputs to the layout manager (when given) and recomputes the
    // list lines and both sets. Nothing is hidden while composing. True when
    // either set changed: the glyphs of the whole text must be laid out again.
    // A change of the list lines alone is picked up at each line's next layout.
    bool update(MarkdownLayoutManager* layoutManager, const QString& source,
                const QList<TextRange>& selections, bool composing);
    // The same with the source's analysis (MarkdownAnalysis::of) already made.
    // `since` is the one change made to the text since the last update (an
    // empty one for the same text), when known: the sets are then decided
    // again only in the lines the change, the selections or the code they
    // meet can alter, and the rest is moved along.
    bool update(MarkdownLayoutManager* layoutManager, const QString& source, const MarkdownAnalysis& analysis,
                const QList<TextRange>& selections, bool composing, std::optional<TextChange> since = std::nullopt);
    // Where the last update may have changed the sets (positions of the text
    // it was given): outside, they are the previous ones moved along with the
    // change. None when the change since the previous update was not given.
    const std::optional<TextRange>& redecided() const { return m_redecided; }

    // The `line` of each list item, in text order.
    const QList<TextRange>& listLines() const { return m_listLines; }
    const IndexSet& hiddenCharacters() const { return m_hiddenCharacters; }
    // The hidden quote markers and code delimiters.
    const IndexSet& hiddenControlCharacters() const { return m_hiddenControlCharacters; }

    GlyphAction glyphAction(qsizetype index) const;
    bool isNullGlyph(qsizetype index) const { return glyphAction(index) == GlyphAction::null; }
    // The fragment starting at this position belongs to a list line; also
    // true for the later fragments of a wrapped list line.
    bool isListFragment(qsizetype location) const;

    // (L + 2), × 1.5 on a list line, L being the largest default line height
    // of the fonts on the line.
    static qreal targetHeight(qreal largestLineHeight, bool listLine);
    // Grows the fragment to its target height, lowering the baseline by half
    // the growth. False, with the metrics untouched, when L is not above 0 or
    // the growth is not above 0.01 (a taller fragment keeps its height).
    bool shouldSetLineFragmentRect(LineFragmentMetrics& metrics, TextRange characters,
                                   qreal largestLineHeight) const;
    // The same rule for a paragraph whose tallest object (an image; 0 for
    // none) is given.
    static ParagraphLineHeight paragraphLineHeight(qreal largestLineHeight, qreal tallestObject, bool listLine);

private:
    // The list lines of the analysis: within the window only, when there is
    // one, with `since` the change it holds.
    void updateListLines(const MarkdownAnalysis& analysis, std::optional<TextChange> since,
                         std::optional<TextRange> window);
    static std::optional<TextRange> changedBetween(const IndexSet& before, const IndexSet& now,
                                                   const TextChange& change);
    std::optional<TextRange> windowFor(const QString& source, const MarkdownAnalysis& analysis,
                                       const QList<TextRange>& selections, const TextChange& change) const;

    QList<TextRange> m_listLines;
    IndexSet m_hiddenCharacters;
    IndexSet m_hiddenControlCharacters;
    // What the last update was made from, to tell where the next may differ.
    std::optional<TextRange> m_redecided;
    qsizetype m_sourceLength = 0;
    QList<TextRange> m_selections;
    QList<CodeSyntax::Span> m_code;
    bool m_composing = false;
    // False until an update over the whole text: nothing to move along.
    bool m_known = false;
};

} // namespace quillor
