#include "vault/NoteLinks.h"

#include <gtest/gtest.h>

using namespace quillor;

TEST(NoteLinksTest, linkResolvesWhatLiesUnderTheIndex)
{
    const std::tuple<QString, qsizetype, std::optional<EditorLink>> cases[] = {
        {"[[Projets/Idées|label]]", 3, EditorLink::wiki("Projets/Idées")},
        {"[[Projets/Idées#Titre|label]]", 20, EditorLink::wiki("Projets/Idées")},
        {"voir [[a]]", 9, EditorLink::wiki("a")},               // the last "]"
        {"voir [[a]]", 4, std::nullopt},                        // just before
        {"[[ a ]]", 3, EditorLink::wiki(" a ")},                // kept as written
        {"[[|label]]", 3, EditorLink::wiki("label")},
        {"[[/abs]]", 3, std::nullopt},
        {"[[a/../b]]", 3, std::nullopt},
        {"![[img.png]]", 4, std::nullopt},
        {"x", -1, std::nullopt},
        {"voir https://example.com/a.", 10, EditorLink::external(QUrl("https://example.com/a"))},
        {"[o](obsidian://open?vault=v)", 1, EditorLink::external(QUrl("obsidian://open?vault=v"))},
        {"[j](javascript:x)", 1, std::nullopt},
        {"[f](file:///etc)", 1, std::nullopt},
        {"`[[a]]` [[b]]", 3, std::nullopt},                     // inside code
        {"`[[a]]` [[b]]", 10, EditorLink::wiki("b")},
    };
    const auto fields = [](const std::optional<EditorLink>& link) {
        return link ? std::optional(std::tuple(link->kind, link->target, link->url.toString())) : std::nullopt;
    };
    for (const auto& [text, index, expected] : cases)
        EXPECT_EQ(fields(NoteLinks::link(text, index)), fields(expected)) << text.toStdString() << " @" << index;
}

TEST(NoteLinksTest, matchesPrefersTheWholePathThenTheLastComponent)
{
    const std::tuple<QString, QStringList, QStringList> cases[] = {
        {"idees.MD", {"Projets/Idées", "Archives/idees"}, {"Archives/idees", "Projets/Idées"}},
        {"PROJETS/idées", {"Projets/Idées", "Idées", "Autre/Projets/Idées"}, {"Projets/Idées"}},
        {"Idées", {"b/Idées", "a/IDEES", "Idées plus"}, {"a/IDEES", "b/Idées"}},
        {"note.md.md", {"note.md", "note"}, {"note.md"}},
        {"x", {"y", "x/y"}, {}},
        // Code-point order: U+FF21 sorts before U+1D400 (its UTF-16 units do not).
        {"a", {QString::fromUtf8("\xF0\x9D\x90\x80/a"), QStringLiteral("Ａ/a")},
         {QStringLiteral("Ａ/a"), QString::fromUtf8("\xF0\x9D\x90\x80/a")}},
    };
    for (const auto& [target, paths, expected] : cases)
        EXPECT_EQ(NoteLinks::matches(target, paths), expected) << target.toStdString();
}
