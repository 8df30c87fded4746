#include "SettingsTestSupport.h"

#include "settings/AttachmentSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>

namespace quillor::test {
namespace {

using Location = AttachmentPolicy::Location;

class AttachmentSettingsTest : public SettingsViewTest {
protected:
    // One destination, in `vault` (made), shown unfolded.
    void openWith(const QString& vault, const std::optional<AttachmentPolicy>& policy = std::nullopt)
    {
        Destination destination = makeDestination("Carnet", "ca", vault);
        destination.attachmentPolicy = policy;
        id = destination.id;
        Preferences preferences = preferencesWith({destination});
        preferences.automaticallyCheckUpdates = false;
        navigation.setSection(SettingsSection::destinations);
        open(preferences);
        block()->setFolderPicker([this](QWidget*, const QString& start) {
            startedIn.append(start);
            return nextFolder;
        });
    }
    AttachmentSettings* block() const { return destinations()->row(id)->attachments(); }
    const Destination& edited() const { return candidate().destinations.first(); }
    QStringList listed() const
    {
        QStringList labels;
        for (int i = 0; i < block()->locationPicker()->count(); ++i)
            labels.append(block()->locationPicker()->itemText(i));
        return labels;
    }
    void pick(Location location) const
    {
        QComboBox* picker = block()->locationPicker();
        const int index = picker->findData(int(location));
        ASSERT_GE(index, 0);
        picker->setCurrentIndex(index);
        Q_EMIT picker->activated(index);
    }

    QUuid id;
    QStringList startedIn;
};

TEST_F(AttachmentSettingsTest, OutsideAVaultTheCustomPolicyIsAllThereIs)
{
    const QString folder = session.data.folder("Plain");
    openWith(folder);
    EXPECT_FALSE(block()->obsidianToggle()->isChecked());
    EXPECT_FALSE(block()->obsidianToggle()->isEnabled());
    EXPECT_TRUE(block()->obsidianNote()->text().startsWith("Cette option est disponible uniquement"));
    EXPECT_TRUE(block()->customRows()->isVisible());
    EXPECT_EQ(block()->locationPicker()->currentText(), "Même dossier que la note");
    EXPECT_EQ(listed(), QStringList({"Racine du dossier de notes", "Même dossier que la note",
                                     "Dans un sous-dossier du dossier de la note", "Dossier fixe (chemin absolu)"}));
    EXPECT_EQ(block()->previewLabel()->text(), QDir(folder).filePath("Inbox"));
}

TEST_F(AttachmentSettingsTest, InsideAVaultObsidianDecidesUntilUnticked)
{
    const QString vault = session.data.folder("Vault");
    QDir().mkpath(vault + "/.obsidian");
    DataFolder::write(vault + "/.obsidian/app.json", R"({"attachmentFolderPath": "Assets"})");
    openWith(vault + "/Inbox");
    EXPECT_TRUE(block()->obsidianToggle()->isChecked());
    EXPECT_TRUE(block()->obsidianToggle()->isEnabled());
    EXPECT_EQ(block()->obsidianNote()->text(), "Coffre Obsidian détecté : " + vault);
    EXPECT_FALSE(block()->customRows()->isVisible());
    EXPECT_EQ(block()->previewLabel()->text(), vault + "/Assets");

    block()->obsidianToggle()->click();
    EXPECT_EQ(edited().useObsidianAttachments, false);
    EXPECT_TRUE(block()->customRows()->isVisible());
    EXPECT_EQ(block()->locationPicker()->currentText(), "Même dossier que la note");
    EXPECT_EQ(model().preferences().destinations.first().useObsidianAttachments, std::nullopt);
    block()->obsidianToggle()->click();
    EXPECT_EQ(edited().useObsidianAttachments, true);
}

TEST_F(AttachmentSettingsTest, TheLocationRuleKeepsOnlyFoldersThatFitTheNewLocation)
{
    struct Case {
        AttachmentPolicy from;
        Location to;
        QString folder;
    };
    const QList<Case> cases = {
        {{Location::subfolder, "notes/img"}, Location::absoluteFolder, ""},
        {{Location::subfolder, "img"}, Location::absoluteFolder, ""},
        {{Location::absoluteFolder, "/srv/images"}, Location::absoluteFolder, "/srv/images"},
        {{Location::specifiedFolder, "notes/img"}, Location::subfolder, "Attachments"},
        {{Location::absoluteFolder, "/srv/images"}, Location::subfolder, "Attachments"},
        {{Location::sameFolder, "img"}, Location::subfolder, "img"},
        {{Location::subfolder, "notes/img"}, Location::vaultRoot, "notes/img"},
    };
    for (const Case& each : cases)
        EXPECT_EQ(AttachmentSettings::choosing(each.to, each.from), (AttachmentPolicy{each.to, each.folder}))
            << each.from.folder.toStdString();

    openWith(session.data.folder("Plain"), AttachmentPolicy{Location::subfolder, "notes/img"});
    pick(Location::absoluteFolder);
    EXPECT_EQ(edited().attachmentPolicy, (AttachmentPolicy{Location::absoluteFolder, ""}));
    EXPECT_EQ(edited().useObsidianAttachments, false);
    EXPECT_TRUE(block()->chooseFolderButton()->isVisible());
    EXPECT_FALSE(block()->subfolderField()->isVisible());
}

TEST_F(AttachmentSettingsTest, ALegacySpecifiedFolderIsListedUntilLeft)
{
    openWith(session.data.folder("Plain"), AttachmentPolicy{Location::specifiedFolder, "notes/img"});
    EXPECT_TRUE(listed().contains("Dans le dossier spécifié"));
    EXPECT_EQ(block()->locationPicker()->currentText(), "Dans le dossier spécifié");
    EXPECT_EQ(block()->folderLabel()->text(), "notes/img");
    pick(Location::vaultRoot);
    EXPECT_FALSE(listed().contains("Dans le dossier spécifié"));
    EXPECT_EQ(block()->locationPicker()->currentText(), "Racine du dossier de notes");
}

TEST_F(AttachmentSettingsTest, AnUnsafeFolderHasNoPreviewButItsReasons)
{
    openWith(session.data.folder("Plain"), AttachmentPolicy{Location::subfolder, "../x"});
    EXPECT_TRUE(block()->previewLabel()->isHidden());
    EXPECT_TRUE(block()->issueLabel()->isVisible());
    EXPECT_FALSE(block()->issueLabel()->text().isEmpty());

    // Typing a good name brings the preview back at once.
    block()->subfolderField()->setFocus();
    typeInto(block()->subfolderField(), "images");
    EXPECT_EQ(edited().attachmentPolicy, (AttachmentPolicy{Location::subfolder, "images"}));
    EXPECT_TRUE(block()->issueLabel()->isHidden());
    EXPECT_TRUE(block()->previewLabel()->isVisible());

    Destination bare = makeDestination("Sans dossier", "", "");
    EXPECT_EQ(AttachmentSettings::preview(bare, {Location::subfolder, "img"}), "Inbox/img");
}

TEST_F(AttachmentSettingsTest, TheChosenFolderIsAlwaysStoredAsAbsolute)
{
    const QString images = session.data.folder("Images");
    openWith(session.data.folder("Plain"), AttachmentPolicy{Location::specifiedFolder, "notes/img"});
    nextFolder = std::nullopt;
    block()->chooseFolderButton()->click();
    EXPECT_EQ(edited().attachmentPolicy, (AttachmentPolicy{Location::specifiedFolder, "notes/img"}));
    nextFolder = images;
    block()->chooseFolderButton()->click();
    EXPECT_EQ(edited().attachmentPolicy, (AttachmentPolicy{Location::absoluteFolder, images}));
    // The dialog starts in the folder already chosen, when it is absolute.
    block()->chooseFolderButton()->click();
    EXPECT_EQ(startedIn, QStringList({"", "", images}));
}

TEST_F(AttachmentSettingsTest, ObsidiansOwnVaultFolderSettingIsAcceptedAndAnUnusableOneNamesItsFile)
{
    const QString vault = session.data.folder("Vault");
    DataFolder::write(vault + "/.obsidian/app.json", R"({"attachmentFolderPath": "/"})");
    openWith(vault);
    EXPECT_EQ(block()->previewLabel()->text(), vault);
    EXPECT_EQ(state().issues(), QList<DestinationIssue>());

    DataFolder::write(vault + "/.obsidian/app.json", R"({"attachmentFolderPath": "/../Images"})");
    // Any edit looks again.
    block()->obsidianToggle()->click();
    block()->obsidianToggle()->click();
    turn();
    const QString message =
        "Le réglage des pièces jointes de ce coffre dans .obsidian/app.json ne peut pas être utilisé : « /../Images ».";
    EXPECT_EQ(state().issues(), QList<DestinationIssue>({{id, "attachmentFolder", message}}));
    QStringList shown;
    for (const QLabel* label : block()->findChildren<QLabel*>()) {
        if (label->isVisible() && label->text().contains("app.json"))
            shown.append(label->text());
    }
    EXPECT_EQ(shown, QStringList{message});
}

} // namespace
} // namespace quillor::test
