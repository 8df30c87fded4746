#include "core/Routing.h"

#include "TestSupport.h"
#include "core/CapturePreparation.h"

#include <QTimeZone>

using namespace quillor;

namespace {

Destination destination(const QString& path, const QString& alias, const QString& vault = {})
{
    return Destination(QUuid::createUuid(), path, alias, vault, DeliveryMode::newNote, path, {});
}

const Destination inbox = destination("Inbox", "in");
const Destination journal = destination("Journal", "j");
const Destination fallback = destination("Fallback", "");

} // namespace

TEST(RoutingTest, ResolvesThePrefixedWord)
{
    const Destination twice = destination("in", "IN");
    const Destination other = destination("Other", "in");
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
    Destination chosen = destination("Inbox", "in", vault.path());
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
    EXPECT_EQ(failure({inbox, destination("../outside", "")}, inbox.id), CaptureError::invalidPath());
    // The capture's own choice wins over the default.
    capture.destinationID = missing;
    EXPECT_EQ(failure({inbox}, inbox.id), CaptureError::unknownDestination("ABCDEF01-0000-4000-8000-00000000BEEF"));
}
