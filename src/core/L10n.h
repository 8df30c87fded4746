#pragma once

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

// Marks a French text that is looked up later (kept in a table, then passed to
// L10n::text). The translation-coverage test collects these as well as the
// literals passed straight to L10n::text and L10n::format.
#define L10N_KEY(text) QStringLiteral(text)

namespace quillor {

// One argument of L10n::format: text for "%@", numbers for the printf-style
// numeric conversions.
class FormatArgument {
public:
    FormatArgument(const QString& text) : m_value(text) {}
    FormatArgument(const char* text) : m_value(QString::fromUtf8(text)) {}
    FormatArgument(int number) : m_value(qint64(number)) {}
    FormatArgument(long number) : m_value(qint64(number)) {}
    FormatArgument(long long number) : m_value(qint64(number)) {}
    FormatArgument(unsigned number) : m_value(quint64(number)) {}
    FormatArgument(unsigned long number) : m_value(quint64(number)) {}
    FormatArgument(unsigned long long number) : m_value(quint64(number)) {}
    FormatArgument(double number) : m_value(number) {}

    const std::variant<QString, qint64, quint64, double>& value() const { return m_value; }

private:
    std::variant<QString, qint64, quint64, double> m_value;
};

// The one entry point for every text the user reads. The key is the French
// text itself; a key missing from the selected table comes back unchanged.
namespace L10n {

// Selects the table for a language code ("fr", "en", "fr-CA"), or for the
// system's preferred languages when none is given. Texts produced earlier are
// not refreshed.
void configure(const std::optional<QString>& language);

QString text(const QString& key);

// text(key) used as a printf-style format: "%@" takes text, "%d %i %ld %lld %u
// %lu %llu %f %.Nf %%" take numbers, and positional forms ("%1$@", "%2$d") let
// a translation reorder its arguments. Numbers use the user's locale.
QString format(const QString& key, const QList<FormatArgument>& arguments);

// The language code of the table in use ("fr" or "en").
QString currentLanguage();

// The locale of the table in use, for the dates and names shown beside its
// texts: a German interface writes its dates in German whatever the system's
// locale.
QLocale locale();

// The shipped languages, sorted.
QStringList availableLanguages();

// The language chosen for an ordered list of requested codes: exact match,
// then the code with its likely script ("zh-CN" gives "zh-Hans"), then the
// language part alone ("fr-CA" gives "fr"), else "en".
QString chooseLanguage(const QStringList& requested, const QStringList& available);

} // namespace L10n
} // namespace quillor
