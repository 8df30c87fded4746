#include "core/Utf8Validation.h"

#include <QByteArray>
#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace quillor;

namespace {

void expectAsQt(const QByteArray& bytes)
{
    ASSERT_EQ(Utf8Validation::isValid(bytes), QByteArrayView(bytes).isValidUtf8()) << bytes.toHex(' ').toStdString();
}

} // namespace

TEST(Utf8ValidationTest, answersAsQtForEveryPairAtEveryPlaceOfABlock)
{
    for (int first = 0; first < 256; ++first) {
        for (int second = 0; second < 256; ++second) {
            const char pair[] = {char(first), char(second)};
            for (const qsizetype before : {0, 1, 13, 14, 15, 16, 30})
                expectAsQt(QByteArray(before, 'x') + QByteArray(pair, 2));
        }
    }
}

TEST(Utf8ValidationTest, answersAsQtForLongFormsAcrossBlocks)
{
    // Leads of three and four bytes with every continuation that decides a
    // fault, whole or cut short, straddling the end of a block or not.
    for (int lead = 0xE0; lead < 0x100; ++lead) {
        for (int second = 0x70; second < 0xD0; ++second) {
            for (int third = 0x78; third < 0xC8; third += 8) {
                const char form[] = {char(lead), char(second), char(third), char(0x80 | (third & 0x3F))};
                for (const qsizetype length : {2, 3, 4})
                    for (const qsizetype before : {0, 13, 14})
                        expectAsQt(QByteArray(before, 'x') + QByteArray(form, length) + "y");
            }
        }
    }
}

TEST(Utf8ValidationTest, answersAsQtOnRandomTexts)
{
    const char* const pieces[] = {"a",  "é", "ü", "’", "€", "😀", "\xF4\x8F\xBF\xBF", "\xEF\xBF\xBF", "\xED\x9F\xBF",
                                  "\xC2\x80", "\xE0\xA0\x80", "\xF0\x90\x80\x80"};
    constexpr int pieceCount = int(std::size(pieces));
    QRandomGenerator random(14);
    for (int round = 0; round < 100000; ++round) {
        QByteArray bytes;
        const int length = random.bounded(80);
        while (bytes.size() < length) {
            const int kind = random.bounded(100);
            const QByteArray piece = pieces[random.bounded(pieceCount)];
            if (kind < 80)
                bytes += piece;
            else if (kind < 90)
                bytes += char(random.bounded(256));
            else
                bytes += piece.left(random.bounded(1, int(piece.size()) + 1));   // maybe cut short
        }
        expectAsQt(bytes);
    }
}
