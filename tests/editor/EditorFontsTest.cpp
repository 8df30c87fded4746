#include "editor/EditorFonts.h"

#include <QFont>

#include <gtest/gtest.h>

using namespace quillor;

// List markers are measured straight from the text's characters, which the
// next keystroke changes or frees: what is remembered is a copy (a key left
// on the freed characters is read when looked up, which the sanitizer build
// reports).
TEST(EditorFontsTest, AMeasureRemembersACopyOfWhatItWasGiven)
{
    const EditorFonts fonts(QFont(QStringLiteral("Sans"), 13));
    QString text = QStringLiteral("WW.");
    text.detach();
    const qreal wide = fonts.measure(QString::fromRawData(text.constData(), text.size()));
    text[0] = u'i';
    text[1] = u'i';
    EXPECT_LT(fonts.measure(QStringLiteral("ii.")), wide);
    text = QString();
    EXPECT_EQ(fonts.measure(QStringLiteral("WW.")), wide);
}
