#include "core/TextFolding.h"

#include <QCollator>
#include <QLocale>

namespace quillor {
namespace TextFolding {
namespace {

// Calls visit(codePoint, units) for each code point; an unpaired surrogate is
// passed on as itself so that no text is lost.
template <typename Visit>
void forEachCodePoint(QStringView text, Visit visit)
{
    for (qsizetype i = 0; i < text.size();) {
        qsizetype length = 1;
        char32_t c = text[i].unicode();
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            length = 2;
        }
        visit(c, text.mid(i, length));
        i += length;
    }
}

// Full- and half-width forms ("Ａ", "ｶ") replaced by their ordinary form.
QString foldWidth(const QString& text)
{
    QString result;
    result.reserve(text.size());
    forEachCodePoint(text, [&](char32_t c, QStringView units) {
        const auto tag = QChar::decompositionTag(c);
        if (tag == QChar::Wide || tag == QChar::Narrow)
            result += QChar::decomposition(c);
        else
            result += units;
    });
    return result;
}

// Only non-spacing marks count as diacritics: spacing and enclosing marks
// carry meaning of their own in the scripts that use them.
QString foldDiacritics(const QString& text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString result;
    result.reserve(decomposed.size());
    forEachCodePoint(decomposed, [&](char32_t c, QStringView units) {
        if (QChar::category(c) != QChar::Mark_NonSpacing)
            result += units;
    });
    return result.normalized(QString::NormalizationForm_C);
}

QCollator& userCollator()
{
    // QCollator is not thread-safe; one per thread keeps the sort usable from
    // the scan threads without a lock.
    thread_local QCollator collator = [] {
        // Qt compares code points for the C locale (a bare session, a service)
        // and ignores the numeric mode there; English uses the root collation,
        // which is what such a user would expect.
        QLocale locale = QLocale::system();
        if (locale.language() == QLocale::C)
            locale = QLocale(QLocale::English);
        QCollator c{locale};
        c.setCaseSensitivity(Qt::CaseInsensitive);
        c.setNumericMode(true);
        return c;
    }();
    return collator;
}

} // namespace

QString foldDiacriticsAndWidth(const QString& text)
{
    // Widths first: a half-width voiced sound mark becomes a combining mark,
    // which must then go like every other diacritic.
    return foldDiacritics(foldWidth(text));
}

bool equalsIgnoringCase(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool containsIgnoringCase(QStringView haystack, QStringView needle)
{
    return haystack.contains(needle, Qt::CaseInsensitive);
}

bool equalsIgnoringCaseAndDiacritics(const QString& a, const QString& b)
{
    return foldDiacritics(a).compare(foldDiacritics(b), Qt::CaseInsensitive) == 0;
}

int localizedStandardCompare(const QString& a, const QString& b)
{
    const int order = userCollator().compare(a, b);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

QCollatorSortKey localizedSortKey(const QString& text)
{
    return userCollator().sortKey(text);
}

bool localizedContainsIgnoringCase(const QString& haystack, const QString& needle)
{
    // QCollator offers no substring search; plain case folding agrees with the
    // locale rules for every script the product is written for.
    return haystack.contains(needle, Qt::CaseInsensitive);
}

} // namespace TextFolding
} // namespace quillor
