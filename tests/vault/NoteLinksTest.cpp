#include "vault/NoteLinks.h"

#include <gtest/gtest.h>

using namespace quillor;

TEST(NoteLinksTest, linkResolvesWhatLiesUnderTheIndex)
{
    const struct {
        QString text;
        qsizetype index;
        std::optional<EditorLink> expected;
    } cases[] = {
        {"[[Projets/Idées|label]]", 3, EditorLink::wiki("Projets/Idées")},
        {"[[Projets/Idées#Titre]]", 3, EditorLink::wiki("Projets/Idées")},
        {"[[Projets/Idées#Titre|label]]", 20, EditorLink::wiki("Projets/Idées")},
        {"voir [[a]]", 5, EditorLink::wiki("a")},               // the first "["
        {"voir [[a]]", 9, EditorLink::wiki("a")},               // the last "]"
        {"voir [[a]]", 4, std::nullopt},                        // just before
        {"[[ a ]]", 3, EditorLink::wiki(" a ")},                // kept as written
        {"[[|label]]", 3, EditorLink::wiki("label")},
        {"[[#Titre]]", 3, EditorLink::wiki("Titre")},
        {"[[/abs]]", 3, std::nullopt},
        {"[[a/../b]]", 3, std::nullopt},
        {"![[img.png]]", 4, std::nullopt},
        {"x", 1, std::nullopt},
        {"x", -1, std::nullopt},
        {"", 0, std::nullopt},
        {"https://example.com", 3, EditorLink::external(QUrl("https://example.com"))},
        {"voir https://example.com/a.", 10, EditorLink::external(QUrl("https://example.com/a"))},
        {"[m](mailto:a@b.c)", 1, EditorLink::external(QUrl("mailto:a@b.c"))},
        {"[o](obsidian://open?vault=v)", 1, EditorLink::external(QUrl("obsidian://open?vault=v"))},
        {"[j](javascript:x)", 1, std::nullopt},
        {"[f](file:///etc)", 1, std::nullopt},
        {"`[[a]]` [[b]]", 3, std::nullopt},                     // inside code
        {"`[[a]]` [[b]]", 10, EditorLink::wiki("b")},
    };
    for (const auto& c : cases) {
        const std::optional<EditorLink> found = NoteLinks::link(c.text, c.index);
        EXPECT_EQ(found.has_value(), c.expected.has_value()) << c.text.toStdString() << " @" << c.index;
        if (found && c.expected) {
            EXPECT_EQ(found->kind, c.expected->kind) << c.text.toStdString();
            EXPECT_EQ(found->target, c.expected->target) << c.text.toStdString();
            EXPECT_EQ(found->url.toString(), c.expected->url.toString()) << c.text.toStdString();
        }
    }
}

TEST(NoteLinksTest, matchesPrefersTheWholePathThenTheLastComponent)
{
    const struct {
        QString target;
        QStringList paths;
        QStringList expected;
    } cases[] = {
        {"idees.MD", {"Projets/Idées", "Idées"}, {"Idées"}},
        {"idees.MD", {"Projets/Idées", "Archives/idees"}, {"Archives/idees", "Projets/Idées"}},
        {"PROJETS/idées", {"Projets/Idées", "Idées", "Autre/Projets/Idées"}, {"Projets/Idées"}},
        {"Idées", {"b/Idées", "a/IDEES", "Idées plus"}, {"a/IDEES", "b/Idées"}},
        {"note.md.md", {"note.md", "note"}, {"note.md"}},
        {"x", {}, {}},
        {"x", {"y", "x/y"}, {}},
        // Code-point order: U+FF21 sorts before U+1D400 (its UTF-16 units do not).
        {"a", {QString::fromUtf8("\xF0\x9D\x90\x80/a"), QStringLiteral("Ａ/a")},
         {QStringLiteral("Ａ/a"), QString::fromUtf8("\xF0\x9D\x90\x80/a")}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NoteLinks::matches(c.target, c.paths), c.expected) << c.target.toStdString();
}
