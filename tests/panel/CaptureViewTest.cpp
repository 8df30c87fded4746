#include "PanelTestSupport.h"

#include "editor/CaptureTextView.h"
#include "editor/ImageIntake.h"
#include "panel/CaptureChrome.h"
#include "panel/CaptureNotice.h"
#include "panel/CaptureSendButton.h"

#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPromise>
#include <QPushButton>
#include <QScopeGuard>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTextCursor>
#include <QTimer>

#include <algorithm>

namespace quillor {
namespace {

using namespace test;
using namespace std::chrono_literals;

TEST(CaptureViewTest, CaptureIsOfferedOnlyForContentThatRoutesSomewhere)
{
    const struct {
        const char* typed;
        bool enabled;
    } cases[] = {
        {"", false},
        {"a", true},
        {"   ", false},               // blank once trimmed
        {"@zz hi", false},            // names no destination
        {"@n hi", true},              // the alias of the one destination
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        PanelSession s;
        s.open();
        s.typeInEditor(QString::fromUtf8(c.typed));
        EXPECT_EQ(s.model->content().text, QString::fromUtf8(c.typed));
        EXPECT_EQ(s.enabled("captureButton"), c.enabled);
    }
}

TEST(CaptureViewTest, CancelKeepsTheTextAndWhileSavingTheChromeIsFrozenAndTheButtonShowsProgress)
{
    PanelSession s;
    QPromise<QString> delivery;
    AppModel::Environment environment = environmentWith(s.clock);
    environment.deliver = [&](const Capture&, const Destination&) {
        delivery.start();
        return delivery.future();
    };
    s.open(environment);
    s.typeInEditor(QStringLiteral("idée"));
    // Cancelling hides the panel and keeps the text.
    s.click("cancelButton");
    EXPECT_EQ(s.hides, 1);
    EXPECT_EQ(s.view->editor()->toPlainText(), QStringLiteral("idée"));
    EXPECT_EQ(s.model->content().text, QStringLiteral("idée"));
    auto* send = s.part<CaptureSendButton>("captureButton");
    EXPECT_EQ(send->title(), "Capturer");
    EXPECT_FALSE(send->isSpinnerShown());
    const QList<QLabel*> labels = send->findChildren<QLabel*>();
    EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [](QLabel* label) { return label->text() == "Ctrl+↵"; }))
        << "the gesture names the Linux keys";

    s.click("captureButton");
    ASSERT_TRUE(s.model->saving());
    s.settle();
    for (const char* frozen : {"attachButton", "cancelButton", "captureButton", "destinationButton"})
        EXPECT_FALSE(s.enabled(frozen)) << frozen;
    // No destination is chosen while saving: the menu does not open.
    auto* destination = s.part<QPushButton>("destinationButton");
    QSignalSpy menuShown(destination->menu(), &QMenu::aboutToShow);
    QTimer::singleShot(100, [] {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    });
    s.click("destinationButton");
    EXPECT_EQ(menuShown.count(), 0);
    EXPECT_EQ(send->title(), "Enregistrement…");
    EXPECT_TRUE(send->isSpinnerShown());

    delivery.addResult(s.vault + QStringLiteral("/Inbox/note.md"));
    delivery.finish();
    s.waitForDelivery();
    s.settle();
    EXPECT_EQ(send->title(), "Capturer");
    EXPECT_FALSE(send->isSpinnerShown());
    EXPECT_TRUE(s.enabled("cancelButton"));
    // The delivered draft gave way to an empty one: nothing to capture.
    EXPECT_FALSE(s.enabled("captureButton"));
}

TEST(CaptureViewTest, TheNoticeShowsTheMostPressingMessageInItsStyle)
{
    enum Problem { none = 0, operation = 1, draftSaving = 2, missingFolder = 4 };
    const struct {
        const char* name;
        int problems;
        bool shown, warning, repair;
        const char* message;   // "" for the draft-saving or destination message
    } cases[] = {
        {"all well", none, false, false, false, ""},
        {"operation error", operation, true, false, false, "Erreur X"},
        {"draft saving beats the operation", operation | draftSaving, true, false, false, ""},
        {"missing folder is a warning with repair", missingFolder, true, true, true, ""},
        {"draft saving beats the folder, no repair", draftSaving | missingFolder, true, false, false, ""},
        {"operation error keeps the repair", operation | missingFolder, true, false, true, "Erreur X"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PanelSession s;
        if (c.problems & missingFolder)
            s.data.put("preferences.json", preferencesWith({PanelSession::notes(s.vault + "/Gone")}).encode());
        s.open();
        if (c.problems & operation)
            s.model->setError(QStringLiteral("Erreur X"));
        if (c.problems & draftSaving) {
            // A folder where the file should go: even root cannot replace it.
            ASSERT_TRUE(QDir().mkpath(s.data.file("draft.json") + "/inside"));
            s.typeInEditor("x");
            s.model->persistDraft();
            ASSERT_TRUE(s.model->draftPersistenceError());
        }
        s.settle();

        ASSERT_EQ(s.shown("notice"), c.shown);
        if (!c.shown)
            continue;
        const CaptureNotice::State state = s.part<CaptureNotice>("notice")->state();
        QString expected = QString::fromUtf8(c.message);
        if (expected.isEmpty())
            expected = (c.problems & draftSaving) ? *s.model->draftPersistenceError()
                                                  : s.model->captureDestinationError().value_or("?");
        EXPECT_EQ(state.message, expected);
        EXPECT_EQ(s.part<QLabel>("noticeMessage")->text(), expected);
        EXPECT_EQ(state.isRoutingWarning, c.warning);
        EXPECT_EQ(s.shown("noticeRepairButton"), c.repair);
    }
}

// Seen by watching the folder: the user need not type for the notice to
// come, nor to go once the folder is back.
TEST(CaptureViewTest, TheNoticeFollowsTheFolderOnDiskWithoutAKey)
{
    PanelSession s;
    s.open();
    s.typeInEditor("Idée");
    ASSERT_FALSE(s.shown("notice"));

    ASSERT_TRUE(QDir(s.vault).removeRecursively());
    ASSERT_TRUE(waitUntil([&] { return s.shown("notice"); }));
    EXPECT_EQ(s.part<QLabel>("noticeMessage")->text(), "Choisis un dossier de notes existant.");
    EXPECT_TRUE(s.shown("noticeRepairButton"));

    QDir().mkpath(s.vault);
    EXPECT_TRUE(waitUntil([&] { return !s.shown("notice"); }));
}

TEST(CaptureViewTest, AFailedIndexShowsItsStatusLineUntilCompletionsExist)
{
    PanelSession s;
    const QString later = s.vault + "/Later";
    s.data.put("preferences.json", preferencesWith({PanelSession::notes(later)}).encode());
    s.open();
    ASSERT_TRUE(waitUntil([&] { return s.model->indexState().kind() == IndexState::Kind::failed; }));
    EXPECT_FALSE(s.shown("indexStatusLine"));

    s.typeInEditor("[[");
    ASSERT_TRUE(s.model->completionContext());
    EXPECT_TRUE(s.shown("indexStatusLine"));
    EXPECT_EQ(s.part<QLabel>("indexStatusLabel")->text(), s.model->indexState().label());
    EXPECT_TRUE(s.shown("retryIndexButton"));
    EXPECT_TRUE(s.shown("chooseFolderButton"));

    s.click("chooseFolderButton");
    EXPECT_EQ(s.settingsOpened, 1);

    // The folder appears; retrying indexes it.
    DataFolder::write(later + "/Projet.md", "# Projet\n");
    s.click("retryIndexButton");
    EXPECT_EQ(s.model->indexState(), IndexState::loading());
    s.settle();
    EXPECT_EQ(s.part<QLabel>("indexStatusLabel")->text(), "Indexation…");
    EXPECT_FALSE(s.shown("retryIndexButton"));
    ASSERT_TRUE(waitUntil([&] { return s.model->indexState() == IndexState::ready(1); }));
    s.model->suggestions(s.view->editor()->selectionRange());
    s.settle();
    ASSERT_FALSE(s.model->completions().isEmpty());
    EXPECT_FALSE(s.shown("indexStatusLine"));
}

TEST(CaptureViewTest, TheChromeGrowsWithItsRowsAndAsksForAFit)
{
    PanelSession s;
    CaptureView& view = s.open();
    // Divider and action row: with the drag strip and one line of text this
    // is the panel's smallest height.
    EXPECT_EQ(view.chromeHeight(), 47);

    QSignalSpy fits(&view, &CaptureView::contentFitRequested);
    s.model->setError(QStringLiteral("Une erreur assez longue pour que le message passe sur plusieurs lignes "
                                     "dans un panneau de largeur ordinaire."));
    s.settle();
    EXPECT_GT(view.chromeHeight(), 47 + 20);
    EXPECT_GE(fits.count(), 1);

    s.model->setError(std::nullopt);
    s.settle();
    EXPECT_EQ(view.chromeHeight(), 47);
}

TEST(CaptureViewTest, OnlyAttachmentsThatDecodeGetATileAndTilesCallTheModel)
{
    PanelSession s;
    const CaptureAttachment broken(QUuid::createUuid(), QByteArray("not an image"), "png");
    const CaptureAttachment picture(QUuid::createUuid(), imageBytes(qRgb(200, 30, 30)), "png");
    Capture draft = storedDraft(broken.token() + "\n" + picture.token());
    draft.attachments = {broken, picture};
    draft.imageReferences = QList<ImageReference>{{broken.id, "Attachments/broken.png", std::nullopt},
                                                  {picture.id, "Attachments/picture.png", std::nullopt}};
    s.data.put("draft.json", bytesOf(draft));
    s.open();
    ASSERT_EQ(s.model->currentAttachments().size(), 2);

    EXPECT_TRUE(s.shown("attachmentStrip"));
    const QList<QWidget*> tiles = s.view->findChildren<QWidget*>("attachmentTile");
    ASSERT_EQ(tiles.size(), 1);
    auto* thumbnail = tiles[0]->findChild<QAbstractButton*>("attachmentThumbnail");
    auto* badge = tiles[0]->findChild<QAbstractButton*>("attachmentRemoveBadge");
    EXPECT_EQ(thumbnail->accessibleName(), "Agrandir l’image Attachments/picture.png");
    EXPECT_EQ(badge->accessibleName(), "Supprimer l’image Attachments/picture.png");

    std::optional<QUuid> previewed, removed;
    s.model->onPreviewImage = [&](const CaptureAttachment& a) { previewed = a.id; };
    // As the editor does: the image's text goes, and with it the tile whose
    // badge is still handling the click.
    s.model->onRemoveImage = [&](const QUuid& id) {
        removed = id;
        s.view->editor()->setContent(EditorContent::plain("plus d’image"));
        s.model->updateContent(s.view->editor()->content());
    };
    QTest::mouseClick(thumbnail, Qt::LeftButton);
    EXPECT_EQ(previewed, picture.id);
    QTest::mouseClick(badge, Qt::LeftButton);
    EXPECT_EQ(removed, picture.id);
    s.settle();
    EXPECT_FALSE(s.shown("attachmentStrip"));
    EXPECT_TRUE(s.view->findChildren<QWidget*>("attachmentTile").isEmpty());
}

// Ctrl+V with the clipboard holding PNG bytes.
void pasteImage(const PanelSession& s, QRgb colour)
{
    auto* mime = new QMimeData;
    mime->setData(QStringLiteral("image/png"), imageBytes(colour));
    QApplication::clipboard()->setMimeData(mime);
    QTest::keyClick(s.view->editor(), Qt::Key_V, Qt::ControlModifier);
}

TEST(CaptureViewTest, TheCaptureButtonShowsProgressWhileItsSendWaitsForImagesBeingRead)
{
    PanelSession s;
    int deliveries = 0;
    AppModel::Environment environment = environmentWith(s.clock);
    environment.deliver = [&](const Capture&, const Destination&) {
        ++deliveries;
        return QtFuture::makeReadyFuture(s.vault + QStringLiteral("/Inbox/note.md"));
    };
    s.open(environment);
    auto gate = std::make_shared<QSemaphore>();
    const auto unblock = qScopeGuard([gate] { gate->release(1000); });
    s.view->editor()->setImageReader([gate](const ImageIntakeQueue::Request& request) {
        gate->acquire();
        return ImageIntakeQueue::read(request);
    });
    s.typeInEditor(QStringLiteral("photo "));
    pasteImage(s, qRgb(9, 9, 9));
    s.click("captureButton");
    s.settle();
    auto* send = s.part<CaptureSendButton>("captureButton");
    EXPECT_EQ(send->title(), "Enregistrement…");
    EXPECT_TRUE(send->isSpinnerShown());
    EXPECT_EQ(deliveries, 0);
    gate->release();
    ASSERT_TRUE(waitUntil([&] { return deliveries == 1 && !s.model->saving(); }));
    EXPECT_EQ(s.model->error(), std::nullopt);
}

TEST(CaptureViewTest, ImagesDroppedOntoTheThumbnailsGoToTheTextsEnd)
{
    PanelSession s;
    s.open();
    s.typeInEditor(QStringLiteral("début "));
    pasteImage(s, qRgb(9, 9, 9));
    ASSERT_TRUE(waitUntil([&] { return !s.view->editor()->isReadingImages(); }));
    s.settle();
    ASSERT_TRUE(s.shown("attachmentStrip"));
    s.view->editor()->setSelectionRange({0, 0});

    const QString file = s.data.folder(QStringLiteral("Files")) + QStringLiteral("/b.png");
    DataFolder::write(file, imageBytes(qRgb(7, 7, 7)));
    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(file)});
    QWidget* strip = s.part<QAbstractScrollArea>("attachmentStrip")->viewport();
    const QPoint at = strip->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(strip, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(strip, &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(drop.dropAction(), Qt::CopyAction);
    ASSERT_TRUE(waitUntil([&] { return !s.view->editor()->isReadingImages(); }));
    s.settle();

    QString embeds;
    for (const ImageReference& reference : s.model->imageReferences())
        embeds += reference.source() + u'\n';
    ASSERT_EQ(s.model->currentAttachments().size(), 2);
    EXPECT_EQ(s.model->content().text, QStringLiteral("début ") + embeds);
    EXPECT_EQ(s.view->findChildren<QWidget*>("attachmentTile").size(), 2);
}

// The strip above the text is a few pixels high: an image dropped on it goes
// where the same drop on the text's first line would, whatever the x.
TEST(CaptureViewTest, AnImageDroppedOnTheStripAboveTheTextGoesIntoTheFirstLine)
{
    const auto dropped = [](bool onStrip, int x) {
        PanelSession s;
        s.open();
        CaptureTextView* editor = s.view->editor();
        editor->setContent(EditorContent::plain(QStringLiteral("un deux\ntrois")));
        editor->setSelectionRange({13, 0});
        s.settle();
        const QString file = s.data.folder(QStringLiteral("Files")) + QStringLiteral("/b.png");
        DataFolder::write(file, imageBytes(qRgb(7, 7, 7)));
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(file)});
        QWidget* target = onStrip ? s.part("dragStrip") : editor->viewport();
        const QPoint at(x, onStrip ? 1 : editor->cursorRect(QTextCursor(editor->document())).center().y());
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
        EXPECT_TRUE(drop.isAccepted());
        EXPECT_EQ(drop.dropAction(), Qt::CopyAction);
        EXPECT_TRUE(waitUntil([&] { return !editor->isReadingImages(); }));
        s.settle();
        QString text = s.model->content().text;
        for (const ImageReference& reference : s.model->imageReferences())
            text.replace(reference.source(), QStringLiteral("<image>"));
        return text;
    };
    for (const int x : {12, 30, 400}) {
        SCOPED_TRACE(x);
        const QString onText = dropped(false, x);
        EXPECT_TRUE(onText.contains(QStringLiteral("<image>")) && onText.endsWith(QStringLiteral("trois")))
            << onText.toStdString();
        EXPECT_EQ(dropped(true, x), onText);
    }
}

TEST(CaptureViewTest, EachNewNoticeIsAnnouncedOnceButNotTheOneShownAtFirst)
{
    PanelSession s;
    s.data.put("preferences.json", preferencesWith({PanelSession::notes(s.vault)}).encode());
    s.launch();
    s.model->setError(QStringLiteral("déjà là"));
    CaptureView view(*s.model);
    view.show();
    QStringList announcements;
    QObject::connect(view.chrome(), &CaptureChrome::noticeAnnounced,
                     [&](const QString& notice) { announcements << notice; });
    // The chrome looks once per turn of the event loop, whatever the model
    // said meanwhile.
    s.model->setError(QStringLiteral("A"));
    s.model->setError(QStringLiteral("A"));
    s.settle();
    view.chrome()->sync();
    s.model->setError(std::nullopt);
    s.model->setError(QStringLiteral("B"));
    s.settle();
    EXPECT_EQ(announcements, QStringList({"A", "B"}));
}

} // namespace
} // namespace quillor
