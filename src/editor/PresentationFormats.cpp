#include "editor/PresentationFormats.h"

#include "editing/EditorSyntax.h"
#include "editing/GlyphPresentation.h"
#include "editing/ListMarkerGeometry.h"
#include "editing/ListSplice.h"
#include "editing/MarkdownDecorations.h"
#include "editing/MarkdownPresentation.h"
#include "editing/WholeLines.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <span>
#include <vector>

namespace quillor {

namespace {

constexpr char16_t objectReplacement = u'\uFFFC';

// What the inline styles covering one character add up to, as bits: the
// heading level, then bold and italic.
constexpr quint8 emphasisLevel = 0x07;
constexpr quint8 emphasisBold = 0x08;
constexpr quint8 emphasisItalic = 0x10;

TextRange clipped(TextRange range, TextRange within)
{
    const qsizetype start = std::clamp<qsizetype>(range.location, within.location, within.end());
    return TextRange::fromBounds(start, std::clamp<qsizetype>(range.end(), start, within.end()));
}

TextRange clamped(TextRange range, qsizetype length)
{
    return clipped(range, TextRange{0, length});
}

// Sorted, disjoint ranges meeting the window.
std::span<const TextRange> meeting(const QList<TextRange>& ranges, TextRange window)
{
    const TextRange* end = ranges.constData() + ranges.size();
    const TextRange* first = std::upper_bound(ranges.constData(), end, window.location,
                                              [](qsizetype p, const TextRange& r) { return p < r.end(); });
    const TextRange* last = std::lower_bound(first, end, window.end(),
                                             [](const TextRange& r, qsizetype p) { return r.location < p; });
    return {first, last};
}

// Values kept by their line's start, in order: those of the lines standing in
// the window are replaced, those after it move along with the edit.
void spliceLineValues(PresentationFormats::LineValues& values, TextRange window, qsizetype delta,
                      PresentationFormats::LineValues replacement)
{
    const auto startsBefore = [](const std::pair<qsizetype, qreal>& value, qsizetype p) { return value.first < p; };
    const auto begin = values.cbegin();
    const qsizetype first = std::lower_bound(begin, values.cend(), window.location, startsBefore) - begin;
    const qsizetype last = std::lower_bound(begin + first, values.cend(), window.end() - delta, startsBefore) - begin;
    if (delta != 0) {
        for (auto& value : std::span(values).subspan(last))
            value.first += delta;
    }
    replaceRun(values, first, last, std::move(replacement));
}

qsizetype itemStart(const ListSyntax::Item& item)
{
    return item.line.location;
}

} // namespace

void PresentationFormats::update(const QString& text, const Analysis& analysis, const QList<TextRange>& selections,
                                 const MarkdownGlyphPresentation& glyphs, const EditorFonts& fonts,
                                 std::optional<Edit> since)
{
    const IndexSet& hidden = glyphs.hiddenCharacters();
    std::optional<TextRange> window = since ? redecided(text, analysis, selections, glyphs, *since) : std::nullopt;
    const qreal columnWidth = decideColumnWidth(text, analysis, window, since ? since->added - since->removed : 0, fonts);
    // Every list line's text moves with the column.
    if (columnWidth != m_columnWidth)
        window.reset();
    m_window = window;
    TextRange within{0, text.size()};
    if (window) {
        // Only the window is decided again: its previous looks are kept for
        // changedLooks(), and the looks after it move along with the edit.
        within = *window;
        m_windowEdit = *since;
        const qsizetype delta = since->added - since->removed;
        m_previousLooks = m_looks.mid(within.location, within.length - delta);
        if (delta > 0)
            m_looks.insert(within.location, delta, Look{});
        else if (delta < 0)
            m_looks.remove(within.location, -delta);
        std::fill(m_looks.begin() + within.location, m_looks.begin() + within.end(), Look{});
    } else {
        m_looks.swap(m_previousLooks);
        m_looks.resize(text.size());
        std::fill(m_looks.begin(), m_looks.end(), Look{});
    }
    m_selections = selections;
    m_codeRanges = analysis.codeRanges;
    m_columnWidth = columnWidth;
    decideLeftMargins(text, analysis, selections, window, since ? since->added - since->removed : 0);

    applyInlineStyles(analysis.styleRules, analysis.codeRanges, within);
    applyLists(text, standingIn(analysis.items, within, itemStart), selections, fonts, within);
    for (const TextRange& link : standingIn(analysis.links, within, [](const TextRange& r) { return r.location; }))
        paint(link, Colour::link, within);
    Look* looks = m_looks.data();
    for (const TextRange& run : meeting(hidden.ranges(), within)) {
        const TextRange range = clipped(run, within);
        for (qsizetype i = range.location; i < range.end(); ++i)
            looks[i].flags |= PresentationFormats::hidden;
    }
}

void PresentationFormats::decideLeftMargins(const QString& text, const Analysis& analysis,
                                            const QList<TextRange>& selections, std::optional<TextRange> window,
                                            qsizetype delta)
{
    if (!window) {
        m_leftMargins = leftMarginsOf(text, analysis.quotes, analysis.items, selections);
        return;
    }
    // Outside the window the lines, and whether a selection touches them,
    // are those of before, moved along.
    const auto quoteStart = [](const QuoteSyntax::Line& line) { return line.range.location; };
    spliceLineValues(m_leftMargins, *window, delta,
                     leftMarginsOf(text, standingIn(analysis.quotes, *window, quoteStart),
                                   standingIn(analysis.items, *window, itemStart), selections));
}

qreal PresentationFormats::decideColumnWidth(const QString& text, const Analysis& analysis,
                                             std::optional<TextRange> window, qsizetype delta,
                                             const EditorFonts& fonts)
{
    // Outside the window the markers are those of before, moved along.
    if (window)
        spliceLineValues(m_markerWidths, *window, delta,
                         markerWidthsOf(text, standingIn(analysis.items, *window, itemStart), fonts));
    else
        m_markerWidths = markerWidthsOf(text, analysis.items, fonts);
    qreal width = ListMarkerGeometry::side(fonts.bodySize());
    for (const auto& marker : std::as_const(m_markerWidths))
        width = std::max(width, marker.second);
    return width;
}

PresentationFormats::LineValues PresentationFormats::markerWidthsOf(const QString& text,
                                                                    std::span<const ListSyntax::Item> items,
                                                                    const EditorFonts& fonts)
{
    LineValues widths;
    QStringView previous;
    qreal previousWidth = 0;
    for (const ListSyntax::Item& item : items) {
        const QStringView marker = ListMarkerGeometry::orderedMarker(text, item);
        if (marker.isEmpty())
            continue;
        // Markers follow one another alike ("1.", "1.", "2."): a marker like
        // the one before is not measured again.
        if (marker != previous) {
            previous = marker;
            previousWidth = fonts.measure(QString::fromRawData(marker.data(), marker.size()));
        }
        widths.append({item.line.location, previousWidth});
    }
    return widths;
}

PresentationFormats::LineValues PresentationFormats::leftMarginsOf(const QString& text,
                                                                   std::span<const QuoteSyntax::Line> quotes,
                                                                   std::span<const ListSyntax::Item> items,
                                                                   const QList<TextRange>& selections)
{
    // Both lists are in text order: merged, a line both quoted and listed
    // takes the list's indent.
    const qreal listIndent = MarkdownLayoutManager::paragraphStyle(0, 0, true).headIndent;
    QList<std::pair<qsizetype, qreal>> margins;
    margins.reserve(qsizetype(quotes.size() + items.size()));
    auto item = items.begin();
    for (const QuoteSyntax::Line& line : quotes) {
        for (; item != items.end() && item->line.location < line.range.location; ++item)
            margins.append({item->line.location, listIndent});
        if (item != items.end() && item->line.location == line.range.location) {
            margins.append({line.range.location, listIndent});
            ++item;
            continue;
        }
        // A quote line being edited shows its markers unindented.
        const int depth = QuoteSyntax::presentationDepth(line, text, selections);
        margins.append({line.range.location, MarkdownLayoutManager::paragraphStyle(0, depth, false).headIndent});
    }
    for (; item != items.end(); ++item)
        margins.append({item->line.location, listIndent});
    return margins;
}

qreal PresentationFormats::leftMargin(qsizetype lineStart) const
{
    const auto found = std::lower_bound(m_leftMargins.cbegin(), m_leftMargins.cend(), lineStart,
                                        [](const std::pair<qsizetype, qreal>& m, qsizetype p) { return m.first < p; });
    return found != m_leftMargins.cend() && found->first == lineStart ? found->second : 0;
}

// Where looks may differ from the last update's, the text having changed by
// `edit` since: the edited lines, the lines the selections held before and
// hold now, and where the concealment changed. Everything else a look depends
// on stays within its line, but for code (which must then be the same, moved
// along) and the list column (the same width). None when the whole text is to
// be decided again.
std::optional<TextRange> PresentationFormats::redecided(const QString& text, const Analysis& analysis,
                                                        const QList<TextRange>& selections,
                                                        const MarkdownGlyphPresentation& glyphs, Edit edit) const
{
    const qsizetype length = text.size();
    if (edit.position < 0 || edit.removed < 0 || edit.added < 0 || edit.position + edit.added > length
        || m_looks.size() - edit.removed + edit.added != length
        || analysis.codeRanges.size() != m_codeRanges.size())
        return std::nullopt;
    const qsizetype delta = edit.added - edit.removed;
    const auto moved = [&edit, delta](qsizetype p) {
        if (p < edit.position)
            return p;
        return p >= edit.position + edit.removed ? p + delta : edit.position;
    };
    const auto movedRange = [&moved](TextRange r) { return TextRange::fromBounds(moved(r.location), moved(r.end())); };
    // Lists still sharing their ranges hold the same ranges: those ending
    // before the edit stand where they stood.
    qsizetype firstMoved = 0;
    if (m_codeRanges.constData() == analysis.codeRanges.constData())
        firstMoved = std::lower_bound(m_codeRanges.cbegin(), m_codeRanges.cend(), edit.position,
                                      [](const TextRange& r, qsizetype p) { return r.end() < p; })
                     - m_codeRanges.cbegin();
    for (qsizetype i = firstMoved; i < m_codeRanges.size(); ++i) {
        if (movedRange(m_codeRanges[i]) != analysis.codeRanges[i])
            return std::nullopt;
    }
    std::optional<TextRange> window;
    if (edit.removed > 0 || edit.added > 0)
        window = wholeLines(text, TextRange{edit.position, edit.added});
    for (const TextRange& selection : m_selections)
        window = TextRange::spanning(window, wholeLines(text, movedRange(selection)));
    for (const TextRange& selection : selections)
        window = TextRange::spanning(window, wholeLines(text, selection));
    // The concealment was decided again for the same change, and changed
    // only there.
    const std::optional<TextRange>& concealment = glyphs.redecided();
    if (!concealment)
        return std::nullopt;
    if (!concealment->isEmpty())
        window = TextRange::spanning(window, *concealment);
    // Whole lines, so that the constructs standing in it are all it meets.
    return window ? wholeLines(text, *window) : TextRange{0, 0};
}

std::optional<TextRange> PresentationFormats::changedLooks(qsizetype position, qsizetype removed,
                                                           qsizetype added) const
{
    const qsizetype length = m_looks.size();
    if (m_window) {
        if (!(m_windowEdit == Edit{position, removed, added}))
            return TextRange{0, length};
        // Outside the window the looks are the previous ones moved along:
        // the first and the last that differ are inside it.
        const TextRange window = *m_window;
        const qsizetype delta = added - removed;
        const Look* now = m_looks.constData();
        // The previous look of the character that was at `index`.
        const auto before = [this, &window](qsizetype index) { return m_previousLooks[index - window.location]; };
        qsizetype first = window.location;
        while (first < position && now[first] == before(first))
            ++first;
        qsizetype end = window.end();
        const qsizetype endLimit = std::max(window.location, position + added);
        while (end > endLimit && now[end - 1] == before(end - 1 - delta))
            --end;
        const qsizetype start = std::min(first, position);
        end = end > endLimit ? end : position + added;
        if (start >= end && removed == 0 && added == 0)
            return std::nullopt;
        return TextRange::fromBounds(start, std::max(start, end));
    }
    const qsizetype previousLength = m_previousLooks.size();
    if (position < 0 || removed < 0 || added < 0 || position + added > length
        || previousLength - removed + added != length)
        return TextRange{0, length};
    // Whole stretches of equal bytes are passed over at once: looks have no
    // padding, and a kern of -0 differing from 0 only costs a paragraph more.
    const auto equal = [](const Look* a, const Look* b, qsizetype count) {
        return std::memcmp(a, b, size_t(count) * sizeof(Look)) == 0;
    };
    constexpr qsizetype chunk = 256;
    const Look* now = m_looks.constData();
    const Look* before = m_previousLooks.constData();
    qsizetype first = 0;
    while (first < position) {
        const qsizetype count = std::min(chunk, position - first);
        if (!equal(now + first, before + first, count)) {
            while (now[first] == before[first])
                ++first;
            break;
        }
        first += count;
    }
    // From the ends, as far as the edit.
    qsizetype tail = 0;
    const qsizetype tailLimit = length - (position + added);
    while (tail < tailLimit) {
        const qsizetype count = std::min(chunk, tailLimit - tail);
        if (!equal(now + length - tail - count, before + previousLength - tail - count, count)) {
            while (now[length - tail - 1] == before[previousLength - tail - 1])
                ++tail;
            break;
        }
        tail += count;
    }
    const qsizetype start = std::min(first, position);
    const qsizetype end = std::max(length - tail, position + added);
    if (start >= end && removed == 0 && added == 0)
        return std::nullopt;
    return TextRange::fromBounds(start, std::max(start, end));
}

void PresentationFormats::applyInlineStyles(const QList<QList<MarkdownStyle>>& rules, const QList<TextRange>& code,
                                            TextRange within)
{
    // In the order of MarkdownAnalysis::styles, only those in the window.
    std::vector<const MarkdownStyle*> styles;
    for (const QList<MarkdownStyle>& rule : rules) {
        for (const MarkdownStyle& style :
             standingIn(rule, within, [](const MarkdownStyle& s) { return s.range.location; }))
            styles.push_back(&style);
    }
    // This runs on every keystroke over the window: plain pointers spare
    // the container's checks on each character, and what the styles covering
    // a character add up to (its heading level, bold and italic) is gathered
    // in its look's spare byte rather than in an array of its own.
    Look* looks = m_looks.data();
    const auto affectsFont = [](const MarkdownStyle& style) {
        return style.headingLevel > 0 || style.bold || style.italic;
    };
    for (const MarkdownStyle* styled : styles) {
        const MarkdownStyle& style = *styled;
        const TextRange range = clipped(style.range, within);
        const quint8 flags = (style.strike ? strike : 0) | (style.tag ? tagBackground : 0);
        for (qsizetype i = range.location; i < range.end(); ++i) {
            looks[i].flags |= flags;
            if (style.tag)
                looks[i].colour = Colour::tag;
        }
        if (!affectsFont(style))
            continue;
        const quint8 level = quint8(std::clamp(style.headingLevel, 0, 6));
        const quint8 emphasis = (style.bold ? emphasisBold : 0) | (style.italic ? emphasisItalic : 0);
        for (qsizetype i = range.location; i < range.end(); ++i) {
            const quint8 gathered = looks[i].unused;
            looks[i].unused = std::max<quint8>(gathered & emphasisLevel, level) | (gathered & ~emphasisLevel) | emphasis;
        }
    }
    // Every font a character can get, looked up rather than worked out again
    // for each character of each style.
    std::array<quint8, 32> fontCodes{};
    for (quint8 gathered = 0; gathered < fontCodes.size(); ++gathered) {
        const bool bold = (gathered & emphasisBold) != 0;
        const bool italic = (gathered & emphasisItalic) != 0;
        fontCodes[gathered] = EditorFonts::style(std::min(gathered & emphasisLevel, 6), bold, italic).code();
    }
    for (const MarkdownStyle* styled : styles) {
        const MarkdownStyle& style = *styled;
        if (!affectsFont(style))
            continue;
        const TextRange range = clipped(style.range, within);
        for (qsizetype i = range.location; i < range.end(); ++i) {
            // Every character of such a style gathered something; 0 is a
            // character an overlapping style already gave its font.
            if (const quint8 gathered = looks[i].unused) {
                looks[i].font = fontCodes[gathered];
                looks[i].unused = 0;
            }
        }
    }
    const quint8 monospaced = EditorFonts::monospacedStyle().code();
    for (const TextRange& span : code) {
        const TextRange range = clipped(span, within);
        for (qsizetype i = range.location; i < range.end(); ++i)
            looks[i].font = monospaced;
    }
}

void PresentationFormats::applyLists(const QString& text, std::span<const ListSyntax::Item> items,
                                     const QList<TextRange>& selections, const EditorFonts& fonts, TextRange within)
{
    const ListMarkerGeometry::Measure measure = [&fonts](const QString& s) { return fonts.measure(s); };
    for (const ListSyntax::Item& item : items) {
        paint(item.marker, Colour::marker, within);
        const bool renderedTask = ListSyntax::showsRenderedCheckbox(item, text, selections);
        if (const auto kern = ListMarkerGeometry::prefixKernInColumn(text, item, m_columnWidth, renderedTask, measure)) {
            if (kern->range.location >= within.location && kern->range.location < within.end())
                m_looks[kern->range.location].kern = float(kern->kern);
        }
        // A drawn box or bullet stands where the typed marker was.
        if (renderedTask)
            paint(item.marker, Colour::clear, within);
        else if (!item.checkbox && !item.number && ListSyntax::showsRenderedMarker(item, selections))
            paint(TextRange{item.marker.location, 1}, Colour::clear, within);
    }
}

void PresentationFormats::paint(TextRange range, Colour colour, TextRange within)
{
    const TextRange inText = clipped(range, within);
    Look* looks = m_looks.data();
    for (qsizetype i = inText.location; i < inText.end(); ++i)
        looks[i].colour = colour;
}

QTextCharFormat PresentationFormats::format(const FormatKey& key, const EditorFonts& fonts,
                                            const Palette& palette) const
{
    const auto cached = m_formatCache.constFind(key);
    if (cached != m_formatCache.cend())
        return *cached;
    QTextCharFormat format;
    if (key.look.font != 0)
        format.setFont(fonts.font(key.look.font));
    if (key.look.flags & strike)
        format.setFontStrikeOut(true);
    switch (key.look.colour) {
    case Colour::text:
        break;
    case Colour::tag:
        format.setForeground(palette.tag);
        break;
    case Colour::marker:
        format.setForeground(palette.marker);
        break;
    case Colour::clear:
        format.setForeground(QColor(Qt::transparent));
        break;
    case Colour::link:
        format.setForeground(palette.link);
        break;
    }
    if (key.look.flags & tagBackground)
        format.setBackground(palette.tagBackground);
    if (key.look.flags & hidden) {
        // Minus the character's own advance leaves no room at all; kerning is
        // off so that the advance measured is the advance laid out.
        format.setForeground(QColor(Qt::transparent));
        format.clearBackground();
        format.setFontKerning(false);
    }
    if (key.spaced) {
        format.setFontLetterSpacingType(QFont::AbsoluteSpacing);
        format.setFontLetterSpacing(key.spacing);
    }
    m_formatCache.insert(key, format);
    return format;
}

QList<QTextLayout::FormatRange> PresentationFormats::formats(const QString& text, TextRange paragraph,
                                                             const EditorFonts& fonts, const Palette& palette) const
{
    QList<QTextLayout::FormatRange> ranges;
    const TextRange range = clamped(paragraph, m_looks.size());
    std::optional<FormatKey> open;
    qsizetype openStart = 0;
    const auto close = [&](qsizetype end) {
        if (open)
            ranges.append(QTextLayout::FormatRange{int(openStart - range.location), int(end - openStart),
                                                   format(*open, fonts, palette)});
        open.reset();
    };
    for (qsizetype i = range.location; i < range.end(); ++i) {
        const Look& look = m_looks[i];
        qsizetype clusterLength = 1;
        FormatKey key{look, 0, false};
        key.look.kern = 0;
        if (look.flags & hidden) {
            if (text[i].isHighSurrogate() && i + 1 < range.end() && text[i + 1].isLowSurrogate())
                clusterLength = 2;
            key.spacing = -fonts.advance(look.font, QStringView(text).mid(i, clusterLength));
            key.spaced = true;
        } else if (look.kern != 0) {
            key.spacing = look.kern;
            key.spaced = true;
        }
        const bool plain = key == FormatKey{} || text[i] == QChar(objectReplacement);
        if (plain || !open || !(*open == key)) {
            close(i);
            if (!plain) {
                open = key;
                openStart = i;
            }
        }
        i += clusterLength - 1;
    }
    close(range.end());
    return ranges;
}

bool PresentationFormats::isPlain(TextRange paragraph) const
{
    const TextRange range = clamped(paragraph, m_looks.size());
    return std::all_of(m_looks.cbegin() + range.location, m_looks.cbegin() + range.end(),
                       [](const Look& look) { return look == Look{}; });
}

size_t PresentationFormats::fingerprint(const QString& text, TextRange paragraph) const
{
    const TextRange range = clamped(paragraph, m_looks.size());
    static_assert(sizeof(Look) == 8, "a look's bytes are its value");
    const QByteArrayView looks(reinterpret_cast<const char*>(m_looks.constData() + range.location),
                               range.length * qsizetype(sizeof(Look)));
    return qHashMulti(m_generation, QStringView(text).mid(range.location, range.length), qHashBits(looks.data(), looks.size()));
}

std::pair<qreal, qreal> PresentationFormats::lineMetrics(TextRange paragraph, const EditorFonts& fonts) const
{
    const TextRange range = clamped(paragraph, m_looks.size());
    qreal spacing = fonts.lineSpacing(0);
    qreal height = fonts.height(0);
    quint8 last = 0;
    for (qsizetype i = range.location; i < range.end(); ++i) {
        const quint8 font = m_looks[i].font;
        if (font == last)
            continue;
        last = font;
        spacing = std::max(spacing, fonts.lineSpacing(font));
        height = std::max(height, fonts.height(font));
    }
    return {spacing, height};
}

} // namespace quillor
