#include "core/L10n.h"
#include "core/Regex.h"

#include "TestSupport.h"

#include <QDirIterator>
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

// The French keys of one source text, in the three forms the program uses:
// L10n::text(QStringLiteral("…")), L10n::format(QStringLiteral("…"), …) and
// L10N_KEY("…"), comments left out. Adjacent literals are joined.
QStringList keysIn(const QByteArray& source)
{
    static const Regex comments("(" + literal + R"re(|'(?:[^'\\\n]|\\.)')|//[^\n]*|/\*[\s\S]*?\*/)re");
    static const Regex call(R"re((?:L10n::(?:text|format)\s*\(\s*QStringLiteral|L10N_KEY)\s*\(\s*((?:)re" + literal
                            + R"re(\s*)+))re");
    static const Regex piece(literal);
    QStringList keys;
    for (const RegexMatch& found : call.matches(comments.replace(QString::fromUtf8(source), "\\1"))) {
        QByteArray key;
        for (const RegexMatch& part : piece.matches(found.captured(1)))
            key += unescaped(part.captured().mid(1, part.range().length - 2));
        keys << QString::fromUtf8(key);
    }
    return keys;
}

// The source texts of a .ts table, XML escapes left as they are.
QSet<QString> sourcesOfTable(const QString& name)
{
    QFile file(QUILLOR_SOURCE_DIR "/resources/translations/" + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    QSet<QString> sources;
    for (const RegexMatch& source : Regex("<source>([\\s\\S]*?)</source>").matches(QString::fromUtf8(file.readAll())))
        sources << source.captured(1);
    return sources;
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

TEST(TranslationCoverageTest, EveryKeyUsedInSourcesHasAnEnglishTranslation)
{
    QTranslator english;
    ASSERT_TRUE(english.load(QStringLiteral(":/quillor/translations/quillor_en.qm")));
    const QString root = QStringLiteral(QUILLOR_SOURCE_DIR "/src/");
    QStringList found;
    QStringList missing;
    for (QDirIterator files(root, {"*.h", "*.cpp"}, QDir::Files, QDirIterator::Subdirectories); files.hasNext();) {
        QFile file(files.next());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
        for (const QString& key : keysIn(file.readAll())) {
            found << key;
            if (english.translate("Quillor", key.toUtf8().constData()).isEmpty())
                missing << file.fileName().mid(root.size()) + ": " + key;
        }
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
