#include "editor/EditorFonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace quillor {

namespace {

constexpr quint8 monospacedCode = EditorFonts::styleCount - 1;
// Heading sizes relative to a body size of 17, levels 1 to 6.
constexpr std::array<qreal, 6> headingScale{28, 25, 22, 20, 18, 17};

QFont inPixels(QFont font)
{
    if (font.pixelSize() <= 0)
        font.setPixelSize(std::max(QFontInfo(font).pixelSize(), 1));
    return font;
}

// Pixel sizes are whole; a fractional size is set in points, which fonts
// turn into pixels at this resolution when no device tells them another.
qreal pointsPerPixel()
{
    if (QCoreApplication::testAttribute(Qt::AA_Use96Dpi))
        return 72.0 / 96;
    const QScreen* screen = QGuiApplication::primaryScreen();
    return 72.0 / (screen ? qRound(screen->logicalDotsPerInchY()) : 100);
}

} // namespace

quint8 EditorFonts::Style::code() const
{
    if (monospaced)
        return monospacedCode;
    return quint8(headingLevel * 6 + quint8(weight) * 2 + (italic ? 1 : 0));
}

EditorFonts::Style EditorFonts::Style::fromCode(quint8 code)
{
    if (code >= monospacedCode)
        return monospacedStyle();
    return Style{quint8(code / 6), Weight((code % 6) / 2), code % 2 == 1, false};
}

EditorFonts::EditorFonts(const QFont& body) : m_body(inPixels(body)) {}

EditorFonts::Style EditorFonts::style(int headingLevel, bool bold, bool italic)
{
    const int level = std::clamp(headingLevel, 0, 6);
    // Bold text is heavy, a heading is bold, bold text inside a heading heavy.
    const Weight weight = bold ? Weight::heavy : level > 0 ? Weight::bold : Weight::regular;
    return Style{quint8(level), weight, italic, false};
}

const EditorFonts::Entry& EditorFonts::entry(quint8 code) const
{
    code = std::min(code, monospacedCode);
    std::optional<Entry>& slot = m_entries[code];
    if (slot)
        return *slot;
    const Style style = Style::fromCode(code);
    QFont font = m_body;
    if (style.monospaced) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPixelSize(m_body.pixelSize());
    } else {
        if (style.headingLevel > 0)
            font.setPointSizeF(m_body.pixelSize() * headingScale[style.headingLevel - 1] / 17.0 * pointsPerPixel());
        font.setWeight(style.weight == Weight::heavy  ? QFont::ExtraBold
                       : style.weight == Weight::bold ? QFont::Bold
                                                      : m_body.weight());
        font.setItalic(style.italic || m_body.italic());
    }
    Entry made{font, font, std::nullopt, std::nullopt};
    made.unkerned.setKerning(false);
    made.metrics.emplace(made.font);
    made.unkernedMetrics.emplace(made.unkerned);
    slot = std::move(made);
    return *slot;
}

const QFont& EditorFonts::font(quint8 code) const
{
    return entry(code).font;
}

qreal EditorFonts::lineSpacing(quint8 code) const
{
    return entry(code).metrics->lineSpacing();
}

qreal EditorFonts::height(quint8 code) const
{
    return entry(code).metrics->height();
}

qreal EditorFonts::advance(quint8 code, QStringView cluster) const
{
    const char32_t codePoint = cluster.size() == 2 && cluster[0].isHighSurrogate() && cluster[1].isLowSurrogate()
                                   ? QChar::surrogateToUcs4(cluster[0], cluster[1])
                                   : cluster.isEmpty() ? 0 : cluster[0].unicode();
    const quint64 key = (quint64(code) << 32) | codePoint;
    const auto found = m_advances.constFind(key);
    if (found != m_advances.cend())
        return *found;
    const qreal width = entry(code).unkernedMetrics->horizontalAdvance(cluster.toString());
    m_advances.insert(key, width);
    return width;
}

qreal EditorFonts::measure(const QString& text) const
{
    const auto found = m_measures.constFind(text);
    if (found != m_measures.cend())
        return *found;
    const qreal width = entry(0).metrics->horizontalAdvance(text);
    if (m_measures.size() > 4096)
        m_measures.clear();
    // A copy: the text measured may stand on another string's characters.
    m_measures.insert(QString(text.constData(), text.size()), width);
    return width;
}

} // namespace quillor
