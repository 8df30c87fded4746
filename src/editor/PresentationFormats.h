#pragma once

#include "core/TextRange.h"
#include "editing/IndexSet.h"
#include "editing/ListSyntax.h"
#include "editing/MarkdownAnalysis.h"
#include "editing/MarkdownStyle.h"
#include "editing/QuoteSyntax.h"
#include "editing/TextChange.h"
#include "editor/EditorFonts.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QString>
#include <QTextCharFormat>
#include <QTextLayout>
#include <QVector>

#include <optional>
#include <span>
#include <utility>

namespace quillor {

class MarkdownGlyphPresentation;

// The display-only look of a capture: which font, colour, strike-through,
// kern and concealment each character gets, and how far each line is
// indented. The view hands the character looks to each block's layout as
// additional formats, so they never enter the text or its undo history.
class PresentationFormats {
public:
    enum class Colour : quint8 { text, tag, marker, clear, link };
    enum Flag : quint8 { strike = 1, tagBackground = 2, hidden = 4 };

    struct Look {
        quint8 font = 0;   // EditorFonts::Style::code()
        Colour colour = Colour::text;
        quint8 flags = 0;
        quint8 unused = 0; // no padding: fingerprint() hashes the bytes
                           // (update() gathers emphasis in it, then clears it)
        float kern = 0;    // absolute letter spacing after a list prefix

        bool operator==(const Look&) const = default;
    };

    // What the rules say about a text; recomputed only when the text changes.
    using Analysis = MarkdownAnalysis;

    struct Palette {
        QColor tag;
        QColor tagBackground;
        QColor marker;
        QColor link;

        bool operator==(const Palette&) const = default;
    };

    using Edit = TextChange;
    // A value for each of some lines, by the line's start, in order.
    using LineValues = QList<std::pair<qsizetype, qreal>>;

    // Decides every character's look and every line's indentation for the
    // text with its selections; the concealment comes from `glyphs`, already
    // updated for the same inputs and the same change. `since` is the one
    // edit made to the text since the last update with the same fonts and
    // composition (an empty one for the same text), when known: the looks are
    // then decided again only where the edit, the selections or the
    // concealment can change them.
    void update(const QString& text, const Analysis& analysis, const QList<TextRange>& selections,
                const MarkdownGlyphPresentation& glyphs, const EditorFonts& fonts,
                std::optional<Edit> since = std::nullopt);

    const Look& look(qsizetype position) const { return m_looks[position]; }
    // Where the looks may differ from the previous update's, the text having
    // changed since by `removed` units at `position` becoming `added` units
    // (all 0 for the same text): the looks before the stretch are the same,
    // and so are those after it, moved along. None when nothing changed.
    std::optional<TextRange> changedLooks(qsizetype position, qsizetype removed, qsizetype added) const;
    // The head indent of the line starting at this position.
    qreal leftMargin(qsizetype lineStart) const;
    // The width of the list marker column of the text.
    qreal columnWidth() const { return m_columnWidth; }

    // A paragraph's additional formats, positions relative to its start. The
    // paragraph's range excludes its separator; images keep their own format.
    QList<QTextLayout::FormatRange> formats(const QString& text, TextRange paragraph, const EditorFonts& fonts,
                                            const Palette& palette) const;
    // The largest default line height and glyph height of the fonts of a
    // paragraph, the body font's included (the paragraph's end carries it).
    std::pair<qreal, qreal> lineMetrics(TextRange paragraph, const EditorFonts& fonts) const;
    // Whether every character of the paragraph has the plain look: no
    // formats, the body font's line.
    bool isPlain(TextRange paragraph) const;
    // Changes whenever what formats() gives for the paragraph may change: its
    // text, its looks, the fonts or the colours.
    size_t fingerprint(const QString& text, TextRange paragraph) const;

    // Formats are kept between passes; fonts or colours changing discard them.
    void clearFormatCache()
    {
        m_formatCache.clear();
        ++m_generation;
    }

private:
    struct FormatKey {
        Look look;
        qreal spacing = 0;
        bool spaced = false;

        bool operator==(const FormatKey&) const = default;
        friend size_t qHash(const FormatKey& key, size_t seed = 0)
        {
            return qHashMulti(seed, key.look.font, quint8(key.look.colour), key.look.flags, key.look.kern, key.spacing,
                              key.spaced);
        }
    };
    QTextCharFormat format(const FormatKey& key, const EditorFonts& fonts, const Palette& palette) const;

    std::optional<TextRange> redecided(const QString& text, const Analysis& analysis,
                                       const QList<TextRange>& selections, const MarkdownGlyphPresentation& glyphs,
                                       Edit edit) const;
    // The width of the list marker column: the ordered markers are measured
    // again in the window, when there is one, the rest moved along by `delta`.
    qreal decideColumnWidth(const QString& text, const Analysis& analysis, std::optional<TextRange> window,
                            qsizetype delta, const EditorFonts& fonts);
    static LineValues markerWidthsOf(const QString& text, std::span<const ListSyntax::Item> items,
                                     const EditorFonts& fonts);
    // The indent of each quote and list line: decided again in the window,
    // when there is one, the rest moved along by `delta`.
    void decideLeftMargins(const QString& text, const Analysis& analysis, const QList<TextRange>& selections,
                           std::optional<TextRange> window, qsizetype delta);
    static LineValues leftMarginsOf(const QString& text, std::span<const QuoteSyntax::Line> quotes,
                                    std::span<const ListSyntax::Item> items, const QList<TextRange>& selections);
    void applyInlineStyles(const QList<QList<MarkdownStyle>>& rules, const QList<TextRange>& code, TextRange within);
    void applyLists(const QString& text, std::span<const ListSyntax::Item> items, const QList<TextRange>& selections,
                    const EditorFonts& fonts, TextRange within);
    void paint(TextRange range, Colour colour, TextRange within);

    QVector<Look> m_looks;
    // After an update over the whole text: all the previous looks. After one
    // within a window: the previous looks of that window only, the others
    // being the same, moved along by the edit.
    QVector<Look> m_previousLooks;
    std::optional<TextRange> m_window;
    Edit m_windowEdit;
    // What the last update was made from, to tell where the next may differ.
    QList<TextRange> m_selections;
    QList<TextRange> m_codeRanges;
    quint64 m_generation = 0;
    // The head indent of each quoted or listed line, by its start, in order.
    LineValues m_leftMargins;
    // The measured width of each ordered marker, by its line's start, in order.
    LineValues m_markerWidths;
    qreal m_columnWidth = 0;
    mutable QHash<FormatKey, QTextCharFormat> m_formatCache;
};

} // namespace quillor
