#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QString>
#include <QtGlobal>

#include <array>
#include <optional>

namespace quillor {

// The fonts the live preview shows a capture in. Sizes are pixel sizes, so
// that the list geometry's clamp(size, 14, 24) means what it says whatever the
// screen's resolution; heading sizes are fractional pixels, set in points.
class EditorFonts {
public:
    enum class Weight : quint8 { regular, bold, heavy };

    // One font of the preview. Code 0 is the body font, which the document
    // uses by default, so plain text needs no format of its own.
    struct Style {
        quint8 headingLevel = 0;   // 0, or 1 to 6
        Weight weight = Weight::regular;
        bool italic = false;
        bool monospaced = false;

        quint8 code() const;
        static Style fromCode(quint8 code);
        bool operator==(const Style&) const = default;
    };
    static constexpr int styleCount = 1 + 7 * 3 * 2;

    explicit EditorFonts(const QFont& body);

    // The body font in pixels, and its size.
    const QFont& body() const { return m_body; }
    qreal bodySize() const { return m_body.pixelSize(); }

    // Heading levels deeper than 6 take level 6's size.
    static Style style(int headingLevel, bool bold, bool italic);
    static Style monospacedStyle() { return Style{0, Weight::regular, false, true}; }

    const QFont& font(quint8 code) const;
    // The default line height of a font, and the height of its glyph box.
    qreal lineSpacing(quint8 code) const;
    qreal height(quint8 code) const;
    // How far a cluster (one character or a surrogate pair) advances in a
    // font laid out without kerning, as hidden syntax is.
    qreal advance(quint8 code, QStringView cluster) const;
    // The advance of a text in the body font.
    qreal measure(const QString& text) const;

private:
    struct Entry {
        QFont font;
        QFont unkerned;
        std::optional<QFontMetricsF> metrics;
        std::optional<QFontMetricsF> unkernedMetrics;
    };
    const Entry& entry(quint8 code) const;

    QFont m_body;
    mutable std::array<std::optional<Entry>, styleCount> m_entries;
    mutable QHash<quint64, qreal> m_advances;
    mutable QHash<QString, qreal> m_measures;
};

} // namespace quillor
