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

TEST(DestinationTest, SlugsNamesAndFolders)
{
    const std::pair<QString, QString> cases[] = {
        {"  Notes / 2024  ", "Notes-2024"}, {"-a--b_c-", "a--b_c"}, {"ＮｏｔｅＳ　２０２４", "NoteS-2024"},
        {"Cafe\u0301.md", "Cafe-md"},      {"a\U0001F600b", "a-b"},  {"\U0001D400x", "\U0001D400x"},
    };
    for (const auto& [text, slug] : cases)
        EXPECT_EQ(Destination::routingName(text), slug) << text.toStdString();

    using M = DeliveryMode;
    // destination, routing name, folder path, display name, routing tokens
    const std::tuple<Destination, QString, QString, QString, QStringList> destinations[] = {
        {destination("Journal", "", "/V", "Journal/Captures.md", M::appendNote), "Journal", "/V/Journal", "Journal",
         {"Journal"}},
        {destination("Inbox", "inbox", "/V", "Inbox"), "Inbox", "/V/Inbox", "Inbox", {"Inbox", "inbox"}},
        {destination("!!!", "", "", ""), "", "", "!!!", {}},
        {destination("N", "", "/V", "!!"), "N", "/V/!!", "N", {"N"}},
    };
    for (const auto& [d, routingName, folderPath, displayName, tokens] : destinations) {
        SCOPED_TRACE((d.name + " | " + d.vaultPath + " | " + d.path).toStdString());
        EXPECT_EQ(d.routingName(), routingName);
        EXPECT_EQ(d.folderPath(), folderPath);
        EXPECT_EQ(d.displayName(), displayName);
        EXPECT_EQ(d.routingTokens(), tokens);
    }
}

TEST(DestinationTest, JsonRoundTripAndStrictRawValues)
{
    Destination destination = ::destination("Inbox", "in", "/V", "Inbox", DeliveryMode::dailyNote);
    EXPECT_EQ(destination.toJson().keys(), (QStringList{"alias", "attachmentFolder", "id", "mode", "name", "path", "vaultPath"}));
    destination.vaultBookmark = QByteArray();   // present but empty stays present
    EXPECT_EQ(Destination::fromJson(Json::parseObject(Json::serialize(destination.toJson()))), destination);

    for (const DeliveryMode mode : DeliveryModes::allCases())
        EXPECT_EQ(DeliveryModes::fromRawValue(DeliveryModes::rawValue(mode)), mode);
    EXPECT_FALSE(DeliveryModes::fromRawValue("other") || DeliveryModes::fromRawValue("NewNote"));
    for (const auto location : AttachmentPolicy::allLocations())
        EXPECT_EQ(AttachmentPolicy::fromJson(AttachmentPolicy{location, "f"}.toJson()), (AttachmentPolicy{location, "f"}));
    const QJsonObject broken[] = {
        {{"location", "obsidian"}}, {{"location", "Obsidian"}, {"folder", ""}}, {{"location", 1}, {"folder", ""}}};
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
        {"@IN hello", &inbox, "hello"},    {"@inbox", &inbox, ""},                  {"@in \t \nhello", &inbox, "\nhello"},
        {"@journal\u3000x", &journal, "\u3000x"}, {"@inb hello", nullptr, "inb"}, {"@", nullptr, ""},
        {"@in, hello", nullptr, "in,"},     {" @in x", &fallback, " @in x"},        {"@in hello", &fallback, "@in hello", ""},
        {"->j x", &journal, "x", "->"},
        // One destination matching by both of its tokens is named once; two destinations are ambiguous.
        {"@in x", &twice, "x", "@", {twice, journal}},
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
    // Without a zone of its own, the capture is bound to the system's.
    Capture wanted = capture;
    wanted.timeZoneIdentifier = QTimeZone::systemTimeZoneId();
    wanted.destinationID = chosen.id;
    wanted.usesExplicitDestination = true;
    wanted.deliveryDestination = chosen;
    wanted.deliveryDestination->vaultPath.clear();
    wanted.deliveryDestination->vaultBookmark.reset();
    EXPECT_EQ(CapturePreparation::prepare(capture, {journal, chosen}, chosen.id), wanted);

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
