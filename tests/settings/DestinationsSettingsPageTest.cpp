#include "SettingsTestSupport.h"

#include <QComboBox>
#include <QDir>
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

// Whatever was typed before, the note is the folder the note had when the
// typing started joined with the whole text of the field.
TEST_F(DestinationsPageTest, TheNoteNameIsAPathFromTheFolderTheEditingStartedIn)
{
    const QString vault = session.data.folder(QStringLiteral("Vault"));
    Destination templates = makeDestination(QStringLiteral("Templates"), QString(), vault);
    templates.mode = DeliveryMode::appendNote;
    templates.path = QStringLiteral("Templates/Captures.md");
    openOn(preferencesWith({templates}));
    DestinationRow* templatesRow = row(templates.id);
    ASSERT_NE(templatesRow, nullptr);
    QLineEdit* field = templatesRow->noteField();
    field->setFocus();
    turn();
    const auto pathNow = [&] { return candidate().destinations[0].path; };

    // Key by key, each "/" typed lands in the same folder.
    field->selectAll();
    for (const QChar key : QStringLiteral("Sous/Journal")) {
        QTest::keyClicks(field, QString(key));
        turn();
    }
    EXPECT_EQ(pathNow(), QStringLiteral("Templates/Sous/Journal"));
    EXPECT_TRUE(templatesRow->examplePath()->text().endsWith(QStringLiteral("/Vault/Templates/Sous/Journal.md")))
        << templatesRow->examplePath()->text().toStdString();
    EXPECT_TRUE(templatesRow->errors(QStringLiteral("path")).isEmpty());

    struct Retyped {
        const char* text;
        const char* path;
        bool refused;
        const char* example;   // from the vault
    };
    const Retyped cases[] = {
        {"Journal", "Templates/Journal", false, "Templates/Journal.md"},
        {"Sous/Journal", "Templates/Sous/Journal", false, "Templates/Sous/Journal.md"},
        {"../../etc/passwd", "Templates/../../etc/passwd", true, "../etc/passwd.md"},
        {"..", "Templates/..", true, "Templates/...md"},
        {"Sous/", "Templates/Sous/", true, "Templates/Sous/.md"},
        {"", "Templates/", true, "Templates/.md"},
        {"/Journal", "Templates//Journal", false, "Templates/Journal.md"},
        {"Journal", "Templates/Journal", false, "Templates/Journal.md"},
    };
    for (const Retyped& retyped : cases) {
        SCOPED_TRACE(retyped.text);
        typeInto(field, QString::fromUtf8(retyped.text));
        turn();
        EXPECT_EQ(pathNow(), QString::fromUtf8(retyped.path));
        EXPECT_EQ(!templatesRow->errors(QStringLiteral("path")).isEmpty(), retyped.refused);
        EXPECT_EQ(templatesRow->examplePath()->text(),
                  QDir::cleanPath(vault + u'/' + QString::fromUtf8(retyped.example)));
    }
    // A plain name keeps the destination routed under its folder.
    EXPECT_EQ(candidate().destinations[0].routingName(), QStringLiteral("Templates"));

    // Leaving the field ends the editing: the next one starts from the folder
    // the note is in by then.
    typeInto(field, QStringLiteral("Sous/Journal"));
    templatesRow->aliasField()->setFocus();
    turn();
    EXPECT_EQ(field->text(), QStringLiteral("Journal"));
    field->setFocus();
    typeInto(field, QStringLiteral("Notes"));
    EXPECT_EQ(pathNow(), QStringLiteral("Templates/Sous/Notes"));
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

// A note name that changes the note's folder renames the row; the row stays
// under the keys until the edits are applied or the field is left.
TEST_F(DestinationsPageTest, ARowStaysInPlaceWhileItsNoteNameIsTyped)
{
    const QString vault = session.data.folder(QStringLiteral("Vault"));
    const Destination notes = makeDestination(QStringLiteral("Notes"), QString(), vault);
    Destination templates = makeDestination(QStringLiteral("Templates"), QString(), vault);
    templates.mode = DeliveryMode::appendNote;
    templates.path = QStringLiteral("Templates/Captures.md");
    openOn(preferencesWith({notes, templates}, templates.id));
    const auto order = [&] {
        QList<QUuid> ids;
        for (const DestinationRow* shown : destinations()->rows())
            ids.append(shown->id());
        return ids;
    };
    const QList<QUuid> sorted{notes.id, templates.id};
    const QList<QUuid> reversed{templates.id, notes.id};
    ASSERT_EQ(order(), sorted);
    DestinationRow* templatesRow = row(templates.id);
    QLineEdit* field = templatesRow->noteField();
    const auto top = [&] { return templatesRow->mapTo(view->form()->widget(), QPoint()).y(); };

    struct Typing {
        const char* text;
        const char* routingName;
        QList<QUuid> before;
        bool apply; // else the field is left
    };
    const Typing typings[] = {
        {"A/Journal", "A", sorted, true},
        {"../../zz/passwd", "zz", reversed, false},
    };
    for (const Typing& typing : typings) {
        SCOPED_TRACE(typing.text);
        ASSERT_EQ(order(), typing.before);
        field->setFocus();
        turn();
        const int place = top();
        typeInto(field, QString::fromUtf8(typing.text));
        turn();
        EXPECT_EQ(candidate().destinations[1].routingName(), QString::fromUtf8(typing.routingName));
        EXPECT_EQ(order(), typing.before);
        EXPECT_EQ(top(), place);
        EXPECT_EQ(QApplication::focusWidget(), field);

        if (typing.apply) {
            QTest::keyClick(field, Qt::Key_Return);
            turn();
            ASSERT_EQ(session.written().destinations[1].path, QStringLiteral("Templates/A/Journal"));
        } else {
            row(notes.id)->header()->setFocus();
            turn();
        }
        EXPECT_NE(order(), typing.before);
    }
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
