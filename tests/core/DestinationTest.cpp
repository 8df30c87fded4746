#include "core/Destination.h"

#include "TestSupport.h"
#include "core/Json.h"
#include "core/Routing.h"
#include "core/CapturePreparation.h"

#include <QJsonDocument>
#include <QTimeZone>

using namespace quillor;

namespace {

Destination destination(const QString& name, const QString& alias, const QString& vault, const QString& path,
                        DeliveryMode mode = DeliveryMode::newNote)
{
    return Destination(QUuid::createUuid(), name, alias, vault, mode, path, {});
}

// A destination named after its folder, as routing sees it.
Destination routed(const QString& path, const QString& alias, const QString& vault = {})
{
    return destination(path, alias, vault, path);
}

const Destination inbox = routed("Inbox", "in"), journal = routed("Journal", "j"), fallback = routed("Fallback", "");

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

TEST(RoutingTest, ResolvesThePrefixedWord)
{
    const Destination twice = routed("in", "IN");
    const Destination other = routed("Other", "in");
    const struct {
        QString text;
        const Destination* destination;   // nullptr: unknownDestination(word)
        QString bodyOrWord;
        QString prefix = "@";
        QList<Destination> destinations = {inbox, journal};
    } cases[] = {
        {"@in hello", &inbox, "hello"},    {"@IN hello", &inbox, "hello"},          {"@inbox", &inbox, ""},
        {"@in\nhello", &inbox, "\nhello"}, {"@in \t \nhello", &inbox, "\nhello"},    {"@J\tlater", &journal, "later"},
        {"@journal\u2028x", &journal, "\u2028x"}, {"@journal\u3000x", &journal, "\u3000x"}, {"@inb hello", nullptr, "inb"},
        {"@ hello", nullptr, ""},          {"@", nullptr, ""},                      {"@in, hello", nullptr, "in,"},
        {"@in\U0001F600 x", nullptr, "in\U0001F600"},                               {"hello @in", &fallback, "hello @in"},
        {" @in x", &fallback, " @in x"},   {"@in hello", &fallback, "@in hello", ""}, {"->j x", &journal, "x", "->"},
        // One destination matching by both of its tokens is named once; two destinations are ambiguous.
        {"@in x", &twice, "x", "@", {twice, journal}},
        {"@in x", nullptr, "in", "@", {inbox, other}},
        {"@in x", nullptr, "in", "@", {other, inbox}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const auto route = [&] { return Routing::resolve(c.text, c.prefix, c.destinations, fallback); };
        if (c.destination)
            EXPECT_EQ(route(), (Route{*c.destination, c.bodyOrWord}));
        else
            EXPECT_EQ(test::thrown<CaptureError>(route), CaptureError::unknownDestination(c.bodyOrWord));
    }
    EXPECT_EQ(RouteResolution::evaluate("@j x", "@", {inbox, journal}, fallback),
              RouteResolution::resolved(Route{journal, "x"}));
    EXPECT_EQ(RouteResolution::evaluate("@zz x", "@", {inbox, journal}, fallback),
              RouteResolution::unresolved("Destination inconnue : zz. Choisis une destination ou retire le préfixe."));
}

TEST(RoutingTest, PrepareBindsTheChosenDestinationOrFails)
{
    const QTemporaryDir vault;
    Destination chosen = routed("Inbox", "in", vault.path());
    chosen.vaultBookmark = QByteArray("bookmark");
    Capture capture;
    capture.id = QUuid::createUuid();
    capture.body = "@in hello {{quillor-image:X}}";
    capture.deliveryVaultID = QUuid::createUuid();
    for (const std::optional<QString>& zone : {std::optional<QString>(), std::optional<QString>("Europe/Paris")}) {
        capture.timeZoneIdentifier = zone;
        Capture wanted = capture;
        wanted.timeZoneIdentifier = zone.value_or(QTimeZone::systemTimeZoneId());
        wanted.destinationID = chosen.id;
        wanted.usesExplicitDestination = true;
        wanted.deliveryDestination = chosen;
        wanted.deliveryDestination->vaultPath.clear();
        wanted.deliveryDestination->vaultBookmark.reset();
        EXPECT_EQ(CapturePreparation::prepare(capture, {journal, chosen}, chosen.id), wanted);
    }

    const QUuid missing(QStringLiteral("{abcdef01-0000-4000-8000-00000000beef}"));
    const auto failure = [&](const QList<Destination>& list, const std::optional<QUuid>& defaultID) {
        return test::thrown<CaptureError>([&] { CapturePreparation::prepare(capture, list, defaultID); });
    };
    capture.destinationID.reset();
    EXPECT_EQ(failure({inbox}, std::nullopt), CaptureError::unknownDestination(""));
    EXPECT_EQ(failure({inbox}, missing), CaptureError::unknownDestination("ABCDEF01-0000-4000-8000-00000000BEEF"));
    // An invalid destination other than the chosen one blocks preparation too.
    EXPECT_EQ(failure({inbox, routed("../outside", "")}, inbox.id), CaptureError::invalidPath());
    // The capture's own choice wins over the default.
    capture.destinationID = missing;
    EXPECT_EQ(failure({inbox}, inbox.id), CaptureError::unknownDestination("ABCDEF01-0000-4000-8000-00000000BEEF"));
}
