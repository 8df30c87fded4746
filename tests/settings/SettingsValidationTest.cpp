#include "../model/AppModelTestSupport.h"

#include "settings/SettingsValidation.h"

#include <QFile>

namespace quillor::test {
namespace {

QString prefixMessage() { return QStringLiteral("Choisis un seul caractère de ponctuation comme préfixe."); }

Preferences validPreferences(const QString& vault)
{
    return preferencesWith({makeDestination(QStringLiteral("Carnet"), QString(), vault)});
}

TEST(SettingsValidation, PrefixMustBeOnePunctuationCharacter)
{
    DataFolder data;
    Preferences preferences = validPreferences(data.folder(QStringLiteral("Vault")));
    const struct {
        QString prefix;
        bool accepted;
    } cases[] = {
        {QStringLiteral("@"), true},        {QStringLiteral("§"), true},
        {QStringLiteral("😀"), true},       // a surrogate pair is one character
        {QStringLiteral("a"), false},       {QStringLiteral("1"), false},
        {QStringLiteral(" "), false},       {QString(), false},
        {QStringLiteral("@@"), false},      {QStringLiteral("e\u0301"), false}, // one grapheme, but a letter
    };
    for (const auto& c : cases) {
        preferences.routePrefix = c.prefix;
        const QList<SettingsBlocker> blockers = SettingsValidation::blockers(preferences, {}, false);
        const SettingsBlocker expected{std::nullopt, QStringLiteral("prefix"), prefixMessage()};
        EXPECT_EQ(blockers.contains(expected), !c.accepted) << c.prefix.toStdString();
    }
}

TEST(SettingsValidation, BlockersComeInOrderWithTheirTargets)
{
    DataFolder data;
    Preferences preferences = validPreferences(data.folder(QStringLiteral("Vault")));
    const QUuid id = preferences.destinations.constFirst().id;
    preferences.routePrefix = QStringLiteral("a");

    const QList<SettingsBlocker> blockers = SettingsValidation::blockers(preferences, {id}, false);
    ASSERT_EQ(blockers.size(), 2);
    const QString upper = id.toString(QUuid::WithoutBraces).toUpper();
    // A confirmation blocker stands even though the path is valid.
    EXPECT_EQ(blockers[0].field, QStringLiteral("path"));
    EXPECT_EQ(blockers[0].target(), QStringLiteral("destination-") + upper + QStringLiteral("-path"));
    EXPECT_EQ(blockers[0].focusValue(), upper + QStringLiteral("-path"));
    EXPECT_EQ(blockers[1].target(), QStringLiteral("prefix"));
    EXPECT_EQ(blockers[1].focusValue(), QStringLiteral("prefix"));
    EXPECT_EQ(blockers[1].id(), QStringLiteral("settings:prefix:") + prefixMessage());

    preferences.destinations.clear();
    preferences.routePrefix = QStringLiteral("@");
    const QList<SettingsBlocker> none = SettingsValidation::blockers(preferences, {}, false);
    ASSERT_EQ(none.size(), 1);
    EXPECT_EQ(none[0].target(), QStringLiteral("destinations"));
}

TEST(SettingsValidation, RelativeFolderComparesResolvedPaths)
{
    DataFolder data;
    const QString vault = data.folder(QStringLiteral("Notes"));
    const QString images = data.folder(QStringLiteral("Notes/Images"));
    const QString sibling = data.folder(QStringLiteral("Notes2"));
    const QString link = data.folder(QStringLiteral("Links")) + QStringLiteral("/into");
    ASSERT_TRUE(QFile::link(images, link));

    const struct {
        QString folder;
        QString vault;
        std::optional<QString> expected;
    } cases[] = {
        {vault, vault, QString()},
        {images, vault, QStringLiteral("Images")},
        {vault + QStringLiteral("/./Images/../Images"), vault, QStringLiteral("Images")},
        {sibling, vault, std::nullopt},
        {link, vault, QStringLiteral("Images")},
        {vault + QStringLiteral("/Missing/Deeper"), vault, QStringLiteral("Missing/Deeper")},
        {data.path() + QStringLiteral("/Elsewhere"), data.path() + QStringLiteral("/Gone"), std::nullopt},
        {images, QString(), std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SettingsValidation::relativeFolder(c.folder, c.vault), c.expected) << c.folder.toStdString();
}

TEST(SettingsValidation, FullPathIsWithinTheNotesFolder)
{
    Destination destination = makeDestination(QStringLiteral("Carnet"), QString(), QStringLiteral("/Vault"));
    EXPECT_EQ(SettingsValidation::fullPath(QStringLiteral("Inbox/Note.md"), destination),
              QStringLiteral("/Vault/Inbox/Note.md"));
    destination.vaultPath.clear();
    EXPECT_EQ(SettingsValidation::fullPath(QStringLiteral("Inbox/Note.md"), destination), QStringLiteral("Inbox/Note.md"));
}

} // namespace
} // namespace quillor::test
