#include "../updates/UpdatesTestSupport.h"

#include "core/L10n.h"
#include "panel/BusySpinner.h"
#include "settings/UpdateSettingsView.h"
#include "updates/AppUpdates.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace quillor::test {
namespace {

TEST(UpdateSettingsViewTest, ACheckDisablesTheButtonsThenShowsWhatItFoundAndWhen)
{
    LocalHttpsServer server;
    ASSERT_TRUE(server.isListening());
    server.respond({200, catalogJson("0.1.0", {"0.1.0"})});
    QTemporaryDir directory;
    AppUpdatesEnvironment environment;
    environment.now = [] { return ReferenceDate::fromDateTime(QDateTime(QDate(2026, 3, 4), QTime(9, 5))); };
    AppUpdates updates(directory.path(), QStringLiteral("0.1.0"), false,
                       [&server] { return CatalogLoader::loadCatalog(server.request()); }, environment);
    bool automatic = true;
    UpdateSettingsView rows(updates, [&] { return automatic; }, [&](bool value) { automatic = value; });
    rows.show();

    EXPECT_TRUE(rows.status()->isHidden());
    EXPECT_TRUE(rows.lastCheckRow()->isHidden());
    EXPECT_TRUE(rows.spinner()->isHidden());

    rows.checkButton()->click();
    EXPECT_FALSE(rows.checkButton()->isEnabled());
    EXPECT_FALSE(rows.changelogButton()->isEnabled());
    EXPECT_TRUE(rows.spinner()->isVisible());
    EXPECT_TRUE(rows.spinner()->isSpinning());
    ASSERT_TRUE(waitUntil([&] { return !updates.checking(); }, std::chrono::seconds(10)));

    EXPECT_TRUE(rows.checkButton()->isEnabled());
    EXPECT_TRUE(rows.spinner()->isHidden());
    EXPECT_EQ(rows.status()->text(), updates.status().value_or(""));
    EXPECT_TRUE(rows.status()->isVisible());
    EXPECT_TRUE(rows.lastCheckRow()->isVisible());
    const QString shown = rows.lastCheck()->text();
    EXPECT_TRUE(shown.contains("4") && (shown.contains("mars") || shown.contains("Mar"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains("09:05") || shown.contains("9:05")) << shown.toStdString();

    rows.automaticToggle()->click();
    EXPECT_FALSE(automatic);
}

// The date is written in the interface language, not in the system's.
TEST(UpdateSettingsViewTest, TheLastCheckIsWrittenInTheInterfaceLanguage)
{
    const QString before = L10n::currentLanguage();
    const QDateTime moment(QDate(2026, 12, 7), QTime(20, 17));
    const struct {
        const char* language;
        const char* text;
    } cases[] = {
        {"fr", "7 déc. 20:17"}, {"en", "Dec 7 8:17 PM"}, {"es", "7 de dic 20:17"},
        {"de", "7. Dez. 20:17"}, {"zh-Hans", "12月7日 20:17"},
    };
    for (const auto& expected : cases) {
        L10n::configure(QString::fromUtf8(expected.language));
        EXPECT_EQ(UpdateSettingsView::lastCheckText(moment), QString::fromUtf8(expected.text)) << expected.language;
    }
    L10n::configure(before);
}

} // namespace
} // namespace quillor::test
