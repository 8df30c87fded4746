// Linked into every test program: the tests compare French texts, so the
// machine's own languages must not decide which table is in use.
#include "core/L10n.h"

#include <gtest/gtest.h>

namespace {

class FrenchTestEnvironment : public ::testing::Environment {
public:
    void SetUp() override { quillor::L10n::configure(QStringLiteral("fr")); }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new FrenchTestEnvironment);

} // namespace
