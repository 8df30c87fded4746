#include "OpenedUrls.h"
#include "SettingsTestSupport.h"

#include "core/Json.h"
#include "settings/HistoryList.h"
#include "settings/HistorySettingsPage.h"
#include "settings/HistoryView.h"

#include <QJsonDocument>
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QProgressBar>

namespace quillor::test {
namespace {

class HistoryViewTest : public SettingsViewTest {
protected:
    Capture archived(const QString& body, double seconds) const
    {
        return Capture(QUuid::createUuid(), ReferenceDate{seconds}, body, {}, {});
    }
    // A delivered capture: its history copy, its receipt and, when asked, the
    // note's backup before the append.
    void deliver(const Capture& capture, const QString& notePath, bool backup = false) const
    {
        const QString id = Json::uuidText(capture.id);
        session.data.put("History/" + id + ".json", bytesOf(capture));
        const DeliveryReceipt receipt{id, notePath, "2026-01-02T10:00:00Z", QStringLiteral("Carnet")};
        session.data.put("Receipts/" + id + ".json", Json::serialize(receipt.toJson()));
        if (backup)
            session.data.put("Backups/" + id + ".md", "avant l’ajout");
    }
    void openHistory()
    {
        Preferences preferences = preferencesWith({makeDestination("Carnet", "ca", session.data.folder("Vault"))});
        preferences.automaticallyCheckUpdates = false;
        navigation.setSection(SettingsSection::history);
        open(preferences);
        view->setDidRestore([this] { ++restored; });
        history()->setSavePicker([this](QWidget*, const QString& name) {
            proposedNames.append(name);
            return exportTo;
        });
        listed();
    }
    // The list and the selected entry's record are read in the background.
    void listed() const { ASSERT_TRUE(waitUntil([&] { return !history()->isListing(); })); }
    void refresh() const
    {
        history()->refreshButton()->click();
        listed();
    }
    void select(const QString& source) const
    {
        history()->select(source);
        ASSERT_TRUE(waitUntil([&] { return !history()->isReadingRecord(); }));
    }
    HistorySettingsPage* page() const { return qobject_cast<HistorySettingsPage*>(view->form()->page()); }
    HistoryView* history() const { return page()->history(); }
    QString sourceOf(const QString& body) const
    {
        for (const ArchivedCapture& entry : history()->entries()) {
            if (entry.capture.body == body)
                return entry.source;
        }
        return {};
    }
    QMessageBox* question() const { return history()->restoreQuestion(); }

    int restored = 0;
    std::optional<QString> exportTo;
    QStringList proposedNames;
};

TEST_F(HistoryViewTest, AnEmptyArchiveOffersANewCapture)
{
    openHistory();
    ASSERT_NE(page(), nullptr);
    EXPECT_TRUE(history()->emptyState()->isVisible());
    EXPECT_FALSE(history()->prompt()->isVisible());
    history()->newCaptureButton()->click();
    EXPECT_EQ(restored, 1);
}

TEST_F(HistoryViewTest, RowsAndButtonsFollowEachEntrysDelivery)
{
    const QString vault = session.data.folder("Notes");
    const QString kept = vault + "/kept.md", gone = vault + "/gone.md";
    DataFolder::write(kept, "# Note\n");
    deliver(archived(QStringLiteral("Livrée et présente ") + QString(100, u'x'), 3000), kept, true);
    deliver(archived("Note supprimée depuis", 2000), gone);
    session.data.put("Recovered/draft.json", bytesOf(archived("Brouillon archivé", 1000)));
    session.data.put("History/corrupt.json", "{\"id\": ");
    openHistory();

    ASSERT_EQ(history()->entries().size(), 3);
    EXPECT_TRUE(history()->prompt()->isVisible());
    const QAbstractItemModel* rows = history()->list()->model();
    const QString first = rows->index(0, 0).data().toString();
    EXPECT_EQ(first.size(), 90);
    EXPECT_EQ(rows->index(0, 0).data(HistoryListModel::statusRole), "Livraison confirmée");
    EXPECT_EQ(rows->index(0, 0).data(HistoryListModel::destinationRole), "Carnet");
    EXPECT_EQ(rows->index(1, 0).data(HistoryListModel::statusRole), "Livrée · fichier absent");
    EXPECT_EQ(rows->index(2, 0).data(HistoryListModel::destinationRole),
              "Capture locale · destination historique inconnue");

    struct Expected {
        QString body;
        bool delivery, noteButtons, backup;
    };
    const QList<Expected> expected = {
        {history()->entries().at(0).capture.body, true, true, true},
        {"Note supprimée depuis", true, false, false},
        {"Brouillon archivé", false, false, false},
    };
    for (const Expected& each : expected) {
        select(sourceOf(each.body));
        SCOPED_TRACE(each.body.toStdString());
        EXPECT_EQ(history()->bodyView()->toPlainText(), each.body);
        EXPECT_EQ(history()->notePath()->isVisible(), each.delivery);
        for (QPushButton* button : {history()->revealButton(), history()->openButton(), history()->exportButton()})
            EXPECT_EQ(button->isEnabled(), each.noteButtons);
        EXPECT_EQ(history()->backupBlock()->isVisible(), each.backup);
        EXPECT_TRUE(history()->restoreButton()->isEnabled());
    }

    OpenedUrls opened;
    select(sourceOf(expected.first().body));
    history()->openButton()->click();
    history()->viewBackupButton()->click();
    ASSERT_EQ(opened.urls.size(), 2);
    EXPECT_EQ(opened.urls.at(0), QUrl::fromLocalFile(kept));
    EXPECT_TRUE(opened.urls.at(1).toLocalFile().endsWith(".md"));
    EXPECT_TRUE(opened.urls.at(1).toLocalFile().contains("/Backups/"));
}

TEST_F(HistoryViewTest, ExportsCopyTheBytesAndSayWhyTheyFail)
{
    const QString note = session.data.folder("Notes") + "/note.md";
    const QByteArray bytes = QByteArray("# Titre\n\nTexte é\0 binaire\n", 26);
    DataFolder::write(note, bytes);
    deliver(archived("Exportée", 1000), note, true);
    openHistory();
    select(history()->entries().first().source);

    exportTo = session.data.folder("Exports") + "/copie.md";
    DataFolder::write(*exportTo, "ancien contenu plus long que la note");
    history()->exportButton()->click();
    EXPECT_EQ(DataFolder::read(*exportTo), bytes);
    history()->exportBackupButton()->click();
    EXPECT_EQ(DataFolder::read(*exportTo), "avant l’ajout");
    EXPECT_EQ(proposedNames.first(), "note.md");

    exportTo = session.data.folder("Exports") + "/absent/copie.md";
    history()->exportButton()->click();
    ASSERT_TRUE(history()->message().has_value());
    EXPECT_TRUE(history()->messageLabel()->isVisible());
    exportTo = std::nullopt;   // cancelled: nothing written, nothing said
    refresh();
    history()->exportButton()->click();
    EXPECT_FALSE(history()->messageLabel()->isVisible());
}

TEST_F(HistoryViewTest, RestoringAnEmptyDraftNeedsNoQuestion)
{
    deliver(archived("À reprendre", 1000), "/nowhere/gone.md");
    openHistory();
    select(history()->entries().first().source);
    history()->restoreButton()->click();
    EXPECT_EQ(question(), nullptr);
    EXPECT_EQ(restored, 1);
    EXPECT_EQ(session.draft().body, "À reprendre");
}

TEST_F(HistoryViewTest, RestoringOverTextAsksAndArchivesTheDraftFirst)
{
    deliver(archived("À reprendre", 1000), "/nowhere/gone.md");
    openHistory();
    session.type("Brouillon en cours");
    select(history()->entries().first().source);

    history()->restoreButton()->click();
    ASSERT_NE(question(), nullptr);
    buttonTitled(*question(), "Annuler")->click();
    turn();
    EXPECT_EQ(restored, 0);
    EXPECT_EQ(session.draft().body, "Brouillon en cours");

    history()->restoreButton()->click();
    ASSERT_NE(question(), nullptr);
    buttonTitled(*question(), "Archiver puis remplacer")->click();
    turn();
    EXPECT_EQ(restored, 1);
    EXPECT_EQ(session.draft().body, "À reprendre");
    refresh();
    EXPECT_FALSE(sourceOf("Brouillon en cours").isEmpty());
}

TEST_F(HistoryViewTest, AnAnswerGivenWhileACaptureIsSentRestoresNothing)
{
    deliver(archived("À reprendre", 1000), "/nowhere/gone.md");
    openHistory();
    session.type("Envoyée pendant la question");
    select(history()->entries().first().source);
    history()->restoreButton()->click();
    ASSERT_NE(question(), nullptr);

    model().submit();
    ASSERT_TRUE(model().saving());
    EXPECT_FALSE(history()->restoreButton()->isEnabled());
    buttonTitled(*question(), "Archiver puis remplacer")->click();
    EXPECT_EQ(restored, 0);
    session.waitForDelivery();
    EXPECT_NE(session.draft().body, "À reprendre");
    EXPECT_TRUE(history()->restoreButton()->isEnabled());
}

TEST_F(HistoryViewTest, ReloadsKeepTheSelectionAndFollowNewDeliveries)
{
    deliver(archived("Ancienne", 1000), "/nowhere/old.md");
    openHistory();
    const QString selected = history()->entries().first().source;
    select(selected);

    deliver(archived("Plus récente", 2000), "/nowhere/new.md");
    refresh();
    ASSERT_EQ(history()->entries().size(), 2);
    EXPECT_EQ(history()->selected()->source, selected);
    EXPECT_EQ(history()->list()->currentIndex().row(), 1);

    // A delivery while the list is shown lists it without "Actualiser".
    session.type("Livrée à l’instant");
    model().submit();
    session.waitForDelivery();
    ASSERT_TRUE(model().latestReceipt().has_value());
    listed();
    EXPECT_EQ(history()->entries().size(), 3);
    EXPECT_EQ(history()->selected()->source, selected);
}

// A history keeps every image ever sent: the list is read in the background
// from the entries' summaries, without their images, and the record a
// restore needs is read whole once its entry is selected.
TEST_F(HistoryViewTest, TheListHoldsSummariesAndARestoreBringsBackTheWholeRecord)
{
    Capture photo = archived("Photo du chantier", 2000);
    const QByteArray image(5 * 1024 * 1024, '\x42');
    photo.attachments.append(CaptureAttachment(QUuid::createUuid(), image, "png"));
    photo.body += "\n" + photo.attachments.first().token();
    deliver(photo, "/nowhere/photo.md");
    Capture compactCopy = archived("Copie compacte", 1000);
    compactCopy.attachments.append(CaptureAttachment(QUuid::createUuid(), QByteArray("abc"), "png"));
    session.data.put("Recovered/compact.json", QJsonDocument(compactCopy.toJson()).toJson(QJsonDocument::Compact));
    openHistory();

    history()->reload();
    EXPECT_TRUE(history()->isListing());
    EXPECT_TRUE(history()->busyIndicator()->isVisible());
    listed();
    EXPECT_FALSE(history()->busyIndicator()->isVisible());
    ASSERT_EQ(history()->entries().size(), 2);
    for (const ArchivedCapture& entry : history()->entries())
        EXPECT_TRUE(entry.capture.attachments.isEmpty());

    history()->select(sourceOf(photo.body));
    EXPECT_EQ(history()->bodyView()->toPlainText(), photo.body);
    EXPECT_FALSE(history()->restoreButton()->isEnabled());   // until the record is in
    ASSERT_TRUE(waitUntil([&] { return history()->restoreButton()->isEnabled(); }));
    history()->restoreButton()->click();
    EXPECT_EQ(restored, 1);
    const Capture draft = session.draft();
    ASSERT_EQ(draft.attachments.size(), 1);
    EXPECT_EQ(draft.attachments.first().data, image);
}

// A text longer than a summary holds is listed all the same, saying so, and
// its record restores whole.
TEST_F(HistoryViewTest, ACaptureTooLongForTheListIsListedSayingSoAndRestoresWhole)
{
    const Capture longText = archived(QString(33 * 1024 * 1024, u'a'), 2000);
    deliver(longText, "/nowhere/long.md");
    deliver(archived("Courte", 1000), "/nowhere/short.md");
    openHistory();
    ASSERT_EQ(history()->entries().size(), 2);
    const QString standIn = "Texte trop long pour être affiché ici : restaure la capture pour le retrouver.";
    EXPECT_EQ(history()->list()->model()->index(0, 0).data().toString(), standIn);
    select(history()->entries().constFirst().source);
    EXPECT_EQ(history()->bodyView()->toPlainText(), standIn);
    ASSERT_TRUE(history()->restoreButton()->isEnabled());
    history()->restoreButton()->click();
    EXPECT_EQ(restored, 1);
    EXPECT_EQ(session.draft().body, longText.body);
}

TEST(HistoryListModelTest, ThePreviewNeverCutsACharacterApart)
{
    const QString a89(89, u'a');
    const QString decomposed = QStringLiteral("e\u0301");
    const QString emoji = QStringLiteral("\U0001F600");
    const QList<std::pair<QString, QString>> cases = {
        {QString(90, u'a'), QString(90, u'a')},
        {QString(95, u'a'), QString(90, u'a')},
        {a89 + decomposed + "suite", a89},
        {a89 + emoji + "suite", a89},
        {QString(88, u'a') + decomposed + "suite", QString(88, u'a') + decomposed},
    };
    for (const auto& [body, expected] : cases)
        EXPECT_EQ(HistoryListModel::preview(body), expected) << body.size();
}

} // namespace
} // namespace quillor::test
