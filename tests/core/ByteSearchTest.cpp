#include "core/ByteSearch.h"

#include <QByteArray>
#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace quillor;

TEST(ByteSearchTest, answersAsQByteArrayContains)
{
    const QByteArray marker = "<!-- quillor:1A2B3C4D-0000-4000-8000-000000000001 -->";
    struct Case {
        QByteArray bytes;
        QByteArray needle;
    };
    const Case cases[] = {
        {"", ""},
        {"", "<"},
        {"abc", ""},
        {marker, marker},
        {marker.chopped(1), marker},
        {"x" + marker, marker},
        {marker + "x", marker},
        {"<<<!-- quillor:" + marker, marker},
        {"<!-- quillor:1A2B3C4D-0000-4000-8000-000000000001 --", marker},
        {QByteArray("a\0<b\0", 5), QByteArray("<b\0", 3)},
        {"ab", "abc"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ByteSearch::contains(c.bytes, c.needle), c.bytes.contains(c.needle)) << c.bytes.toStdString();

    // Random texts of few letters, so that partial matches abound, against
    // needles taken from them and made up.
    QRandomGenerator random(14);
    const char letters[] = "<!-a";
    for (int round = 0; round < 2000; ++round) {
        QByteArray bytes;
        for (int i = random.bounded(40); i > 0; --i)
            bytes += letters[random.bounded(4)];
        QByteArray needle;
        if (!bytes.isEmpty() && random.bounded(2)) {
            const int from = random.bounded(int(bytes.size()));
            needle = bytes.mid(from, random.bounded(1, 6));
        } else {
            for (int i = random.bounded(1, 5); i > 0; --i)
                needle += letters[random.bounded(4)];
        }
        ASSERT_EQ(ByteSearch::contains(bytes, needle), bytes.contains(needle))
            << bytes.toStdString() << " / " << needle.toStdString();
    }
}
