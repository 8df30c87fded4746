#include "model/DataDirectory.h"

#include "../core/TestSupport.h"

using namespace quillor;

namespace {

// Sets (or with nullopt unsets) an environment variable until destroyed.
struct ScopedEnvironment {
    ScopedEnvironment(const char* name, const std::optional<QByteArray>& value)
        : name(name), previous(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt)
    {
        apply(value);
    }
    ~ScopedEnvironment() { apply(previous); }
    void apply(const std::optional<QByteArray>& value) { value ? qputenv(name, *value) : qunsetenv(name); }
    const char* name;
    std::optional<QByteArray> previous;
};

} // namespace

TEST(DataDirectoryTest, FirstMatchWins)
{
    const auto inputs = [](std::optional<QString> environment, bool sandboxQA, QString testDirectory) {
        return DataDirectory::Inputs{environment,           sandboxQA,     testDirectory, QStringLiteral("/work/cwd"),
                                     QStringLiteral("/tmp"), QStringLiteral("/home/u/.local/share")};
    };
    const struct {
        const char* name;
        DataDirectory::Inputs inputs;
        QString expected;
    } cases[] = {
        {"absolute variable", inputs(QStringLiteral("/tmp/q"), true, QStringLiteral("/fixed")), "/tmp/q"},
        {"empty variable", inputs(QString(), true, QStringLiteral("/fixed")), "/work/cwd"},
        {"relative variable", inputs(QStringLiteral("rel/dir"), false, QString()), "/work/cwd/rel/dir"},
        {"variable kept as written", inputs(QStringLiteral("/a/../b/"), false, QString()), "/a/../b/"},
        {"sandbox testing", inputs(std::nullopt, true, QStringLiteral("/fixed")), "/tmp/QuillorSandboxQA"},
        {"compiled-in folder", inputs(std::nullopt, false, QStringLiteral("/fixed")), "/fixed"},
        {"compiled-in relative folder", inputs(std::nullopt, false, QStringLiteral("data")), "/work/cwd/data"},
        {"user data folder", inputs(std::nullopt, false, QString()), "/home/u/.local/share/Quillor"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DataDirectory::choose(c.inputs), c.expected);
    }
}

TEST(DataDirectoryTest, ReadsTheProcessInputs)
{
    QTemporaryDir dataHome;
    ASSERT_TRUE(dataHome.isValid());
    const ScopedEnvironment xdg("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    {
        const ScopedEnvironment unset("QUILLOR_DATA_DIR", std::nullopt);
        const DataDirectory::Inputs inputs = DataDirectory::currentInputs();
        EXPECT_EQ(inputs.environmentValue, std::nullopt);
        EXPECT_EQ(inputs.userDataFolder, dataHome.path());   // the generic location, not one named after the app
    }
    {
        const ScopedEnvironment empty("QUILLOR_DATA_DIR", QByteArray(""));
        EXPECT_EQ(DataDirectory::currentInputs().environmentValue, QString());
        EXPECT_EQ(DataDirectory::choose(DataDirectory::currentInputs()), QDir::currentPath());
    }
}

TEST(DataDirectoryTest, SupportIsComputedOnce)
{
    const QString first = DataDirectory::support();
    const ScopedEnvironment changed("QUILLOR_DATA_DIR", QByteArray("/somewhere/else/entirely"));
    EXPECT_EQ(DataDirectory::support(), first);
    EXPECT_FALSE(first.isEmpty());
}
