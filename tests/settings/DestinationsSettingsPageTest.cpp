#include "SettingsTestSupport.h"

#include <QComboBox>
#include <QLabel>
#include <QScrollBar>

namespace quillor::test {
namespace {

class DestinationsPageTest : public SettingsViewTest {
protected:
    void openOn(const std::optional<Preferences>& preferences = std::nullopt)
    {
        open(preferences);
        navigation.setSection(SettingsSection::destinations);
        turn();
    }
    DestinationRow* row(const QUuid& id) const { return destinations()->row(id); }
    void pick(QComboBox* picker, DeliveryMode mode) const
    {
        picker->setCurrentIndex(picker->findData(int(mode)));
        Q_EMIT picker->activated(picker->currentIndex());
    }
};

TEST_F(DestinationsPageTest, AddingOverTheFolderlessDefaultKeepsItsId)
{
    openOn();
    ASSERT_EQ(candidate().destinations.size(), 1);
    const QUuid inbox = candidate().destinations[0].id;
    ASSERT_TRUE(candidate().destinations[0].vaultPath.isEmpty());

    nextFolder = std::nullopt;
    destinations()->addButton()->click();
    EXPECT_EQ(candidate().destinations.size(), 1);

    const QString first = session.data.folder(QStringLiteral("Premier"));
    nextFolder = first;
    destinations()->addButton()->click();
    ASSERT_EQ(candidate().destinations.size(), 1);
    const Destination added = candidate().destinations[0];
    EXPECT_EQ(added.id, inbox);
    EXPECT_EQ(candidate().defaultDestinationID, inbox);
    EXPECT_EQ(added.vaultPath, first);
    EXPECT_EQ(added.attachmentFolder, QStringLiteral("Attachments/Quillor"));
    EXPECT_TRUE(state().expandedDestinations().contains(inbox));
    turn();
    EXPECT_EQ(navigation.target(), QStringLiteral("destination-") + SettingsValidation::idText(inbox));

    nextFolder = session.data.folder(QStringLiteral("Second"));
    destinations()->addButton()->click();
    EXPECT_EQ(candidate().destinations.size(), 2);
    EXPECT_EQ(destinations()->rows().size(), 2);

    view->applyButton()->click();
    EXPECT_EQ(session.written().destinations.size(), 2);
}

TEST_F(DestinationsPageTest, AChangeOfModeWaitsForConfirmation)
{
    const QString vault = session.data.folder(QStringLiteral("Vault"));
    Destination projects = makeDestination(QStringLiteral("Projets"), QString(), vault);
    projects.path = QStringLiteral("Projets");
    openOn(preferencesWith({projects}));
    DestinationRow* projectRow = row(projects.id);
    ASSERT_NE(projectRow, nullptr);
    EXPECT_FALSE(projectRow->noteField()->isVisible());

    pick(projectRow->modePicker(), DeliveryMode::newNote);
    EXPECT_TRUE(state().modeNeedsConfirmation().isEmpty());
    pick(projectRow->modePicker(), DeliveryMode::appendNote);
    EXPECT_EQ(candidate().destinations[0].path, QStringLiteral("Projets/Captures.md"));
    EXPECT_TRUE(projectRow->noteField()->isVisible());
    EXPECT_EQ(projectRow->noteField()->text(), QStringLiteral("Captures.md"));
    EXPECT_TRUE(projectRow->confirmButton()->isVisible());
    EXPECT_TRUE(projectRow->warningMark()->isVisible());

    // Apply reveals the path to confirm.
    view->applyButton()->click();
    turn();
    EXPECT_EQ(navigation.target(),
              QStringLiteral("destination-") + SettingsValidation::idText(projects.id) + QStringLiteral("-path"));
    EXPECT_EQ(QApplication::focusWidget(), projectRow->noteField());

    typeInto(projectRow->noteField(), QStringLiteral("Journal"));
    EXPECT_EQ(candidate().destinations[0].path, QStringLiteral("Projets/Journal"));
    EXPECT_TRUE(projectRow->examplePath()->text().endsWith(QStringLiteral("Projets/Journal.md")));
    EXPECT_EQ(projectRow->noteField()->text(), QStringLiteral("Journal"));

    projectRow->confirmButton()->click();
    EXPECT_FALSE(projectRow->confirmButton()->isVisible());
    EXPECT_FALSE(projectRow->warningMark()->isVisible());
}

TEST_F(DestinationsPageTest, RowsFollowRoutingNamesAndEditByTheirId)
{
    const QString vault = session.data.folder(QStringLiteral("Vault"));
    const Destination zeta = makeDestination(QStringLiteral("Zeta"), QString(), vault);
    Destination alpha = makeDestination(QStringLiteral("Alpha"), QString(), vault);
    alpha.path = QStringLiteral("Alpha");
    openOn(preferencesWith({zeta, alpha}, zeta.id));
    ASSERT_EQ(destinations()->rows().size(), 2);
    EXPECT_EQ(destinations()->rows()[0]->id(), alpha.id);
    EXPECT_TRUE(row(zeta.id)->defaultMark()->isVisible());

    // Only the default destination starts unfolded.
    EXPECT_FALSE(destinations()->rows()[0]->content()->isVisible());
    DestinationRow* second = destinations()->rows()[1];
    EXPECT_TRUE(second->content()->isVisible());
    QTest::keyClicks(second->aliasField(), QStringLiteral("zz"));
    EXPECT_EQ(candidate().destinations[0].alias, QStringLiteral("zz"));
    EXPECT_EQ(candidate().destinations[1].alias, QString());

    // Removing the default makes the first remaining one the default; the
    // last one cannot go.
    row(zeta.id)->removeButton()->click();
    ASSERT_EQ(candidate().destinations.size(), 1);
    EXPECT_EQ(candidate().defaultDestinationID, alpha.id);
    EXPECT_EQ(destinations()->rows().size(), 1);
    row(alpha.id)->header()->click();
    EXPECT_FALSE(row(alpha.id)->removeButton()->isEnabled());
    destinations()->removeDestination(alpha.id);
    EXPECT_EQ(candidate().destinations.size(), 1);
}

TEST_F(DestinationsPageTest, AFolderThatCannotBeBoundIsReported)
{
    openOn();
    nextFolder = session.data.path() + QStringLiteral("/Missing");
    destinations()->addButton()->click();
    ASSERT_TRUE(model().settingsError().has_value());
    EXPECT_TRUE(view->form()->errorLabel()->isVisible());
    EXPECT_TRUE(candidate().destinations[0].vaultPath.isEmpty());
}

} // namespace
} // namespace quillor::test

namespace quillor::test {
namespace {

TEST_F(DestinationsPageTest, ATargetRowIsCentredWhenItsSectionOpens)
{
    QList<Destination> many;
    for (int i = 0; i < 12; ++i)
        many.append(makeDestination(QStringLiteral("Carnet %1").arg(i, 2, 10, QLatin1Char('0')), QString(),
                                    session.data.folder(QStringLiteral("V%1").arg(i))));
    open(preferencesWith(many));
    const QString target = QStringLiteral("destination-") + SettingsValidation::idText(many.last().id);
    navigation.setTarget(target);
    navigation.setSection(SettingsSection::destinations);
    turn();
    QScrollBar* bar = view->form()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    QWidget* row = view->form()->row(target);
    const int middle = row->mapTo(view->form()->widget(), QPoint()).y() + row->height() / 2;
    const int expected = std::clamp(middle - view->form()->viewport()->height() / 2, 0, bar->maximum());
    EXPECT_EQ(bar->value(), expected);
    EXPECT_GT(bar->value(), 0);
}

} // namespace
} // namespace quillor::test
