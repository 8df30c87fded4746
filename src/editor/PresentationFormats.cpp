#include "editor/PresentationFormats.h"

#include "editing/EditorSyntax.h"
#include "editing/GlyphPresentation.h"
#include "editing/ListMarkerGeometry.h"
#include "editing/MarkdownDecorations.h"
#include "editing/MarkdownPresentation.h"

#include <algorithm>

namespace quillor {

namespace {

constexpr char16_t objectReplacement = u'\uFFFC';

// What the inline styles covering one character add up to.
struct Emphasis {
    quint8 level = 0;
    bool bold = false;
    bool italic = false;
};

TextRange clamped(TextRange range, qsizetype length)
{
    const qsizetype start = std::clamp<qsizetype>(range.location, 0, length);
    return TextRange::fromBounds(start, std::clamp<qsizetype>(range.end(), start, length));
}

} // namespace

PresentationFormats::Analysis PresentationFormats::Analysis::of(const QString& text)
{
    return Analysis{MarkdownPresentation::styles(text), QuoteSyntax::lines(text), EditorSyntax::codeRanges(text),
                    ListSyntax::items(text), EditorSyntax::linkRanges(text)};
}

void PresentationFormats::update(const QString& text, const Analysis& analysis, const QList<TextRange>& selections,
                                 const MarkdownGlyphPresentation& glyphs, const EditorFonts& fonts)
{
    m_looks.fill(Look{}, text.size());
    m_leftMargins.clear();

    applyInlineStyles(analysis.styles, analysis.code);
    for (const QuoteSyntax::Line& line : analysis.quotes) {
        // A quote line being edited shows its markers unindented.
        const int depth = QuoteSyntax::presentationDepth(line, text, selections);
        m_leftMargins.insert(line.range.location, MarkdownLayoutManager::paragraphStyle(0, depth, false).headIndent);
    }
    applyLists(text, analysis.items, selections, fonts);
    for (const TextRange& link : analysis.links)
        paint(link, Colour::link);
    for (const TextRange& run : glyphs.hiddenCharacters().ranges()) {
        const TextRange range = clamped(run, text.size());
        for (qsizetype i = range.location; i < range.end(); ++i)
            m_looks[i].flags |= hidden;
    }
}

void PresentationFormats::applyInlineStyles(const QList<MarkdownStyle>& styles, const QList<TextRange>& code)
{
    const qsizetype length = m_looks.size();
    QVector<Emphasis> emphasis(length);
    for (const MarkdownStyle& style : styles) {
        const TextRange range = clamped(style.range, length);
        for (qsizetype i = range.location; i < range.end(); ++i) {
            Emphasis& e = emphasis[i];
            e.level = std::max<quint8>(e.level, quint8(std::clamp(style.headingLevel, 0, 6)));
            e.bold = e.bold || style.bold;
            e.italic = e.italic || style.italic;
            if (style.strike)
                m_looks[i].flags |= strike;
            if (style.tag) {
                m_looks[i].colour = Colour::tag;
                m_looks[i].flags |= tagBackground;
            }
        }
    }
    for (const MarkdownStyle& style : styles) {
        const TextRange range = clamped(style.range, length);
        for (qsizetype i = range.location; i < range.end(); ++i) {
            const Emphasis& e = emphasis[i];
            m_looks[i].font = EditorFonts::style(e.level, e.bold, e.italic).code();
        }
    }
    const quint8 monospaced = EditorFonts::monospacedStyle().code();
    for (const TextRange& span : code) {
        const TextRange range = clamped(span, length);
        for (qsizetype i = range.location; i < range.end(); ++i)
            m_looks[i].font = monospaced;
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
    for (qsizetype i = inText.location; i < inText.end(); ++i)
        m_looks[i].colour = colour;
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
