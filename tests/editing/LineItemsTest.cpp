#include "editing/LineItems.h"

#include <QMap>

#include <gtest/gtest.h>

#include <random>

using namespace quillor;

namespace {

// The items of the whole text whose marker follows the blanks at their line's start.
QMap<qsizetype, ListSyntax::Item> itemsOpeningLines(const QString& text)
{
    QMap<qsizetype, ListSyntax::Item> result;
    for (const ListSyntax::Item& item : ListSyntax::items(text)) {
        qsizetype markerStart = item.line.location;
        while (text[markerStart] == u' ' || text[markerStart] == u'\t')
            ++markerStart;
        if (item.marker.location == markerStart)
            result.insert(item.line.location, item);
    }
    return result;
}

void expectSameItems(const QString& text, const std::string& context)
{
    const QMap<qsizetype, ListSyntax::Item> expected = itemsOpeningLines(text);
    const LineItems items(text);
    for (qsizetype position = 0; position <= text.size(); ++position) {
        const std::optional<ListSyntax::Item>& item = items.opening(position);
        EXPECT_EQ(item.has_value(), expected.contains(position)) << "at " << position << " " << context;
        if (item && expected.contains(position)) {
            EXPECT_EQ(*item, expected[position]) << "at " << position << " " << context;
        }
    }
}

} // namespace

TEST(LineItemsTest, SameItemsAsTheWholeText)
{
    for (const QString text : {"- a\n  - [x] b\n\t3) c\r\n7. d\r* e", "```\n- a\n```\n- b\n~~~\n- c", "`a\n- b` c\n- d",
                               "x\v- a\u2028- b\u0085- c\f- d", "text\n  - [ ]", "-a\n1.b\n1234567890. c\n+\t"})
        expectSameItems(text, text.toStdString());

    static const QStringList tokens = {"- ", "* ", "12. ", "3) ", "- [ ] ", "[x] ", "  ", "\t", "`", "```", "~~~", "a",
                                       "\n", "\n", "\r\n", "\r", "\u2028", "\v", "\U0001F600"};
    std::mt19937 random(7106);
    for (int round = 0; round < 500 && !HasFailure(); ++round) {
        QString text;
        for (int n = int(random() % 30); n > 0; --n)
            text += tokens[random() % tokens.size()];
        expectSameItems(text, "round " + std::to_string(round));
    }
}
