#include "model/DataDirectory.h"

#include "../core/TestSupport.h"

using namespace quillor;

TEST(DataDirectoryTest, FirstMatchWins)
{
    const auto inputs = [](std::optional<QString> environment, bool sandboxQA, QString testDirectory) {
        return DataDirectory::Inputs{environment,           sandboxQA,     testDirectory, QStringLiteral("/work/cwd"),
                                     QStringLiteral("/tmp"), QStringLiteral("/home/u/.local/share")};
    };
    const struct { const char* name; DataDirectory::Inputs inputs; QString expected; } cases[] = {
        {"absolute variable", inputs(QStringLiteral("/tmp/q"), true, QStringLiteral("/fixed")), "/tmp/q"},
        {"empty variable", inputs(QString(), true, QStringLiteral("/fixed")), "/work/cwd"},
        {"relative variable", inputs(QStringLiteral("rel/dir"), false, QString()), "/work/cwd/rel/dir"},
        {"user data folder", inputs(std::nullopt, false, QString()), "/home/u/.local/share/Quillor"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DataDirectory::choose(c.inputs), c.expected);
    }
}
