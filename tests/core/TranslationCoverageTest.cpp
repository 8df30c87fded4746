#include "core/L10n.h"
#include "core/Regex.h"

#include "TestSupport.h"

#include <QDirIterator>
#include <QHash>
#include <QSet>
#include <QTranslator>

using namespace quillor;

namespace {

const QString literal = QStringLiteral(R"re("(?:[^"\\\n]|\\.)*")re");

// The bytes a literal's contents stand for, escapes undone as the compiler does.
QByteArray unescaped(const QString& text)
{
    static const Regex escape(R"re(\\(?:x([0-9A-Fa-f]{1,2})|([0-7]{1,3})|u([0-9A-Fa-f]{4})|U([0-9A-Fa-f]{8})|(.)))re");
    QByteArray bytes;
    qsizetype done = 0;
    for (const RegexMatch& e : escape.matches(text)) {
        bytes += text.mid(done, e.range().location - done).toUtf8();
        done = e.range().location + e.range().length;
        if (e.hasGroup(1) || e.hasGroup(2)) {
            bytes += char(e.captured(e.hasGroup(1) ? 1 : 2).toInt(nullptr, e.hasGroup(1) ? 16 : 8));
        } else if (e.hasGroup(5)) {
            const char c = e.captured(5).front().toLatin1();
            const qsizetype simple = QByteArrayView("ntrabfv").indexOf(c);
            bytes += simple < 0 ? c : "\n\t\r\a\b\f\v"[simple];
        } else {
            const char32_t codePoint = e.captured(e.hasGroup(3) ? 3 : 4).toUInt(nullptr, 16);
            bytes += QString::fromUcs4(&codePoint, 1).toUtf8();
        }
    }
    return bytes + text.mid(done).toUtf8();
}

// A source text without its comments; literals and character constants kept.
QString withoutComments(const QByteArray& source)
{
    static const Regex comments("(" + literal + R"re(|'(?:[^'\\\n]|\\.)')|//[^\n]*|/\*[\s\S]*?\*/)re");
    return comments.replace(QString::fromUtf8(source), "\\1");
}

// The French keys of one source text, in the three forms the program uses:
// L10n::text(QStringLiteral("…")), L10n::format(QStringLiteral("…"), …) and
// L10N_KEY("…"), comments left out. Adjacent literals are joined.
QStringList keysIn(const QByteArray& source)
{
    static const Regex call(R"re((?:L10n::(?:text|format)\s*\(\s*QStringLiteral|L10N_KEY)\s*\(\s*((?:)re" + literal
                            + R"re(\s*)+))re");
    static const Regex piece(literal);
    QStringList keys;
    for (const RegexMatch& found : call.matches(withoutComments(source))) {
        QByteArray key;
        for (const RegexMatch& part : piece.matches(found.captured(1)))
            key += unescaped(part.captured().mid(1, part.range().length - 2));
        keys << QString::fromUtf8(key);
    }
    return keys;
}

// The first arguments of the lookups whose key is chosen at run time (not a
// literal, not an L10N_KEY), which the key scan cannot see.
QStringList computedLookupsIn(const QByteArray& source)
{
    static const Regex lookup(R"re(L10n::(?:text|format)\s*\((?!\s*(?:QStringLiteral|L10N_KEY)\s*\()\s*([^,()]*))re");
    QStringList arguments;
    for (const RegexMatch& found : lookup.matches(withoutComments(source)))
        arguments << found.captured(1).simplified();
    return arguments;
}

QString unescapedXml(QString text)
{
    return text.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"").replace("&apos;", "'").replace(
        "&amp;", "&");
}

// The texts a .ts table shows, by source text (XML escapes of the sources left
// as they are); an entry left empty shows its key.
QHash<QString, QString> translationsOfTable(const QString& name)
{
    QFile file(QUILLOR_SOURCE_DIR "/resources/translations/" + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    static const Regex message(R"re(<source>([\s\S]*?)</source>\s*<translation(?: type="unfinished")?>([\s\S]*?)</translation>)re");
    QHash<QString, QString> translations;
    for (const RegexMatch& found : message.matches(QString::fromUtf8(file.readAll())))
        translations.insert(found.captured(1), unescapedXml(found.captured(found.captured(2).isEmpty() ? 1 : 2)));
    return translations;
}

QSet<QString> sourcesOfTable(const QString& name)
{
    const QList<QString> sources = translationsOfTable(name).keys();
    return QSet<QString>(sources.cbegin(), sources.cend());
}

// Every table shipped in resources/translations, by the code in its file name.
QStringList shippedLanguages()
{
    QStringList languages;
    for (const QString& file : QDir(QUILLOR_SOURCE_DIR "/resources/translations").entryList({"quillor_*.ts"}))
        languages << file.mid(QStringLiteral("quillor_").size()).chopped(QStringLiteral(".ts").size());
    return languages;
}

QString tableName(const QString& language)
{
    return "quillor_" + language + ".ts";
}

// What a translation must keep of the text it replaces: its conversions and
// the spaces at its ends, where other texts are joined to it.
QStringList fixedParts(const QString& text)
{
    static const Regex conversion(R"re(%(?:\d+\$)?[-+ 0#]*\d*(?:\.\d+)?l{0,2}[@diuf]|%%)re");
    QStringList parts;
    for (const RegexMatch& found : conversion.matches(text))
        parts << found.captured();
    parts.sort();
    parts << QString(text.startsWith(' ') ? "leading space" : "") << QString(text.endsWith(' ') ? "trailing space" : "");
    return parts;
}

// The program's source files, by their path under src/.
QList<std::pair<QString, QByteArray>> programSources()
{
    const QString root = QStringLiteral(QUILLOR_SOURCE_DIR "/src/");
    QList<std::pair<QString, QByteArray>> sources;
    for (QDirIterator files(root, {"*.h", "*.cpp"}, QDir::Files, QDirIterator::Subdirectories); files.hasNext();) {
        QFile file(files.next());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
        sources.append({file.fileName().mid(root.size()), file.readAll()});
    }
    return sources;
}

// The keys found in the program's sources, by file.
QList<std::pair<QString, QString>> keysOfProgram()
{
    QList<std::pair<QString, QString>> found;
    for (const auto& [name, source] : programSources()) {
        for (const QString& key : keysIn(source))
            found.append({name, key});
    }
    return found;
}

} // namespace

TEST(TranslationCoverageTest, ScannerReadsTheThreeFormsAndCppEscapes)
{
    const std::pair<QByteArray, QStringList> cases[] = {
        {"L10n::format(\n    QStringLiteral(\"Dossier : %@\"), {path}); L10N_KEY(\"Général\")", {"Dossier : %@", "Général"}},
        {R"(L10n::text(QStringLiteral("a\"b" "c\u00e9\n\\")))", {"a\"bcé\n\\"}},
        {R"(L10n::text(QStringLiteral("l\xe2\x80\x99" "\101")))", {"l’A"}},
        // Not keys: a variable, a macro definition, examples in comments.
        {R"(L10n::text(key); #define L10N_KEY(text) QStringLiteral(text))", {}},
        {"// L10n::text(QStringLiteral(\"commentaire\"))\n/* L10N_KEY(\"bloc\") */ int x = 1'000;", {}},
    };
    for (const auto& [source, keys] : cases)
        EXPECT_EQ(keysIn(source), keys) << source.toStdString();
}

TEST(TranslationCoverageTest, ScannerFindsLookupsWhoseKeyIsChosenAtRunTime)
{
    const std::pair<QByteArray, QStringList> cases[] = {
        {R"(L10n::text(QStringLiteral("a")); L10n::format( QStringLiteral("b"), {x}); L10n::text(L10N_KEY("c")))", {}},
        {R"(L10n::text(general ? QStringLiteral("Réglages") : QStringLiteral("Aide")))",
         {"general ? QStringLiteral"}},
        {"L10n::format(\n    pattern, {count}); L10n::text(m_key)", {"pattern", "m_key"}},
        {"// L10n::text(key)\nconst auto t = L10n::text;", {}},
    };
    for (const auto& [source, arguments] : cases)
        EXPECT_EQ(computedLookupsIn(source), arguments) << source.toStdString();
}

// A key chosen at run time is in no table unless someone remembered it: every
// lookup names its key where the scan sees it, or forwards a value that was
// marked with L10N_KEY where it was chosen.
TEST(TranslationCoverageTest, EveryLookupNamesItsKeyWhereTheScanSeesIt)
{
    const QSet<QString> forwarded = {QStringLiteral("model/AppModelImages.cpp: m_key")};
    QStringList computed;
    for (const auto& [name, source] : programSources()) {
        if (name.startsWith("core/L10n."))
            continue;
        for (const QString& argument : computedLookupsIn(source)) {
            if (!forwarded.contains(name + ": " + argument))
                computed << name + ": " + argument;
        }
    }
    EXPECT_TRUE(computed.isEmpty()) << "lookups whose key no table is checked for:\n"
                                    << computed.join('\n').toStdString();
}

TEST(TranslationCoverageTest, EveryKeyUsedInSourcesHasAnEnglishTranslation)
{
    QTranslator english;
    ASSERT_TRUE(english.load(QStringLiteral(":/quillor/translations/quillor_en.qm")));
    QStringList found;
    QStringList missing;
    for (const auto& [file, key] : keysOfProgram()) {
        found << key;
        if (english.translate("Quillor", key.toUtf8().constData()).isEmpty())
            missing << file + ": " + key;
    }
    ASSERT_TRUE(found.contains("Ajoute une destination.")) << "the scan found none of the known keys";
    EXPECT_TRUE(missing.isEmpty()) << "no finished English translation in resources/translations/quillor_en.ts for:\n"
                                   << missing.join('\n').toStdString();
}

TEST(TranslationCoverageTest, BothTablesListTheSameKeys)
{
    const QSet<QString> english = sourcesOfTable("quillor_en.ts"), french = sourcesOfTable("quillor_fr.ts");
    EXPECT_FALSE(english.isEmpty());
    EXPECT_EQ(english - french, QSet<QString>()) << "missing from quillor_fr.ts";
    EXPECT_EQ(french - english, QSet<QString>()) << "missing from quillor_en.ts";
}

TEST(TranslationCoverageTest, TheFiveLanguagesOfTheSettingsShipATable)
{
    EXPECT_EQ(shippedLanguages(), QStringList({"de", "en", "es", "fr", "zh_Hans"}));
}

// French and English are held to the keys above; the other tables follow English.
TEST(TranslationCoverageTest, EveryOtherTableTranslatesEveryKeyUsedInSources)
{
    const QList<std::pair<QString, QString>> keys = keysOfProgram();
    const QSet<QString> english = sourcesOfTable("quillor_en.ts");
    for (const QString& language : shippedLanguages()) {
        if (language == "fr" || language == "en")
            continue;
        QTranslator table;
        ASSERT_TRUE(table.load(":/quillor/translations/quillor_" + language + ".qm")) << language.toStdString();
        QStringList missing;
        for (const auto& [file, key] : keys) {
            if (table.translate("Quillor", key.toUtf8().constData()).isEmpty())
                missing << file + ": " + key;
        }
        EXPECT_TRUE(missing.isEmpty()) << "no finished translation in " << tableName(language).toStdString()
                                       << " for:\n" << missing.join('\n').toStdString();
        const QSet<QString> sources = sourcesOfTable(tableName(language));
        EXPECT_EQ(english - sources, QSet<QString>()) << "missing from " << tableName(language).toStdString();
        EXPECT_EQ(sources - english, QSet<QString>()) << "missing from quillor_en.ts";
    }
}

// The program fills the conversions and joins texts at their spaces; a
// translation that drops one loses an argument or glues two sentences.
TEST(TranslationCoverageTest, TranslationsKeepTheConversionsAndEndSpacesOfTheEnglish)
{
    const QHash<QString, QString> english = translationsOfTable("quillor_en.ts");
    for (const QString& language : shippedLanguages()) {
        const QHash<QString, QString> table = translationsOfTable(tableName(language));
        for (auto message = table.cbegin(); message != table.cend(); ++message) {
            if (english.contains(message.key())) {
                EXPECT_EQ(fixedParts(*message), fixedParts(english[message.key()]))
                    << tableName(language).toStdString() << ": " << message.key().toStdString();
            }
        }
    }
}
