#include "model/SpareText.h"

#include <QList>

#include <gtest/gtest.h>

#include <random>

using namespace quillor;

namespace {

// Random edits to a text whose copies readers take and let go at random, as
// the model and the editor's passes do between keystrokes: the text is always
// what plain replacements make of it, and no reader's copy ever changes.
TEST(SpareTextTest, EditsGiveWhatReplacementsGiveAndNeverReachAReadersCopy)
{
    std::mt19937 random(20261207);
    SpareText spare;
    QString text = QStringLiteral("Une capture de départ\navec deux lignes.");
    text.detach();
    QString expected = text;
    QList<std::pair<QString, QString>> readers;   // a copy, and its value when taken
    for (int step = 0; step < 3000; ++step) {
        if (random() % 3 != 0) {
            const QString copy = text;
            readers.append({copy, QString(copy.constData(), copy.size())});
        }
        while (!readers.isEmpty() && random() % 2 == 0)
            readers.removeAt(qsizetype(random() % readers.size()));
        if (step % 500 == 499)
            readers.clear();

        const qsizetype position = qsizetype(random() % (text.size() + 1));
        const qsizetype removed = std::min<qsizetype>(qsizetype(random() % 4), text.size() - position);
        const QString added = random() % 4 == 0 ? QString() : QString(QChar(u'a' + char16_t(random() % 26)));
        spare.replace(text, position, removed, added);
        expected.replace(position, removed, added);
        ASSERT_EQ(text, expected) << "step " << step;
        for (const auto& [copy, value] : readers)
            ASSERT_EQ(copy, value) << "step " << step;
        if (step % 97 == 0)
            spare.forget();
    }
}

// A keystroke while the model holds the text copies it once; after the model
// has moved on to the new text, the next keystroke writes into the old
// characters, brought up to date, rather than copying again.
TEST(SpareTextTest, TheTextBeforeTheLastEditIsReusedOnceNobodyHoldsIt)
{
    SpareText spare;
    QString text = QStringLiteral("abc");
    text.reserve(64);   // room to grow in place
    QString model = text;
    const QChar* first = text.constData();
    spare.replace(text, 3, 0, u"x");
    EXPECT_NE(text.constData(), first);
    EXPECT_EQ(model, QStringLiteral("abc"));

    model = text;
    spare.replace(text, 4, 0, u"y");
    EXPECT_EQ(text.constData(), first);
    EXPECT_EQ(text, QStringLiteral("abcxy"));
    EXPECT_EQ(model, QStringLiteral("abcx"));

    model = QString();
    spare.replace(text, 0, 1, u"");
    EXPECT_EQ(text, QStringLiteral("bcxy"));
}

} // namespace
