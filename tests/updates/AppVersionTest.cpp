#include "updates/AppVersion.h"

#include <gtest/gtest.h>

using namespace quillor;

namespace {

AppVersion version(const QByteArray& text)
{
    const auto parsed = AppVersion::parse(QString::fromUtf8(text));
    EXPECT_TRUE(parsed.has_value()) << text.toStdString();
    return parsed.value_or(AppVersion{});
}

} // namespace

TEST(AppVersionTest, Grammar)
{
    const std::pair<const char*, AppVersion> valid[] = {
        {"01.002.0", {1, 2, 0, {}}}, {"9223372036854775807.0.0", {9223372036854775807LL, 0, 0, {}}},
        {"1.2.3+build+more", {1, 2, 3, {}}}, {"1.2.3-beta.11+exp.sha.5114f85", {1, 2, 3, {"beta", "11"}}},
        {"1.2.3--1.0", {1, 2, 3, {"-1", "0"}}}, {"1.2.3-x+1-2", {1, 2, 3, {"x"}}},
    };
    for (const auto& [text, expected] : valid)
        EXPECT_EQ(AppVersion::parse(QString::fromUtf8(text)), expected) << text;
    // The last has an Arabic-Indic digit, which is not a decimal digit here.
    for (const char* text : {"1.2", "1.2.3.4", "1..3", "v1.2.3", "", "+1.2.3", "1.2.3-", "1.2.3-beta..1",
                             "1.2.3-bêta", " 1.2.3", "1.-2.3", "9223372036854775808.0.0", "1.2.٣"})
        EXPECT_EQ(AppVersion::parse(QString::fromUtf8(text)), std::nullopt) << text;
}

TEST(AppVersionTest, Order)
{
    // Every pair of the chain, both ways: numbers not text ("beta.2" < "beta.11"),
    // numeric identifiers below others, a prefix below a longer list.
    const QByteArray chain[] = {"1.0.0-alpha", "1.0.0-alpha.1", "1.0.0-alpha.beta", "1.0.0-beta", "1.0.0-beta.2",
                                "1.0.0-beta.11", "1.0.0-rc.1", "1.0.0", "1.0.1", "1.1.0", "2.0.0", "10.0.0"};
    for (size_t i = 0; i < std::size(chain); ++i)
        for (size_t j = 0; j < std::size(chain); ++j)
            EXPECT_EQ(version(chain[i]) < version(chain[j]), i < j) << chain[i].data() << " < " << chain[j].data();

    // Pre-release identifiers of 1.0.0, and whether the left is below: code
    // points ("B" < "a"); beyond 64 bits an identifier is text; numerically
    // equal texts stop the walk, undecided; build metadata never counts.
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"-1", "0", true}, {"B", "a", true}, {"99999999999999999999", "a", true},
        {"99999999999999999999", "1", false}, {"01.a", "1.b", false}, {"1.b", "01.a", false},
        {"rc.1+build.9", "rc.1", false},
    };
    for (const auto& [left, right, below] : cases)
        EXPECT_EQ(version(QByteArray("1.0.0-") + left) < version(QByteArray("1.0.0-") + right), below)
            << left << " < " << right;
}
