#include "AppModelTestSupport.h"

#include "core/CaptureError.h"
#include "model/VaultAccess.h"

namespace quillor {
namespace {

using namespace test;

TEST(AppModelDestinationTest, AnExplicitChoiceBeatsARouteWhichBeatsTheDraftsOwnWhichBeatsTheDefault)
{
    const Destination first = makeDestination("Alpha", "a");
    const Destination fallback = makeDestination("Beta", "b");
    const Destination own = makeDestination("Gamma", "g");
    const Preferences preferences = preferencesWith({first, fallback, own}, fallback.id);
    const QString missing = QStringLiteral("La destination d’origine n’existe plus. Choisis une destination.");
    const QString unknown = CaptureError::unknownDestination("zz").localizedDescription();
    const struct {
        const char* name;
        Capture stored;
        std::optional<QString> typed;   // else the stored body
        std::optional<QUuid> destination;   // else unresolved with `reason`
        QString body, reason;
        QUuid selected;
    } cases[] = {
        {"explicit choice keeps a route in the text", storedDraft("@a hi", own.id, true), {}, own.id, "@a hi", {},
         own.id},
        {"explicit draft without destination takes the default", storedDraft("x", std::nullopt, true), {},
         fallback.id, "x", {}, fallback.id},
        {"route to nowhere", storedDraft("@zz hi", own.id, std::nullopt), {}, {}, {}, unknown, own.id},
        {"draft's own destination", storedDraft("@zz hi", own.id, std::nullopt), "plain", own.id, "plain", {},
         own.id},
        {"route over the draft's own destination", storedDraft("@zz hi", own.id, std::nullopt), "@a \thello",
         first.id, "hello", {}, own.id},
        {"default when the draft names none", storedDraft("@zz hi", std::nullopt, std::nullopt), "plain",
         fallback.id, "plain", {}, fallback.id},
        {"deleted destination blocks everything", storedDraft("@a hi", QUuid::createUuid(), true), {}, {}, {},
         missing, fallback.id},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DataFolder data;
        ManualClock clock;
        VaultAccess access(false);
        data.put("preferences.json", preferences.encode());
        data.put("draft.json", bytesOf(c.stored));
        AppModel model(data.path(), access, environmentWith(clock));
        if (c.typed)
            model.updateContent(EditorContent::plain(*c.typed));

        const RouteResolution resolution = model.routeResolution();
        EXPECT_EQ(model.selectedDestination().id, c.selected);
        if (c.destination) {
            ASSERT_TRUE(resolution.route()) << resolution.error()->toStdString();
            EXPECT_EQ(resolution.route()->destination.id, *c.destination);
            EXPECT_EQ(resolution.route()->body, c.body);
            EXPECT_EQ(model.effectiveDestination().id, *c.destination);
            EXPECT_EQ(model.destinationLabel(), resolution.route()->destination.displayName());
        } else {
            EXPECT_EQ(resolution.error(), c.reason);
            EXPECT_EQ(model.effectiveDestination().id, c.selected);
            EXPECT_EQ(model.destinationLabel(), "Destination non résolue");
        }
    }
}

TEST(AppModelDestinationTest, WithoutDestinationsTheBuiltInInboxIsMadeAfreshEachTime)
{
    DataFolder data;
    ManualClock clock;
    VaultAccess access(false);
    data.put("preferences.json", R"({"destinations":[]})");
    AppModel model(data.path(), access, environmentWith(clock));

    const Destination inbox = model.defaultDestination();
    EXPECT_EQ(inbox.name, "Inbox");
    EXPECT_NE(model.defaultDestination().id, inbox.id);
    EXPECT_EQ(model.destinationLabel(), "Inbox");
}

} // namespace
} // namespace quillor
