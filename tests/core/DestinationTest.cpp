#include "core/Destination.h"

#include "TestSupport.h"
#include "core/Json.h"

#include <QJsonDocument>

using namespace quillor;

namespace {

Destination destination(const QString& name, const QString& alias, const QString& vault, const QString& path,
                        DeliveryMode mode = DeliveryMode::newNote)
{
    return Destination(QUuid::createUuid(), name, alias, vault, mode, path, {});
}

} // namespace

TEST(DestinationTest, SlugOfAnyText)
{
    const std::pair<QString, QString> cases[] = {
        {"Boîte de réception", "Boite-de-reception"}, {"  Notes / 2024  ", "Notes-2024"}, {"---", ""},
        {"-a--b_c-", "a--b_c"},     {"ＮｏｔｅＳ　２０２４", "NoteS-2024"},  // full width, ideographic space
        {"Cafe\u0301.md", "Cafe-md"}, {"a\U0001F600b", "a-b"},  {"\U0001D400x", "\U0001D400x"},
    };
    for (const auto& [text, slug] : cases)
        EXPECT_EQ(Destination::routingName(text), slug) << text.toStdString();
}

TEST(DestinationTest, DerivedNamesAndFolders)
{
    using M = DeliveryMode;
    // destination, routing name, folder path, display name, routing tokens
    const std::tuple<Destination, QString, QString, QString, QStringList> cases[] = {
        {destination("Journal", "", "/V", "Journal/Captures.md", M::appendNote), "Journal", "/V/Journal", "Journal",
         {"Journal"}},
        {destination("Notes", "", "/V/", "Captures.md", M::appendNote), "V", "/V/", "V", {"V"}},
        {destination("Q", "q", "/home/u/Coffre", "Daily/", M::dailyNote), "Daily", "/home/u/Coffre/Daily", "Daily · q",
         {"Daily", "q"}},
        {destination("Inbox", "inbox", "/V", "Inbox"), "Inbox", "/V/Inbox", "Inbox", {"Inbox", "inbox"}},
        {destination("Inbox", "in", "/V", "Inbox"), "Inbox", "/V/Inbox", "Inbox · in", {"Inbox", "in"}},
        {destination("Boîte", "", "", ""), "Boite", "", "Boite", {"Boite"}},
        {destination("!!!", "", "", ""), "", "", "!!!", {}},
        {destination("", "x", "", ""), "", "", " · x", {"x"}},
        {destination("N", "", "/V", "a/../b"), "b", "/V/a/../b", "b", {"b"}},
        {destination("N", "", "/V", "!!"), "N", "/V/!!", "N", {"N"}},
    };
    for (const auto& [d, routingName, folderPath, displayName, tokens] : cases) {
        SCOPED_TRACE((d.name + " | " + d.vaultPath + " | " + d.path).toStdString());
        EXPECT_EQ(d.routingName(), routingName);
        EXPECT_EQ(d.folderPath(), folderPath);
        EXPECT_EQ(d.displayName(), displayName);
        EXPECT_EQ(d.routingTokens(), tokens);
    }
}

TEST(DestinationTest, MatchesDestinationByAnyToken)
{
    const Destination journal = destination("Journal", "jr", "/V", "Journal"), unnamed = destination("", "", "", "");
    EXPECT_TRUE(unnamed.matchesDestination("") && journal.matchesDestination("OUR") && journal.matchesDestination("JR"));
    EXPECT_FALSE(unnamed.matchesDestination("a") || journal.matchesDestination("jx"));
}

TEST(DestinationTest, JsonRoundTripAndStrictRawValues)
{
    Destination destination = ::destination("Inbox", "in", "/V", "Inbox", DeliveryMode::dailyNote);
    const QStringList keys{"alias", "attachmentFolder", "id", "mode", "name", "path", "vaultPath"};
    EXPECT_EQ(destination.toJson().keys(), keys);
    destination.vaultBookmark = QByteArray();   // present but empty stays present
    EXPECT_EQ(Destination::fromJson(Json::parseObject(Json::serialize(destination.toJson()))), destination);

    for (const DeliveryMode mode : DeliveryModes::allCases())
        EXPECT_EQ(DeliveryModes::fromRawValue(DeliveryModes::rawValue(mode)), mode);
    EXPECT_EQ(DeliveryModes::rawValue(DeliveryMode::appendNote), "appendNote");
    EXPECT_FALSE(DeliveryModes::fromRawValue("other") || DeliveryModes::fromRawValue("NewNote"));
    EXPECT_EQ(AttachmentPolicy::allLocations().size(), 6);
    for (const auto location : AttachmentPolicy::allLocations())
        EXPECT_EQ(AttachmentPolicy::fromJson(AttachmentPolicy{location, "f"}.toJson()), (AttachmentPolicy{location, "f"}));
    EXPECT_EQ(AttachmentPolicy::rawValue(AttachmentPolicy::Location::vaultRoot), "vaultRoot");
    const QJsonObject broken[] = {
        {{"location", "obsidian"}},   {{"folder", ""}},
        {{"location", "desktop"}, {"folder", ""}}, {{"location", "Obsidian"}, {"folder", ""}},
        {{"location", "obsidian"}, {"folder", QJsonValue::Null}}, {{"location", 1}, {"folder", ""}},
    };
    for (const QJsonObject& object : broken)
        EXPECT_THROW(AttachmentPolicy::fromJson(object), JsonDecodingError) << QJsonDocument(object).toJson().toStdString();
}
