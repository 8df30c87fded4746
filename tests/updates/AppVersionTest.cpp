#include "updates/AppVersion.h"

#include <gtest/gtest.h>

using namespace quillor;

namespace {

AppVersion version(const char* text)
{
    const auto parsed = AppVersion::parse(QString::fromUtf8(text));
    EXPECT_TRUE(parsed.has_value()) << text;
    return parsed.value_or(AppVersion{});
}

} // namespace

TEST(AppVersionTest, Grammar)
{
    struct Case {
        const char* text;
        std::optional<AppVersion> expected;
    };
    const Case cases[] = {
        {"1.2.3", AppVersion{1, 2, 3, {}}},
        {"01.002.0", AppVersion{1, 2, 0, {}}},
        {"9223372036854775807.0.0", AppVersion{9223372036854775807LL, 0, 0, {}}},
        {"1.2.3+build.7", AppVersion{1, 2, 3, {}}},
        {"1.2.3+build+more", AppVersion{1, 2, 3, {}}},
        {"1.2.3-rc-1", AppVersion{1, 2, 3, {"rc-1"}}},
        {"1.2.3-beta.11+exp.sha.5114f85", AppVersion{1, 2, 3, {"beta", "11"}}},
        {"1.2.3--1.0", AppVersion{1, 2, 3, {"-1", "0"}}},
        {"1.2.3-x+1-2", AppVersion{1, 2, 3, {"x"}}},
        {"1.2", std::nullopt},
        {"1.2.3.4", std::nullopt},
        {"1..3", std::nullopt},
        {"1.2.x", std::nullopt},
        {"v1.2.3", std::nullopt},
        {"", std::nullopt},
        {"+1.2.3", std::nullopt},
        {"1.2.3-", std::nullopt},
        {"1.2.3-beta..1", std::nullopt},
        {"1.2.3-beta.", std::nullopt},
        {"1.2.3-bêta", std::nullopt},
        {"1.2.3-be_ta", std::nullopt},
        {" 1.2.3", std::nullopt},
        {"1.2.3 ", std::nullopt},
        {"+1.2.3.4", std::nullopt},
        {"1.+2.3", std::nullopt},
        {"1.-2.3", std::nullopt},
        {"9223372036854775808.0.0", std::nullopt},
        {"1.2.٣", std::nullopt},   // an Arabic-Indic digit is not a decimal digit here
    };
    for (const Case& c : cases)
        EXPECT_EQ(AppVersion::parse(QString::fromUtf8(c.text)), c.expected) << c.text;
}

TEST(AppVersionTest, OrderChainHoldsPairwiseAndNeverReversed)
{
    const char* chain[] = {"1.0.0-alpha", "1.0.0-alpha.1", "1.0.0-alpha.beta", "1.0.0-beta", "1.0.0-beta.2",
                           "1.0.0-beta.11", "1.0.0-rc.1", "1.0.0", "1.0.1", "1.1.0", "2.0.0", "10.0.0"};
    const int count = int(std::size(chain));
    for (int i = 0; i < count; ++i) {
        EXPECT_FALSE(version(chain[i]) < version(chain[i])) << chain[i];
        for (int j = i + 1; j < count; ++j) {
            EXPECT_TRUE(version(chain[i]) < version(chain[j])) << chain[i] << " < " << chain[j];
            EXPECT_FALSE(version(chain[j]) < version(chain[i])) << chain[j] << " < " << chain[i];
        }
    }
}

TEST(AppVersionTest, IdentifierComparison)
{
    struct Case {
        const char* left;
        const char* right;
        bool below;
    };
    const Case cases[] = {
        {"1.0.0-2", "1.0.0-10", true},             // numbers, not text
        {"1.0.0--1", "1.0.0-0", true},             // a leading "-" makes a negative number
        {"1.0.0-99", "1.0.0-a", true},             // numeric below non-numeric
        {"1.0.0-a", "1.0.0-99", false},
        {"1.0.0-B", "1.0.0-a", true},              // code points: upper case first
        {"1.0.0-a-", "1.0.0-a0", true},            // "-" (0x2D) below "0" (0x30)
        // Beyond 64 bits an identifier is text, and text "9…" is below "a".
        {"1.0.0-99999999999999999999", "1.0.0-a", true},
        {"1.0.0-99999999999999999999", "1.0.0-1", false},
        // Numerically equal but different text: the walk stops there, undecided,
        // even though a later pair differs.
        {"1.0.0-01.a", "1.0.0-1.b", false},
        {"1.0.0-1.b", "1.0.0-01.a", false},
        {"1.0.0-0.x", "1.0.0--0.y", false},
        {"1.0.0-a.b", "1.0.0-a.b.c", true},        // a prefix is below
        {"1.0.0-a.b.c", "1.0.0-a.b", false},
        {"1.0.0-rc.1+build.9", "1.0.0-rc.1", false}, // build metadata never counts
    };
    for (const Case& c : cases)
        EXPECT_EQ(version(c.left) < version(c.right), c.below) << c.left << " < " << c.right;
}
