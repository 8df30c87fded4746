#include "core/L10n.h"

#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QSet>
#include <QTranslator>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <cctype>

using namespace quillor;

namespace {

// Removes comments, so that an example in a comment is not taken for a key;
// string and character literals are kept as they are.
QByteArray withoutComments(const QByteArray& source)
{
    QByteArray result;
    result.reserve(source.size());
    qsizetype i = 0;
    while (i < source.size()) {
        const char c = source[i];
        const char next = i + 1 < source.size() ? source[i + 1] : '\0';
        if (c == '/' && next == '/') {
            while (i < source.size() && source[i] != '\n')
                ++i;
        } else if (c == '/' && next == '*') {
            const qsizetype end = source.indexOf("*/", i + 2);
            i = end < 0 ? source.size() : end + 2;
            result += ' ';
        } else if (c == '"' || (c == '\'' && (i == 0 || !std::isalnum(static_cast<unsigned char>(source[i - 1]))))) {
            result += source[i++];
            while (i < source.size() && source[i] != c && source[i] != '\n') {
                if (source[i] == '\\' && i + 1 < source.size())
                    result += source[i++];
                result += source[i++];
            }
            if (i < source.size())
                result += source[i++];
        } else {
            result += source[i++];
        }
    }
    return result;
}

void appendCodePoint(QByteArray& bytes, char32_t codePoint)
{
    bytes += QString::fromUcs4(&codePoint, 1).toUtf8();
}

qsizetype hexValue(const QByteArray& source, qsizetype& i, int maxDigits)
{
    qsizetype value = 0;
    for (int digits = 0; digits < maxDigits && i < source.size() && std::isxdigit(static_cast<unsigned char>(source[i])); ++digits)
        value = value * 16 + QByteArray(1, source[i++]).toInt(nullptr, 16);
    return value;
}

// Reads the C++ string literal that starts at the quote at `i` and moves `i`
// past it, undoing its escapes.
QByteArray readLiteral(const QByteArray& source, qsizetype& i)
{
    QByteArray bytes;
    ++i;
    while (i < source.size() && source[i] != '"') {
        if (source[i] != '\\') {
            bytes += source[i++];
            continue;
        }
        ++i;
        if (i >= source.size())
            break;
        const char escape = source[i++];
        switch (escape) {
        case 'n': bytes += '\n'; break;
        case 't': bytes += '\t'; break;
        case 'r': bytes += '\r'; break;
        case 'a': bytes += '\a'; break;
        case 'b': bytes += '\b'; break;
        case 'f': bytes += '\f'; break;
        case 'v': bytes += '\v'; break;
        case 'x': bytes += char(hexValue(source, i, 2)); break;
        case 'u': appendCodePoint(bytes, char32_t(hexValue(source, i, 4))); break;
        case 'U': appendCodePoint(bytes, char32_t(hexValue(source, i, 8))); break;
        default:
            if (escape >= '0' && escape <= '7') {
                int value = escape - '0';
                for (int digits = 1; digits < 3 && i < source.size() && source[i] >= '0' && source[i] <= '7'; ++digits)
                    value = value * 8 + (source[i++] - '0');
                bytes += char(value);
            } else {
                bytes += escape; // \" \\ \' \?
            }
        }
    }
    ++i;
    return bytes;
}

void skipSpace(const QByteArray& source, qsizetype& i)
{
    while (i < source.size() && std::isspace(static_cast<unsigned char>(source[i])))
        ++i;
}

bool expect(const QByteArray& source, qsizetype& i, const QByteArray& token)
{
    skipSpace(source, i);
    if (!source.mid(i, token.size()).startsWith(token))
        return false;
    i += token.size();
    return true;
}

// The French keys of one source text, in the three forms the program uses:
// L10n::text(QStringLiteral("…")), L10n::format(QStringLiteral("…"), …) and
// L10N_KEY("…"). Adjacent literals are joined as the compiler joins them.
QStringList keysIn(const QByteArray& rawSource)
{
    const QByteArray source = withoutComments(rawSource);
    struct Form {
        QByteArray marker;
        bool wrapped; // the literal sits inside QStringLiteral(…)
    };
    const Form forms[] = {{"L10n::text", true}, {"L10n::format", true}, {"L10N_KEY", false}};
    QStringList keys;
    for (const Form& form : forms) {
        for (qsizetype at = source.indexOf(form.marker); at >= 0; at = source.indexOf(form.marker, at + 1)) {
            qsizetype i = at + form.marker.size();
            if (!expect(source, i, "("))
                continue;
            if (form.wrapped && !(expect(source, i, "QStringLiteral") && expect(source, i, "(")))
                continue;
            skipSpace(source, i);
            if (i >= source.size() || source[i] != '"')
                continue;
            QByteArray key;
            while (i < source.size() && source[i] == '"') {
                key += readLiteral(source, i);
                skipSpace(source, i);
            }
            keys << QString::fromUtf8(key);
        }
    }
    return keys;
}

// Every key used under src/, with the first file that uses it.
QMap<QString, QString> keysOfSources()
{
    const QString root = QStringLiteral(QUILLOR_SOURCE_DIR "/src");
    QMap<QString, QString> keys;
    QDirIterator files(root, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            ADD_FAILURE() << "cannot read " << path.toStdString();
            continue;
        }
        for (const QString& key : keysIn(file.readAll())) {
            if (!keys.contains(key))
                keys.insert(key, path.mid(root.size() + 1));
        }
    }
    return keys;
}

// The source texts of a .ts file, in file order (duplicates kept).
QStringList sourcesOfTable(const QString& name)
{
    QFile file(QStringLiteral(QUILLOR_SOURCE_DIR "/resources/translations/") + name);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << name.toStdString();
        return {};
    }
    QStringList sources;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("source"))
            sources << xml.readElementText();
    }
    EXPECT_FALSE(xml.hasError()) << name.toStdString() << ": " << xml.errorString().toStdString();
    return sources;
}

QStringList duplicates(const QStringList& list)
{
    QSet<QString> seen;
    QStringList repeated;
    for (const QString& item : list) {
        if (seen.contains(item))
            repeated << item;
        seen.insert(item);
    }
    return repeated;
}

} // namespace

TEST(TranslationCoverageTest, ScannerReadsTheThreeFormsAndCppEscapes)
{
    struct Case {
        QByteArray source;
        QStringList keys;
    };
    const Case cases[] = {
        {R"(L10n::text(QStringLiteral("Nouvelle note")))", {QStringLiteral("Nouvelle note")}},
        {"L10n::format(\n    QStringLiteral(\"Dossier : %@\"), {path})", {QStringLiteral("Dossier : %@")}},
        {R"(const auto k = L10N_KEY("Général");)", {QStringLiteral("Général")}},
        {R"(L10n::text(QStringLiteral("a\"b" "c\u00e9\n\\")))", {QStringLiteral("a\"bcé\n\\")}},
        {R"(L10n::text(QStringLiteral("l\xe2\x80\x99" "\101")))", {QStringLiteral("l’A")}},
        // Not keys: a variable, a macro definition, examples in comments.
        {R"(L10n::text(key); #define L10N_KEY(text) QStringLiteral(text))", {}},
        {"// L10n::text(QStringLiteral(\"commentaire\"))\n/* L10N_KEY(\"bloc\") */ int x = 1'000;", {}},
        {R"(auto url = "quillor://capture"; L10n::text(QStringLiteral("après")))", {QStringLiteral("après")}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(keysIn(c.source), c.keys) << c.source.toStdString();
}

TEST(TranslationCoverageTest, EveryKeyUsedInSourcesHasAnEnglishTranslation)
{
    const QMap<QString, QString> keys = keysOfSources();
    ASSERT_TRUE(keys.contains(QStringLiteral("Quillor est prêt."))) << "the scan found none of the known keys";

    QTranslator english;
    ASSERT_TRUE(english.load(QStringLiteral(":/quillor/translations/quillor_en.qm")));
    QStringList missing;
    for (auto it = keys.cbegin(); it != keys.cend(); ++it) {
        if (english.translate("Quillor", it.key().toUtf8().constData()).isEmpty())
            missing << it.value() + QStringLiteral(": ") + it.key();
    }
    EXPECT_TRUE(missing.isEmpty()) << "no finished English translation in resources/translations/quillor_en.ts for:\n"
                                   << missing.join(QLatin1Char('\n')).toStdString();
}

TEST(TranslationCoverageTest, BothTablesListTheSameKeysOnce)
{
    const QStringList english = sourcesOfTable(QStringLiteral("quillor_en.ts"));
    const QStringList french = sourcesOfTable(QStringLiteral("quillor_fr.ts"));
    EXPECT_FALSE(english.isEmpty());
    EXPECT_EQ(duplicates(english), QStringList()) << "repeated in quillor_en.ts";
    EXPECT_EQ(duplicates(french), QStringList()) << "repeated in quillor_fr.ts";

    const QSet<QString> englishSet(english.cbegin(), english.cend());
    const QSet<QString> frenchSet(french.cbegin(), french.cend());
    const QStringList onlyEnglish = (englishSet - frenchSet).values();
    const QStringList onlyFrench = (frenchSet - englishSet).values();
    EXPECT_TRUE(onlyEnglish.isEmpty()) << "missing from quillor_fr.ts:\n" << onlyEnglish.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(onlyFrench.isEmpty()) << "missing from quillor_en.ts:\n" << onlyFrench.join(QLatin1Char('\n')).toStdString();
}
