#include "platform/LoginItem.h"

#include "core/Error.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace quillor {
namespace {

// The entry goes to a configuration folder of the test's own.
class LoginItemTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_previous = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
    }
    void TearDown() override { qputenv("XDG_CONFIG_HOME", m_previous); }

    QString entry() const { return m_config.path() + QStringLiteral("/autostart/quillor.desktop"); }
    QByteArray contents() const
    {
        QFile file(entry());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void write(const QByteArray& bytes) const
    {
        QDir().mkpath(m_config.path() + QStringLiteral("/autostart"));
        QFile file(entry());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir m_config;
    QByteArray m_previous;
};

TEST_F(LoginItemTest, RegisteringWritesAnEntryThatUnregisteringRemoves)
{
    EXPECT_EQ(LoginItem::path(), entry());
    EXPECT_FALSE(LoginItem::isEnabled());
    LoginItem::registerItem(QStringLiteral("/opt/Quillor/quillor"));
    EXPECT_TRUE(LoginItem::isEnabled());
    EXPECT_TRUE(contents().contains("\nExec=\"/opt/Quillor/quillor\"\n")) << contents().toStdString();
    LoginItem::unregisterItem();
    EXPECT_FALSE(QFile::exists(entry()));
    EXPECT_FALSE(LoginItem::isEnabled());
    // Nothing to remove counts as removed.
    EXPECT_NO_THROW(LoginItem::unregisterItem());
}

TEST_F(LoginItemTest, AnEntrySwitchedOffIsNotEnabled)
{
    const struct {
        QByteArray text;
        bool enabled;
    } cases[] = {
        {"[Desktop Entry]\nType=Application\nExec=quillor\n", true},
        {"[Desktop Entry]\nExec=quillor\nHidden=true\n", false},
        {"[Desktop Entry]\nExec=quillor\nX-GNOME-Autostart-enabled=false\n", false},
        {"[Desktop Entry]\nExec=quillor\n[Other]\nHidden=true\n", true},
        {"not a desktop entry\n", false},
    };
    for (const auto& c : cases) {
        write(c.text);
        EXPECT_EQ(LoginItem::isEnabled(), c.enabled) << c.text.toStdString();
    }
}

TEST_F(LoginItemTest, AFailureIsReportedInFrench)
{
    // A file where the folder should be.
    QFile blocker(m_config.path() + QStringLiteral("/autostart"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    try {
        LoginItem::registerItem(QStringLiteral("/usr/bin/quillor"));
        FAIL() << "registration should fail";
    } catch (const Error& error) {
        EXPECT_TRUE(error.localizedDescription().startsWith(
            QStringLiteral("L’ouverture à la connexion n’a pas pu être activée : ")));
    }
    EXPECT_FALSE(LoginItem::isEnabled());
}

TEST(LoginItemExec, QuotesWhatTheDesktopEntryFormatReserves)
{
    const struct {
        QString program;
        QString exec;
    } cases[] = {
        {QStringLiteral("/usr/bin/quillor"), QStringLiteral("\"/usr/bin/quillor\"")},
        {QStringLiteral("/home/a b/Quillor.AppImage"), QStringLiteral("\"/home/a b/Quillor.AppImage\"")},
        {QStringLiteral("/x/\"q\"$`"), QStringLiteral("\"/x/\\\\\"q\\\\\"\\\\$\\\\`\"")},
        {QStringLiteral("/x/back\\slash"), QStringLiteral("\"/x/back\\\\\\\\slash\"")},
        {QStringLiteral("/x/100%"), QStringLiteral("\"/x/100%%\"")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LoginItem::execValue(c.program), c.exec) << c.program.toStdString();
}

} // namespace
} // namespace quillor
