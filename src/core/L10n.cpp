#include "core/L10n.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QMutex>
#include <QMutexLocker>
#include <QTranslator>

#include <cmath>
#include <memory>

namespace quillor {
namespace {

// Every message of the tables lives in this one context.
constexpr const char* kContext = "Quillor";
constexpr auto kTablePrefix = QLatin1String("quillor_");
constexpr auto kTableSuffix = QLatin1String(".qm");

// "fr_CA" and "FR-ca" name the same language.
QString comparableCode(QString code)
{
    code.replace(QLatin1Char('_'), QLatin1Char('-'));
    return code.toLower();
}

QString programFolder()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    // The language is chosen before the application object exists.
    const QString executable = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    return executable.isEmpty() ? QString() : QFileInfo(executable).absolutePath();
}

// Where tables are looked for, in order: an installed folder may override or
// add languages; the embedded tables are always there as the last resort.
const QStringList& tableFolders()
{
    static const QStringList folders = [] {
        QStringList result;
        const QString program = programFolder();
        if (!program.isEmpty()) {
            result << program + QStringLiteral("/translations")
                   << QDir::cleanPath(program + QStringLiteral("/../share/quillor/translations"));
        }
        result << QStringLiteral(":/quillor/translations");
        return result;
    }();
    return folders;
}

QString tablePath(const QString& folder, const QString& language)
{
    QString fileCode = language;
    fileCode.replace(QLatin1Char('-'), QLatin1Char('_'));
    return folder + QLatin1Char('/') + kTablePrefix + fileCode + kTableSuffix;
}

QStringList languagesIn(const QString& folder)
{
    QStringList languages;
    // Told apart by prefix and suffix rather than a name filter, which would
    // compile a pattern for each folder at every launch.
    const QStringList files = QDir(folder).entryList(QDir::Files);
    for (const QString& file : files) {
        if (file.size() <= kTablePrefix.size() + kTableSuffix.size() || !file.startsWith(kTablePrefix)
            || !file.endsWith(kTableSuffix))
            continue;
        QString code = file.mid(kTablePrefix.size(), file.size() - kTablePrefix.size() - kTableSuffix.size());
        code.replace(QLatin1Char('_'), QLatin1Char('-'));
        if (!code.isEmpty() && code != QLatin1String("Base"))
            languages << code;
    }
    return languages;
}

using Translator = std::shared_ptr<const QTranslator>;

// No value when no folder has a table for the language; a null translator when
// tables exist but none can be read, so the French keys are shown.
std::optional<Translator> loadTable(const QString& language)
{
    bool found = false;
    for (const QString& folder : tableFolders()) {
        const QString path = tablePath(folder, language);
        if (!QFileInfo::exists(path))
            continue;
        found = true;
        auto translator = std::make_shared<QTranslator>();
        if (translator->load(path))
            return Translator(std::move(translator));
    }
    if (!found)
        return std::nullopt;
    return Translator();
}

struct Table {
    QString language;
    Translator translator;
};

Table tableFor(const QStringList& requested)
{
    const QString language = L10n::chooseLanguage(requested, L10n::availableLanguages());
    if (const auto translator = loadTable(language))
        return {language, *translator};
    const QString fallback = QStringLiteral("en");
    if (const auto translator = loadTable(fallback))
        return {fallback, *translator};
    return {language, Translator()};
}

QStringList requestedLanguages(const std::optional<QString>& language)
{
    return language ? QStringList{*language} : QLocale::system().uiLanguages();
}

struct Selection {
    QMutex lock;
    Table table = tableFor(requestedLanguages(std::nullopt));
};

Selection& selection()
{
    static Selection instance;
    return instance;
}

Translator currentTranslator()
{
    Selection& current = selection();
    QMutexLocker locker(&current.lock);
    return current.table.translator;
}

// ---- Formatting ------------------------------------------------------------

struct Conversion {
    int position = 0; // 1-based explicit argument, 0 for the next one in order
    bool leftAlign = false;
    bool zeroPad = false;
    bool plusSign = false;
    int width = 0;
    int precision = -1;
    QChar type;
    qsizetype end = 0; // index just past the conversion
};

int readNumber(const QString& format, qsizetype& index)
{
    int value = 0;
    while (index < format.size() && format[index].isDigit() && format[index].unicode() < 128) {
        value = qMin(value * 10 + (format[index].unicode() - '0'), 100000);
        ++index;
    }
    return value;
}

// Parses the conversion that starts at the '%' at `start`; no value when the
// text there is not a conversion we know.
std::optional<Conversion> parseConversion(const QString& format, qsizetype start)
{
    Conversion conversion;
    qsizetype index = start + 1;
    const qsizetype digitsStart = index;
    const int position = readNumber(format, index);
    if (index > digitsStart && index < format.size() && format[index] == QLatin1Char('$') && position > 0) {
        conversion.position = position;
        ++index;
    } else {
        index = digitsStart;
    }
    for (; index < format.size(); ++index) {
        const QChar flag = format[index];
        if (flag == QLatin1Char('-'))
            conversion.leftAlign = true;
        else if (flag == QLatin1Char('0'))
            conversion.zeroPad = true;
        else if (flag == QLatin1Char('+'))
            conversion.plusSign = true;
        else if (flag != QLatin1Char(' ') && flag != QLatin1Char('#') && flag != QLatin1Char('\''))
            break;
    }
    conversion.width = readNumber(format, index);
    if (index < format.size() && format[index] == QLatin1Char('.')) {
        ++index;
        conversion.precision = readNumber(format, index);
    }
    while (index < format.size() && QStringView(u"hlqzjtL").contains(format[index]))
        ++index;
    if (index >= format.size() || !QStringView(u"@diuf").contains(format[index]))
        return std::nullopt;
    conversion.type = format[index];
    conversion.end = index + 1;
    return conversion;
}

qint64 toInteger(double value)
{
    if (!std::isfinite(value))
        return 0;
    return qint64(qBound(-9.2e18, std::trunc(value), 9.2e18));
}

// The locale's digits and signs, without group separators (printf never groups).
QLocale numberLocale()
{
    QLocale locale = QLocale::system();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

QString renderInteger(const FormatArgument& argument, const QLocale& locale)
{
    const auto& value = argument.value();
    if (const auto* text = std::get_if<QString>(&value))
        return *text;
    if (const auto* number = std::get_if<quint64>(&value))
        return locale.toString(qulonglong(*number));
    if (const auto* number = std::get_if<double>(&value))
        return locale.toString(qlonglong(toInteger(*number)));
    return locale.toString(qlonglong(std::get<qint64>(value)));
}

QString renderDecimal(const FormatArgument& argument, const QLocale& locale, int precision)
{
    const auto& value = argument.value();
    if (const auto* text = std::get_if<QString>(&value))
        return *text;
    double number = 0;
    if (const auto* unsignedNumber = std::get_if<quint64>(&value))
        number = double(*unsignedNumber);
    else if (const auto* signedNumber = std::get_if<qint64>(&value))
        number = double(*signedNumber);
    else
        number = std::get<double>(value);
    return locale.toString(number, 'f', precision < 0 ? 6 : precision);
}

QString renderObject(const FormatArgument& argument)
{
    const auto& value = argument.value();
    if (const auto* text = std::get_if<QString>(&value))
        return *text;
    if (const auto* number = std::get_if<qint64>(&value))
        return QString::number(*number);
    if (const auto* number = std::get_if<quint64>(&value))
        return QString::number(*number);
    return QString::number(std::get<double>(value));
}

bool isNumber(const FormatArgument& argument)
{
    return !std::holds_alternative<QString>(argument.value());
}

QString applyWidth(QString piece, const Conversion& conversion, const QLocale& locale, bool numeric)
{
    if (numeric && conversion.plusSign && !piece.startsWith(locale.negativeSign()))
        piece.prepend(locale.positiveSign());
    const qsizetype missing = conversion.width - piece.size();
    if (missing <= 0)
        return piece;
    if (conversion.leftAlign)
        return piece + QString(missing, QLatin1Char(' '));
    if (numeric && conversion.zeroPad) {
        qsizetype signLength = 0;
        for (const QString& sign : {locale.negativeSign(), locale.positiveSign()}) {
            if (!sign.isEmpty() && piece.startsWith(sign))
                signLength = sign.size();
        }
        return piece.insert(signLength, locale.zeroDigit().repeated(missing));
    }
    return QString(missing, QLatin1Char(' ')) + piece;
}

QString render(const Conversion& conversion, const FormatArgument& argument, const QLocale& locale)
{
    const char type = char(conversion.type.unicode());
    const bool numeric = type != '@' && isNumber(argument);
    QString piece;
    if (type == '@')
        piece = renderObject(argument);
    else if (type == 'f')
        piece = renderDecimal(argument, locale, conversion.precision);
    else
        piece = renderInteger(argument, locale);
    return applyWidth(piece, conversion, locale, numeric);
}

} // namespace

namespace L10n {

void configure(const std::optional<QString>& language)
{
    Selection& current = selection();
    QMutexLocker locker(&current.lock);
    current.table = tableFor(requestedLanguages(language));
}

QString text(const QString& key)
{
    const Translator translator = currentTranslator();
    if (!translator)
        return key;
    const QString translated = translator->translate(kContext, key.toUtf8().constData());
    return translated.isEmpty() ? key : translated;
}

QString format(const QString& key, const QList<FormatArgument>& arguments)
{
    const QString pattern = text(key);
    const QLocale locale = numberLocale();
    QString result;
    result.reserve(pattern.size());
    qsizetype nextArgument = 0;
    qsizetype index = 0;
    while (index < pattern.size()) {
        const qsizetype percent = pattern.indexOf(QLatin1Char('%'), index);
        if (percent < 0) {
            result += QStringView(pattern).mid(index);
            break;
        }
        result += QStringView(pattern).mid(index, percent - index);
        if (percent + 1 < pattern.size() && pattern[percent + 1] == QLatin1Char('%')) {
            result += QLatin1Char('%');
            index = percent + 2;
            continue;
        }
        const std::optional<Conversion> conversion = parseConversion(pattern, percent);
        if (!conversion) {
            result += QLatin1Char('%');
            index = percent + 1;
            continue;
        }
        const qsizetype argumentIndex = conversion->position > 0 ? conversion->position - 1 : nextArgument++;
        if (argumentIndex < arguments.size())
            result += render(*conversion, arguments[argumentIndex], locale);
        else // a missing argument leaves its placeholder visible rather than guessing
            result += QStringView(pattern).mid(percent, conversion->end - percent);
        index = conversion->end;
    }
    return result;
}

QString currentLanguage()
{
    Selection& current = selection();
    QMutexLocker locker(&current.lock);
    return current.table.language;
}

QLocale locale()
{
    return QLocale(currentLanguage());
}

QStringList availableLanguages()
{
    QStringList languages;
    for (const QString& folder : tableFolders()) {
        for (const QString& language : languagesIn(folder)) {
            if (!languages.contains(language))
                languages << language;
        }
    }
    languages.sort();
    return languages;
}

QString chooseLanguage(const QStringList& requested, const QStringList& available)
{
    QStringList wanted;
    for (const QString& code : requested) {
        wanted << code;
        // With its likely script, so "zh-CN" and "zh" find the "zh-Hans" table
        // and "zh-TW" does not.
        const QLocale locale(code);
        if (locale.language() != QLocale::C)
            wanted << locale.uiLanguages();
    }
    wanted << QStringLiteral("en");
    for (const QString& code : wanted) {
        // "zh-Hans-CN", then "zh-Hans", then "zh".
        QString candidate = comparableCode(code);
        while (!candidate.isEmpty()) {
            for (const QString& language : available) {
                if (comparableCode(language) == candidate)
                    return language;
            }
            const qsizetype dash = candidate.lastIndexOf(QLatin1Char('-'));
            if (dash < 0)
                break;
            candidate.truncate(dash);
        }
    }
    return QStringLiteral("en");
}

} // namespace L10n
} // namespace quillor
