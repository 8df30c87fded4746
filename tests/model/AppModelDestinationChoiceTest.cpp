#include "AppModelTestSupport.h"

#include "model/VaultAccess.h"

#include <QPromise>

namespace quillor {
namespace {

using namespace test;

class AppModelDestinationChoiceTest : public ::testing::Test {
protected:
    // The stored draft names a destination that has since been deleted; the
    // second destination has a vault of one note.
    void SetUp() override
    {
        DataFolder::write(data.folder("Vault") + "/Note.md", "x");
        data.put("preferences.json", preferencesWith({inbox, journal}).encode());
        data.put("draft.json", bytesOf(storedDraft("Idée", QUuid::createUuid(), true)));
        model = std::make_unique<AppModel>(data.path(), access, environment);
        QObject::connect(model.get(), &AppModel::modelChanged, [this] { ++modelChanges; });
    }

    QByteArray draftFile() const { return data.contents("draft.json").value_or(QByteArray()); }
    std::optional<QUuid> routedTo() const
    {
        const std::optional<Route> route = model->routeResolution().route();
        return route ? std::optional(route->destination.id) : std::nullopt;
    }

    DataFolder data;
    ManualClock clock;
    AppModel::Environment environment = environmentWith(clock);
    VaultAccess access{false};
    Destination inbox = makeDestination("Inbox", "in");
    Destination journal = makeDestination("Journal", "j", data.folder("Vault"));
    std::unique_ptr<AppModel> model;
    int modelChanges = 0;
};

TEST_F(AppModelDestinationChoiceTest, AChoiceWithoutEditorIsRecordedAndAnAbsentOneLetsTheRouteDecideAgain)
{
    ASSERT_EQ(routedTo(), std::nullopt);
    model->setError(QStringLiteral("Ancienne erreur"));

    model->setDestination(journal.id);
    EXPECT_EQ(routedTo(), journal.id);
    EXPECT_EQ(model->error(), std::nullopt);
    EXPECT_EQ(modelChanges, 1);
    EXPECT_TRUE(draftFile().contains(Json::uuidText(journal.id).toUtf8()));
    EXPECT_EQ(decodedDraft(draftFile()).usesExplicitDestination, true);
    EXPECT_TRUE(waitUntil([&] { return model->indexState() == IndexState::ready(1); }));

    model->updateContent(EditorContent::plain("@in idée"));
    EXPECT_EQ(routedTo(), journal.id);
    model->applyDestinationSelection(DestinationSelection{});
    EXPECT_FALSE(draftFile().contains("destinationID"));
    EXPECT_FALSE(draftFile().contains("usesExplicitDestination"));
    EXPECT_EQ(routedTo(), inbox.id);
}

TEST_F(AppModelDestinationChoiceTest, TheEditorTakesOverTheChoiceAndUnknownIdsAreIgnored)
{
    QList<QUuid> handedOver;
    model->onSelectDestination = [&](const QUuid& id) { handedOver.append(id); };
    const QByteArray before = draftFile();

    model->setDestination(QUuid::createUuid());
    model->setDestination(inbox.id);
    EXPECT_EQ(handedOver, QList<QUuid>{inbox.id});
    EXPECT_EQ(routedTo(), std::nullopt);
    EXPECT_EQ(draftFile(), before);
    EXPECT_EQ(modelChanges, 0);
}

TEST_F(AppModelDestinationChoiceTest, NothingIsChosenWhileACaptureIsBeingDelivered)
{
    QPromise<QString> delivery;   // left unfinished: the capture stays in flight
    environment.deliver = [&](const Capture&, const Destination&) {
        delivery.start();
        return delivery.future();
    };
    data.put("draft.json", bytesOf(storedDraft("Idée", journal.id, true)));
    model = std::make_unique<AppModel>(data.path(), access, environment);
    model->submit();
    ASSERT_TRUE(model->saving()) << model->error().value_or("").toStdString();
    const auto before = data.snapshot();

    QList<QUuid> handedOver;
    model->setDestination(inbox.id);
    model->onSelectDestination = [&](const QUuid& id) { handedOver.append(id); };
    model->setDestination(inbox.id);
    EXPECT_TRUE(handedOver.isEmpty());
    EXPECT_EQ(routedTo(), journal.id);
    EXPECT_EQ(data.snapshot(), before);
    model.reset();   // before the promise it waits on
}

} // namespace
} // namespace quillor
