#include "vault/StrictUtf8.h"

#include <gtest/gtest.h>

#include <QList>

#include <random>

using namespace quillor;

namespace {

std::string hex(const QByteArray& bytes) { return bytes.toHex(' ').toStdString(); }

} // namespace

// Against Qt's own validity test and decoder, on random byte strings built from
// well-formed sequences, the malformed ones at each boundary, byte order marks
// and ASCII stretches long enough for the sixteen-byte copy, with the same
// output string reused throughout as the index does.
TEST(StrictUtf8Test, AgreesWithQt)
{
    const QList<QByteArray> pieces = {
        "a", "#", " ", "\n", QByteArray(1, '\0'), "0123456789abcdef", "0123456789abcdefghijklmnopqrstu",
        "\xC3\xA9", "\xC2\x80", "\xDF\xBF", "\xE0\xA0\x80", "\xE2\x80\xA8", "\xED\x9F\xBF", "\xEE\x80\x80",
        "\xEF\xBF\xBF", "\xF0\x90\x80\x80", "\xF0\x9D\x90\x80", "\xF4\x8F\xBF\xBF", "\xEF\xBB\xBF",
        // Overlong, surrogate, beyond U+10FFFF, stray and truncated.
        "\xC0\x80", "\xC1\xBF", "\xE0\x9F\xBF", "\xED\xA0\x80", "\xED\xBF\xBF", "\xF0\x8F\xBF\xBF",
        "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xFF", "\x80", "\xBF", "\xC3", "\xE2\x82", "\xF0\x9F\x98"};
    std::mt19937 random(42);
    std::uniform_int_distribution<int> length(0, 12);
    std::uniform_int_distribution<qsizetype> piece(0, pieces.size() - 1);
    std::bernoulli_distribution mostlyValid(0.7);
    QString text;
    int valid = 0;
    for (int i = 0; i < 20000; ++i) {
        QByteArray bytes;
        const bool wellFormed = mostlyValid(random);
        for (int k = length(random); k > 0; --k) {
            const QByteArray& next = pieces[piece(random)];
            if (wellFormed && !QByteArrayView(next).isValidUtf8())
                continue;
            bytes += next;
        }
        const bool expected = QByteArrayView(bytes).isValidUtf8();
        ASSERT_EQ(StrictUtf8::decode(bytes, text), expected) << hex(bytes);
        if (expected) {
            ASSERT_EQ(text, QString::fromUtf8(bytes)) << hex(bytes);
            ++valid;
        }
    }
    EXPECT_GT(valid, 10000);
}

// The text of an earlier note never survives into the next.
TEST(StrictUtf8Test, Examples)
{
    QString text = QStringLiteral("left over from an earlier note");
    EXPECT_TRUE(StrictUtf8::decode("", text));
    EXPECT_EQ(text, QString());
    EXPECT_TRUE(StrictUtf8::decode("\xEF\xBB\xBF\xEF\xBB\xBF", text));   // only the first mark goes
    EXPECT_EQ(text, QString(QChar(0xFEFF)));
}
