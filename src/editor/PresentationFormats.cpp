#include "editor/PresentationFormats.h"

#include "editing/EditorSyntax.h"
#include "editing/GlyphPresentation.h"
#include "editing/ListMarkerGeometry.h"
#include "editing/MarkdownDecorations.h"
#include "editing/MarkdownPresentation.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace quillor {

namespace {

constexpr char16_t objectReplacement = u'\uFFFC';

// What the inline styles covering one character add up to, as bits: the
// heading level, then bold and italic.
constexpr quint8 emphasisLevel = 0x07;
constexpr quint8 emphasisBold = 0x08;
constexpr quint8 emphasisItalic = 0x10;

TextRange clamped(TextRange range, qsizetype length)
{
    const qsizetype start = std::clamp<qsizetype>(range.location, 0, length);
    return TextRange::fromBounds(start, std::clamp<qsizetype>(range.end(), start, length));
}

} // namespace

void PresentationFormats::update(const QString& text, const Analysis& analysis, const QList<TextRange>& selections,
                                 const MarkdownGlyphPresentation& glyphs, const EditorFonts& fonts)
{
    m_looks.swap(m_previousLooks);
    m_looks.resize(text.size());
    std::fill(m_looks.begin(), m_looks.end(), Look{});
    m_leftMargins.clear();
    m_leftMargins.reserve(analysis.quotes.size() + analysis.items.size());

    applyInlineStyles(analysis.styles, analysis.codeRanges);
    for (const QuoteSyntax::Line& line : analysis.quotes) {
        // A quote line being edited shows its markers unindented.
        const int depth = QuoteSyntax::presentationDepth(line, text, selections);
        m_leftMargins.insert(line.range.location, MarkdownLayoutManager::paragraphStyle(0, depth, false).headIndent);
    }
    applyLists(text, analysis.items, selections, fonts);
    for (const TextRange& link : analysis.links)
        paint(link, Colour::link);
    Look* looks = m_looks.data();
    for (const TextRange& run : glyphs.hiddenCharacters().ranges()) {
        const TextRange range = clamped(run, text.size());
        for (qsizetype i = range.location; i < range.end(); ++i)
            looks[i].flags |= hidden;
    }
}

std::optional<TextRange> PresentationFormats::changedLooks(qsizetype position, qsizetype removed,
                                                           qsizetype added) const
{
    const qsizetype length = m_looks.size();
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

void PresentationFormats::applyInlineStyles(const QList<MarkdownStyle>& styles, const QList<TextRange>& code)
{
    // This runs on every keystroke over the whole text: plain pointers spare
    // the container's checks on each character, and what the styles covering
    // a character add up to (its heading level, bold and italic) is gathered
    // in its look's spare byte rather than in an array of its own.
    const qsizetype length = m_looks.size();
    Look* looks = m_looks.data();
    const auto affectsFont = [](const MarkdownStyle& style) {
        return style.headingLevel > 0 || style.bold || style.italic;
    };
    for (const MarkdownStyle& style : styles) {
        const TextRange range = clamped(style.range, length);
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
    for (const MarkdownStyle& style : styles) {
        if (!affectsFont(style))
            continue;
        const TextRange range = clamped(style.range, length);
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
        const TextRange range = clamped(span, length);
        for (qsizetype i = range.location; i < range.end(); ++i)
            looks[i].font = monospaced;
    }
}

void PresentationFormats::applyLists(const QString& text, const QList<ListSyntax::Item>& items,
                                     const QList<TextRange>& selections, const EditorFonts& fonts)
{
    const ListMarkerGeometry::Measure measure = [&fonts](const QString& s) { return fonts.measure(s); };
    m_columnWidth = ListMarkerGeometry::columnWidth(text, items, fonts.bodySize(), measure);
    const qreal listIndent = MarkdownLayoutManager::paragraphStyle(0, 0, true).headIndent;
    for (const ListSyntax::Item& item : items) {
        m_leftMargins.insert(item.line.location, listIndent);
        paint(item.marker, Colour::marker);
        const bool renderedTask = ListSyntax::showsRenderedCheckbox(item, text, selections);
        if (const auto kern = ListMarkerGeometry::prefixKernInColumn(text, item, m_columnWidth, renderedTask, measure)) {
            if (kern->range.location >= 0 && kern->range.location < text.size())
                m_looks[kern->range.location].kern = float(kern->kern);
        }
        // A drawn box or bullet stands where the typed marker was.
        if (renderedTask)
            paint(item.marker, Colour::clear);
        else if (!item.checkbox && !item.number && ListSyntax::showsRenderedMarker(item, selections))
            paint(TextRange{item.marker.location, 1}, Colour::clear);
    }
}

void PresentationFormats::paint(TextRange range, Colour colour)
{
    const TextRange inText = clamped(range, m_looks.size());
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
