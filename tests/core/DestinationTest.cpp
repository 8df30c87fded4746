#include "core/Destination.h"
#include "core/Json.h"

#include <gtest/gtest.h>

#include <QJsonDocument>

using namespace quillor;

namespace {

Destination destination(const QString& name, const QString& alias, const QString& vaultPath, DeliveryMode mode,
                        const QString& path)
{
    return Destination(QUuid::createUuid(), name, alias, vaultPath, mode, path, QString());
}

} // namespace

TEST(DestinationTest, SlugOfAnyText)
{
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("Boîte de réception"), QStringLiteral("Boite-de-reception")},
        {QStringLiteral("  Notes / 2024  "), QStringLiteral("Notes-2024")},
        {QStringLiteral("---"), QString()},
        {QString(), QString()},
        {QStringLiteral("-a--b-"), QStringLiteral("a--b")},
        {QStringLiteral("a_b"), QStringLiteral("a_b")},
        {QStringLiteral("Été 2024!"), QStringLiteral("Ete-2024")},
        {QStringLiteral("ＮｏｔｅＳ　２０２４"), QStringLiteral("NoteS-2024")},  // full width, ideographic space
        {QStringLiteral("日記 メモ"), QStringLiteral("日記-メモ")},
        {QStringLiteral("Cafe\u0301.md"), QStringLiteral("Cafe-md")},  // decomposed accent
        {QStringLiteral("a\U0001F600b"), QStringLiteral("a-b")},      // emoji separates
        {QStringLiteral("\U0001D400x"), QStringLiteral("\U0001D400x")},  // letter outside the BMP
    };
    for (const auto& [text, slug] : cases)
        EXPECT_EQ(Destination::routingName(text), slug) << text.toStdString();
}

TEST(DestinationTest, DerivedNamesAndFolders)
{
    struct Case {
        Destination destination;
        QString routingName;
        QString folderPath;
        QString displayName;
        QStringList tokens;
    };
    using M = DeliveryMode;
    const Case cases[] = {
        {destination("Journal", "", "/V", M::appendNote, "Journal/Captures.md"), "Journal", "/V/Journal", "Journal",
         {"Journal"}},
        {destination("Notes", "", "/V/", M::appendNote, "Captures.md"), "V", "/V/", "V", {"V"}},
        {destination("Quotidien", "q", "/home/u/Coffre", M::dailyNote, "Daily/"), "Daily", "/home/u/Coffre/Daily",
         "Daily · q", {"Daily", "q"}},
        {destination("Inbox", "inbox", "/V", M::newNote, "Inbox"), "Inbox", "/V/Inbox", "Inbox", {"Inbox", "inbox"}},
        {destination("Inbox", "in", "/V", M::newNote, "Inbox"), "Inbox", "/V/Inbox", "Inbox · in", {"Inbox", "in"}},
        {destination("Racine", "", "/home/u/Mes notes/", M::newNote, ""), "Mes-notes", "/home/u/Mes notes/",
         "Mes-notes", {"Mes-notes"}},
        {destination("Boîte", "", "", M::newNote, ""), "Boite", "", "Boite", {"Boite"}},
        {destination("!!!", "", "", M::newNote, ""), "", "", "!!!", {}},
        {destination("", "x", "", M::newNote, ""), "", "", " · x", {"x"}},
        {destination("N", "", "/V", M::newNote, "a/../b"), "b", "/V/a/../b", "b", {"b"}},
        {destination("N", "", "/V", M::newNote, "!!"), "N", "/V/!!", "N", {"N"}},
    };
    for (const Case& c : cases) {
        const std::string label = (c.destination.name + " | " + c.destination.path).toStdString();
        EXPECT_EQ(c.destination.routingName(), c.routingName) << label;
        EXPECT_EQ(c.destination.folderPath(), c.folderPath) << label;
        EXPECT_EQ(c.destination.displayName(), c.displayName) << label;
        EXPECT_EQ(c.destination.routingTokens(), c.tokens) << label;
    }
}

TEST(DestinationTest, MatchesDestinationByAnyToken)
{
    const Destination journal = destination("Journal", "jr", "/V", DeliveryMode::newNote, "Journal");
    const Destination unnamed = destination("", "", "", DeliveryMode::newNote, "");
    ASSERT_TRUE(unnamed.routingTokens().isEmpty());

    EXPECT_TRUE(unnamed.matchesDestination(QString()));
    EXPECT_FALSE(unnamed.matchesDestination(QStringLiteral("a")));
    EXPECT_TRUE(journal.matchesDestination(QString()));
    EXPECT_TRUE(journal.matchesDestination(QStringLiteral("OUR")));
    EXPECT_TRUE(journal.matchesDestination(QStringLiteral("JR")));
    EXPECT_FALSE(journal.matchesDestination(QStringLiteral("jx")));
}

TEST(DestinationTest, DeliveryModeRawValues)
{
    EXPECT_EQ(DeliveryModes::allCases(),
              (QList<DeliveryMode>{DeliveryMode::newNote, DeliveryMode::appendNote, DeliveryMode::dailyNote}));
    for (const DeliveryMode mode : DeliveryModes::allCases())
        EXPECT_EQ(DeliveryModes::fromRawValue(DeliveryModes::rawValue(mode)), mode);
    EXPECT_EQ(DeliveryModes::rawValue(DeliveryMode::appendNote), QStringLiteral("appendNote"));
    EXPECT_EQ(DeliveryModes::fromRawValue(QStringLiteral("other")), std::nullopt);
    EXPECT_EQ(DeliveryModes::fromRawValue(QStringLiteral("NewNote")), std::nullopt);
}

TEST(DestinationTest, DestinationJsonRoundTripAndOptionalKeys)
{
    Destination plain = destination("Inbox", "in", "/V", DeliveryMode::dailyNote, "Inbox");
    QStringList keys = plain.toJson().keys();
    keys.sort();
    EXPECT_EQ(keys, (QStringList{"alias", "attachmentFolder", "id", "mode", "name", "path", "vaultPath"}));
    EXPECT_EQ(Destination::fromJson(plain.toJson()), plain);

    Destination full = plain;
    full.vaultBookmark = QByteArray();  // present but empty stays present
    full.attachmentPolicy = AttachmentPolicy{AttachmentPolicy::Location::absoluteFolder, QStringLiteral("/tmp/x")};
    full.useObsidianAttachments = true;
    EXPECT_EQ(Destination::fromJson(Json::parseObject(Json::serialize(full.toJson()))), full);
}

TEST(DestinationTest, AttachmentPolicyJsonRequiresBothKnownKeys)
{
    for (const auto location : AttachmentPolicy::allLocations()) {
        const AttachmentPolicy policy{location, QStringLiteral("f")};
        EXPECT_EQ(AttachmentPolicy::fromJson(policy.toJson()), policy);
        EXPECT_EQ(AttachmentPolicy::locationFromRawValue(AttachmentPolicy::rawValue(location)), location);
    }
    EXPECT_EQ(AttachmentPolicy::allLocations().size(), 6);
    EXPECT_EQ(AttachmentPolicy::rawValue(AttachmentPolicy::Location::vaultRoot), QStringLiteral("vaultRoot"));

    const QJsonObject broken[] = {
        {{"location", "obsidian"}},
        {{"folder", ""}},
        {{"location", "desktop"}, {"folder", ""}},
        {{"location", "Obsidian"}, {"folder", ""}},
        {{"location", "obsidian"}, {"folder", QJsonValue::Null}},
        {{"location", 1}, {"folder", ""}},
    };
    for (const QJsonObject& object : broken)
        EXPECT_THROW(AttachmentPolicy::fromJson(object), JsonDecodingError) << QJsonDocument(object).toJson().toStdString();

    const AttachmentPolicy a{AttachmentPolicy::Location::subfolder, QStringLiteral("img")};
    EXPECT_EQ(qHash(a), qHash(AttachmentPolicy{a}));
}
