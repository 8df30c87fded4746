#include "settings/WrappingLabel.h"

#include <gtest/gtest.h>

#include <functional>

namespace quillor::test {
namespace {

// After each change that moves the text, the remembered heights give way: the
// label answers what a plain wrapped label with the same settings answers.
TEST(WrappingLabelTest, AChangeOfWhatShapesTheTextIsNotAnsweredFromMemory)
{
    const QString text = QStringLiteral("Flèches pour choisir, Entrée, Tab ou un clic pour valider, Échap pour fermer.");
    const struct {
        const char* change;
        std::function<void(QLabel&)> apply;
    } cases[] = {
        {"longer text", [&](QLabel& label) { label.setText(text + u' ' + text); }},
        {"larger font",
         [](QLabel& label) {
             QFont font = label.font();
             font.setPointSizeF(font.pointSizeF() * 2);
             label.setFont(font);
         }},
        {"contents margins", [](QLabel& label) { label.setContentsMargins(0, 10, 0, 30); }},
        {"margin", [](QLabel& label) { label.setMargin(20); }},
        {"indent", [](QLabel& label) { label.setIndent(80); }},
        {"no wrapping", [](QLabel& label) { label.setWordWrap(false); }},
    };
    constexpr int width = 160;
    for (const auto& each : cases) {
        WrappingLabel remembering(text);
        QLabel plain(text);
        plain.setWordWrap(true);
        const int before = remembering.heightForWidth(width);
        ASSERT_EQ(before, plain.heightForWidth(width)) << each.change;
        each.apply(remembering);
        each.apply(plain);
        const int after = plain.heightForWidth(width);
        EXPECT_NE(after, before) << each.change << ": the case changes nothing";
        EXPECT_EQ(remembering.heightForWidth(width), after) << each.change;
    }
}

} // namespace
} // namespace quillor::test
