#include "core/Routing.h"

#include "core/CaptureError.h"
#include "core/CapturePreparation.h"
#include "core/L10n.h"

#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <functional>

using namespace quillor;

namespace {

const QString prefix = QStringLiteral("@");

Destination destination(const QString& vault, const QString& path, const QString& alias)
{
    return Destination(QUuid::createUuid(), path, alias, vault, DeliveryMode::newNote, path, QString());
}

// Inbox/in, Journal/j and a fallback.
const Destination inbox = destination(QString(), QStringLiteral("Inbox"), QStringLiteral("in"));
const Destination journal = destination(QString(), QStringLiteral("Journal"), QStringLiteral("j"));
const Destination fallback = destination(QString(), QStringLiteral("Fallback"), QString());

std::optional<CaptureError> captureError(const std::function<void()>& action)
{
    try {
        action();
    } catch (const CaptureError& error) {
        return error;
    }
    return std::nullopt;
}

} // namespace

TEST(RoutingTest, ResolvesThePrefixedWord)
{
    const struct {
        QString text;
        const Destination* destination;   // nullptr: unknownDestination(word)
        QString bodyOrWord;
    } cases[] = {
        {"@in hello", &inbox, "hello"},
        {"@IN hello", &inbox, "hello"},
        {"@inbox", &inbox, ""},
        {"@in\nhello", &inbox, "\nhello"},
        {"@in \t \nhello", &inbox, "\nhello"},
        {"@J\tlater", &journal, "later"},
        {"@journal\u2028x", &journal, "\u2028x"},
        {"@journal\u3000x", &journal, "\u3000x"},
        {"@inb hello", nullptr, "inb"},
        {"@ hello", nullptr, ""},
        {"@", nullptr, ""},
        {"@in, hello", nullptr, "in,"},
        {"@in\U0001F600 x", nullptr, "in\U0001F600"},
        {"hello @in", &fallback, "hello @in"},
        {" @in x", &fallback, " @in x"},
        {"", &fallback, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        if (c.destination) {
            EXPECT_EQ(Routing::resolve(c.text, prefix, {inbox, journal}, fallback), (Route{*c.destination, c.bodyOrWord}));
        } else {
            EXPECT_EQ(captureError([&] { Routing::resolve(c.text, prefix, {inbox, journal}, fallback); }),
                      CaptureError::unknownDestination(c.bodyOrWord));
        }
    }
}

TEST(RoutingTest, PrefixRulesAndAmbiguity)
{
    EXPECT_EQ(Routing::resolve("@in hello", "", {inbox, journal}, fallback), (Route{fallback, "@in hello"}));
    EXPECT_EQ(Routing::resolve("->j x", "->", {inbox, journal}, fallback), (Route{journal, "x"}));

    // A word matching both tokens of one destination still names it once.
    const Destination twice = destination(QString(), QStringLiteral("in"), QStringLiteral("IN"));
    EXPECT_EQ(Routing::resolve("@in x", prefix, {twice, journal}, fallback), (Route{twice, "x"}));

    const Destination other = destination(QString(), QStringLiteral("Other"), QStringLiteral("in"));
    for (const QList<Destination>& list : {QList<Destination>{inbox, other}, QList<Destination>{other, inbox}}) {
        EXPECT_EQ(captureError([&] { Routing::resolve("@in x", prefix, list, fallback); }),
                  CaptureError::unknownDestination("in"));
    }
}

TEST(RoutingTest, EvaluateNeverThrows)
{
    EXPECT_EQ(RouteResolution::evaluate("@zz x", prefix, {inbox, journal}, fallback),
              RouteResolution::unresolved(L10n::format(
                  QStringLiteral("Destination inconnue : %@. Choisis une destination ou retire le préfixe."), {"zz"})));
    EXPECT_EQ(RouteResolution::evaluate("@j x", prefix, {inbox, journal}, fallback),
              RouteResolution::resolved(Route{journal, "x"}));
}

TEST(RoutingTest, PrepareFailures)
{
    const QUuid missing(QStringLiteral("{abcdef01-0000-4000-8000-00000000beef}"));
    const Destination broken = destination(QString(), QStringLiteral("../outside"), QString());
    Capture capture;
    capture.body = QStringLiteral("hello");

    EXPECT_EQ(captureError([&] { CapturePreparation::prepare(capture, {inbox}, std::nullopt); }),
              CaptureError::unknownDestination(""));
    EXPECT_EQ(captureError([&] { CapturePreparation::prepare(capture, {inbox}, missing); }),
              CaptureError::unknownDestination("ABCDEF01-0000-4000-8000-00000000BEEF"));
    // An invalid destination other than the chosen one blocks preparation too.
    EXPECT_EQ(captureError([&] { CapturePreparation::prepare(capture, {inbox, broken}, inbox.id); }),
              CaptureError::invalidPath());
    // The capture's own choice wins over the default.
    capture.destinationID = missing;
    EXPECT_EQ(captureError([&] { CapturePreparation::prepare(capture, {inbox}, inbox.id); }),
              CaptureError::unknownDestination("ABCDEF01-0000-4000-8000-00000000BEEF"));
}

TEST(RoutingTest, PrepareBindsTheDestination)
{
    const QTemporaryDir vault;
    Destination chosen = destination(vault.path(), QStringLiteral("Inbox"), QStringLiteral("in"));
    chosen.vaultBookmark = QByteArray("bookmark");
    Destination stripped = chosen;
    stripped.vaultPath.clear();
    stripped.vaultBookmark.reset();

    Capture capture;
    capture.id = QUuid::createUuid();
    capture.body = QStringLiteral("@in hello {{quillor-image:X}}");
    capture.deliveryVaultID = QUuid::createUuid();

    for (const std::optional<QString>& zone : {std::optional<QString>(), std::optional<QString>("Europe/Paris")}) {
        capture.timeZoneIdentifier = zone;
        const Capture prepared = CapturePreparation::prepare(capture, {journal, chosen}, chosen.id);

        Capture wanted = capture;
        wanted.timeZoneIdentifier = zone.value_or(QString::fromUtf8(QTimeZone::systemTimeZoneId()));
        wanted.destinationID = chosen.id;
        wanted.usesExplicitDestination = true;
        wanted.deliveryDestination = stripped;
        EXPECT_EQ(prepared, wanted);
    }
}
