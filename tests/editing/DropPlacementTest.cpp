#include "EditingTestSupport.h"

#include "editing/DropPlacement.h"

using namespace quillor;

namespace {

// "|" marks where the drop falls, then where it goes in.
TEST(DropPlacementTest, ADropNeverSplitsAnEmbedALinkOrCodeSyntax)
{
    struct Case {
        const char* dropped;
        const char* placed;
        bool images;
    };
    const Case cases[] = {
        {"a ![[Attachments/0FA1|.png]] b", "a ![[Attachments/0FA1.png]]| b", true},
        {"a !|[[x.png]]", "a ![[x.png]]|", true},
        {"a |![[x.png]]", "a |![[x.png]]", true},
        {"a ![[x.png]]|", "a ![[x.png]]|", true},
        {"voir [[No|te]] ensuite", "voir [[Note]]| ensuite", false},
        {"voir [|[Note]]", "voir [[Note]]|", true},
        {"lien [te|xte](https://x.org)", "lien [te|xte](https://x.org)", true},
        // Code: an image leaves the whole span or block, text only its syntax.
        {"un `co|de` ici", "un `code`| ici", true},
        {"un `co|de` ici", "un `co|de` ici", false},
        {"un `|`code`` ici", "un ``|code`` ici", false},
        {"un ``code`|` ici", "un ``code``| ici", false},
        {"```py|thon\nx\n```\nfin", "```python\n|x\n```\nfin", false},
        {"```python\nx|\n```\nfin", "```python\nx|\n```\nfin", false},
        {"```python\nx|\n```\nfin", "```python\nx\n```\n|fin", true},
        {"```\nouvert|", "```\nouvert|", true},
        // A wiki link in code is code.
        {"`a [[N|ote]] b`", "`a [[Note]] b`|", true},
        {"`a [[N|ote]] b`", "`a [[N|ote]] b`", false},
    };
    for (const Case& c : cases) {
        QString text = QString::fromUtf8(c.dropped);
        const qsizetype dropped = text.indexOf(u'|');
        text.remove(dropped, 1);
        const qsizetype placed = QString::fromUtf8(c.placed).indexOf(u'|');
        EXPECT_EQ(DropPlacement::insertionIndex(text, dropped, c.images), placed) << c.dropped << (c.images ? " image" : " text");
    }
}

// A drop never goes before the route prefix that opens the text nor into its
// word: "|" marks where it falls, then where it goes in.
TEST(DropPlacementTest, ADropLeavesTheRoutePrefixFirst)
{
    struct Case {
        const char* dropped;
        const char* placed;
        bool spaced;
    };
    const Case cases[] = {
        {"|@aide un", "@aide |un", false},
        {"@ai|de un", "@aide |un", false},
        {"@aide| un", "@aide |un", false},
        {"@aide |un", "@aide |un", false},
        {"@aide un| deux", "@aide un| deux", false},
        {"@aide\n|un", "@aide\n|un", false},
        {"|@aide\nun", "@aide\n|un", false},
        {"@ai|de", "@aide|", true},
        {"|@aide[[No]] un", "@aide[[No]] |un", false},
        // No prefix, no route: the drop stays where it fell.
        {"|aide un", "|aide un", false},
        {"un |@aide", "un |@aide", false},
    };
    for (const Case& c : cases) {
        QString text = QString::fromUtf8(c.dropped);
        const qsizetype dropped = text.indexOf(u'|');
        text.remove(dropped, 1);
        const qsizetype placed = QString::fromUtf8(c.placed).indexOf(u'|');
        EXPECT_EQ(DropPlacement::insertion(text, dropped, true, QStringLiteral("@")),
                  (DropPlacement::Insertion{placed, c.spaced}))
            << c.dropped;
    }
}

} // namespace
