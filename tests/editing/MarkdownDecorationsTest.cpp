#include "editing/IndexSet.h"
#include "editing/MarkdownDecorations.h"

#include <gtest/gtest.h>

#include <string>

using namespace quillor;
using Decoration = MarkdownLayoutManager::Decoration;
using Kind = MarkdownLayoutManager::DecorationKind;

namespace {

// A text laid out on a grid: 10 pixels per character, 20 per line, lines 300
// wide, a padding of 5, wrapped every `columns` characters. Characters in
// `zeroWidth` take no room (hidden glyphs); those in `null` are also null
// glyphs.
class GridLayout : public DecorationLayout {
public:
    explicit GridLayout(const QString& text, qsizetype columns = 1000, IndexSet zeroWidth = {}, IndexSet null = {})
        : m_text(text), m_zeroWidth(std::move(zeroWidth)), m_null(std::move(null))
    {
        for (qsizetype start = 0; start < text.size();) {
            const qsizetype lineFeed = text.indexOf(u'\n', start);
            const qsizetype end = lineFeed >= 0 ? lineFeed : text.size();
            for (qsizetype chunk = start;; chunk += columns) {
                const qsizetype chunkEnd = std::min(chunk + columns, end);
                const qsizetype rangeEnd = chunkEnd == end && lineFeed >= 0 ? end + 1 : chunkEnd;
                if (rangeEnd > chunk)
                    m_fragments.append({TextRange::fromBounds(chunk, rangeEnd), QRectF(0, 20.0 * m_fragments.size(), 300, 20)});
                if (chunkEnd == end)
                    break;
            }
            start = end + 1;
        }
    }

    qsizetype textLength() const override { return m_text.size(); }
    qreal lineFragmentPadding() const override { return 5; }
    bool isNullGlyph(qsizetype position) const override { return m_null.contains(position); }

    QList<LineFragment> lineFragments(TextRange range) const override
    {
        QList<LineFragment> result;
        for (const LineFragment& fragment : m_fragments) {
            if (fragment.range.overlaps(range))
                result.append(fragment);
        }
        return result;
    }

    QRectF glyphBounds(TextRange range, const LineFragment& fragment) const override
    {
        const qreal left = lineFragmentPadding() + advance(TextRange::fromBounds(fragment.range.location, range.location));
        return QRectF(left, fragment.rect.top(), advance(range), fragment.rect.height());
    }

private:
    qreal advance(TextRange range) const
    {
        qreal width = 0;
        for (qsizetype i = range.location; i < range.end(); ++i)
            width += m_text.at(i) != u'\n' && !m_zeroWidth.contains(i) ? 10 : 0;
        return width;
    }

    QString m_text;
    IndexSet m_zeroWidth, m_null;
    QList<LineFragment> m_fragments;
};

std::string describe(const QList<Decoration>& decorations)
{
    static const char* const names[] = {"quote", "code", "highlight", "dragging"};
    std::string out;
    for (const Decoration& d : decorations) {
        const QRectF& r = d.rect;
        out += names[int(d.kind)]
            + QStringLiteral("(%1,%2,%3,%4) ").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString();
    }
    return out.empty() ? "none" : out;
}

TextRange whole(const QString& text) { return TextRange{0, text.size()}; }

QList<Decoration> decorate(const QString& text, const QList<TextRange>& selections, const DecorationLayout& layout,
                           std::optional<TextRange> request = std::nullopt)
{
    MarkdownLayoutManager manager;
    manager.updateDecorations(text, selections, false);
    return manager.decorations(request.value_or(whole(text)), layout);
}

} // namespace

TEST(MarkdownDecorationsTest, UpdateRunsOnlyWhenInputsChange)
{
    MarkdownLayoutManager manager;
    EXPECT_FALSE(manager.updateDecorations("", {}, false)) << "the initial state";
    EXPECT_TRUE(manager.updateDecorations("> a", {}, false));
    EXPECT_EQ(manager.quotes().size(), 1);
    EXPECT_FALSE(manager.updateDecorations("> a", {}, false));
    EXPECT_TRUE(manager.updateDecorations("> a", {{0, 0}, {3, 0}}, false));
    EXPECT_TRUE(manager.updateDecorations("> a", {{3, 0}, {0, 0}}, false)) << "the order of selections counts";
    EXPECT_TRUE(manager.quotes().isEmpty());
    EXPECT_TRUE(manager.updateDecorations("> a", {{3, 0}, {0, 0}}, true));
    EXPECT_FALSE(manager.updateDecorations("> a", {{3, 0}, {0, 0}}, true));
}

TEST(MarkdownDecorationsTest, OrderEmptinessCompositionAndDragFeedback)
{
    const QString text = "> q\n`c` ==h==";
    MarkdownLayoutManager manager;
    manager.updateDecorations(text, {}, false);
    manager.setDraggedRange(TextRange{0, 4});
    QList<Kind> kinds;
    for (const Decoration& d : manager.decorations(whole(text), GridLayout(text)))
        kinds.append(d.kind);
    EXPECT_EQ(kinds, (QList<Kind>{Kind::dragging, Kind::quote, Kind::code, Kind::highlight}));
    EXPECT_EQ(describe(manager.decorations({5, 0}, GridLayout(text))), "none") << "an empty request";
    EXPECT_EQ(describe(manager.decorations(whole(text), GridLayout(""))), "none") << "an empty text, even dragging";

    manager.updateDecorations(text, {}, true);
    EXPECT_EQ(describe(manager.decorations(whole(text), GridLayout(text))), "dragging(5,0.5,295,19) ")
        << "composing keeps only the drag feedback";

    const QString list = "- a\n- b\n- c";
    manager.updateDecorations(list, {}, false);
    const struct { const char* name; TextRange dragged, request; const char* expected; } drags[] = {
        {"two lines, one rectangle each", {0, 8}, {0, 11}, "dragging(5,0.5,295,19) dragging(5,20.5,295,19) "},
        {"outside the request", {4, 4}, {0, 4}, "none"}, {"empty range", {4, 0}, {0, 11}, "none"},
        {"ends beyond the text", {8, 10}, {0, 11}, "none"},
    };
    for (const auto& c : drags) {
        manager.setDraggedRange(c.dragged);
        EXPECT_EQ(describe(manager.decorations(c.request, GridLayout(list))), c.expected) << c.name;
    }
}

// Quote bars and code backgrounds on a grid wrapped every 6 characters unless told.
TEST(MarkdownDecorationsTest, QuoteBarsAndCodeBackgrounds)
{
    const QString fenced = "```\ncode\n```\nafter";
    const struct {
        const char* name; QString text; QList<TextRange> selections; std::optional<TextRange> request; const char* expected;
        qsizetype columns = 6;
    } cases[] = {
        {"three lines merge into one bar", "> a\n> b\n> c", {}, {}, "quote(6,0,3,60) "},
        {"caret on the middle line breaks the bar", "> a\n> b\n> c", {{6, 0}}, {}, "quote(6,0,3,20) quote(6,40,3,20) "},
        {"caret on the empty line after the quote", "> a\n> b\n", {{8, 0}}, {}, "quote(6,0,3,40) "},
        {"a wrapped quote line gets a bar on each of its lines", "> abcdefgh", {}, {}, "quote(6,0,3,40) "},
        {"a partial repaint keeps the whole merged bar", "> a\n> b\n> c", {}, TextRange{8, 3}, "quote(6,0,3,60) "},
        {"a partial repaint beside the caret's line keeps only its own bar", "> a\n> b\n> c", {{6, 0}}, TextRange{8, 3},
         "quote(6,40,3,20) "},
        {"quote inside a fence: none", "```\n> a\n```", {}, {}, "code(5,21,290,18) "},
        {"caret inside the fences: the fence lines too", fenced, {{2, 0}}, {}, "code(5,1,290,58) ", 1000},
        {"caret right after the closing fence is inside", fenced, {{12, 0}}, {}, "code(5,1,290,58) ", 1000},
        {"caret after the closing fence's line break is not", fenced, {{13, 0}}, {}, "code(5,21,290,18) ", 1000},
        {"only the requested content line", "```\na\nb\n```", {}, TextRange{6, 1}, "code(5,41,290,18) "},
        {"no content, caret on a fence", "```\n```\nx", {{1, 0}}, {}, "code(5,1,290,38) "},
        {"inline split over two lines: one per line", "ab `cdefg` h", {}, {}, "code(33,1,34,18) code(3,21,44,18) "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(describe(decorate(c.text, c.selections, GridLayout(c.text, c.columns), c.request)), c.expected) << c.name;
}

TEST(MarkdownDecorationsTest, HighlightsPaintVisibleGlyphsOnly)
{
    // "x ==**b**==" away from the caret: the "==" and "**" runs are hidden.
    const QString nested = "x ==**b**==";
    const IndexSet hidden({{2, 4}, {7, 4}});
    const IndexSet all({{0, 6}});
    const struct { const char* name; QString text; QList<TextRange> selections; GridLayout layout; const char* expected; } cases[] = {
        {"hidden emphasis markers trimmed from both ends", nested, {}, GridLayout(nested, 1000, hidden, hidden),
         "highlight(25,1,10,18) "},
        {"caret after the closing run: delimiters included", "==word==", {{8, 0}}, GridLayout("==word=="),
         "highlight(5,1,80,18) "},
        {"every glyph hidden: none", "==ab==", {{6, 0}}, GridLayout("==ab==", 1000, all, all), "none"},
        {"zero width without being null: kept, but no area", "==ab==", {{6, 0}}, GridLayout("==ab==", 1000, all), "none"},
        {"one per line when wrapped", "==abcdef==", {}, GridLayout("==abcdef==", 4),
         "highlight(25,1,20,18) highlight(5,21,40,18) "},
        {"only the active one whole", "==a== ==b==", {{11, 0}}, GridLayout("==a== ==b=="),
         "highlight(25,1,10,18) highlight(65,1,50,18) "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(describe(decorate(c.text, c.selections, c.layout)), c.expected) << c.name;
}

// Decorations asked for one line at a time, over many code spans, fenced
// blocks and highlights, are those of the whole text on that line: the
// spans and highlights meeting a request are found by halves.
TEST(MarkdownDecorationsTest, ALineAskedForAloneGetsWhatTheWholeTextGivesIt)
{
    QString text;
    for (int block = 0; block < 40; ++block)
        text += QStringLiteral("a `b` ==c== d\n```\ncode %1\n```\n==e== `f`\n").arg(block);
    const QList<TextRange> selections{{text.indexOf(QStringLiteral("==e==")) + 1, 0}};
    const GridLayout layout(text);
    const QList<Decoration> everything = decorate(text, selections, layout);
    for (qsizetype start = 0; start < text.size();) {
        const qsizetype end = text.indexOf(u'\n', start) + 1;
        const TextRange line = TextRange::fromBounds(start, end);
        const qreal top = layout.lineFragments(line).constFirst().rect.top();
        QList<Decoration> onLine;
        for (const Decoration& decoration : everything) {
            if (decoration.rect.top() >= top && decoration.rect.top() < top + 20)
                onLine.append(decoration);
        }
        ASSERT_EQ(describe(decorate(text, selections, layout, line)), describe(onLine)) << "line at " << start;
        start = end;
    }
}
