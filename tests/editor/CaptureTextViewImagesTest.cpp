#include "CaptureEditorBench.h"

#include "editor/ImageIntake.h"
#include "editor/ImagePreviewWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QMimeData>
#include <QPromise>
#include <QScreen>
#include <QSemaphore>
#include <QTimer>

#include <future>
#include <thread>

namespace quillor {
namespace {

using namespace test;

const QString tooLarge = QStringLiteral("Cette image dépasse 50 Mo.");

struct ImageBench : CaptureEditorBench {
    using CaptureEditorBench::CaptureEditorBench;

    QString files = session.data.folder(QStringLiteral("Files"));

    QString file(const QString& name, const QByteArray& bytes) const
    {
        const QString path = files + u'/' + name;
        DataFolder::write(path, bytes);
        return path;
    }
    // Ctrl+V with the clipboard holding `mime`, then the images read.
    void paste(QMimeData* mime)
    {
        QApplication::clipboard()->setMimeData(mime);
        key(Qt::Key_V, Qt::ControlModifier);
        settle();
    }
    void settle() { ASSERT_TRUE(waitUntil([&] { return !view->isReadingImages(); }, std::chrono::seconds(30))); }
    void drop(QMimeData* mime, QPointF at)
    {
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction | Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view->viewport(), &enter);
        dragAccepted = enter.isAccepted();
        QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view->viewport(), &drop);
        dropAccepted = drop.isAccepted();
        settle();
    }
    // The embed text the model gave each current attachment, in order.
    QString embeds() const
    {
        QString text;
        for (const CaptureAttachment& attachment : model->currentAttachments()) {
            for (const ImageReference& reference : model->imageReferences()) {
                if (reference.attachmentID == attachment.id)
                    text += reference.source();
            }
        }
        return text;
    }

    // Reads wait until released, as a large image takes a while to read.
    void holdReads()
    {
        view->setImageReader([gate = gate](const ImageIntakeQueue::Request& request) {
            gate->acquire();
            return ImageIntakeQueue::read(request);
        });
    }
    void releaseReads() { gate->release(); }

    ~ImageBench() { gate->release(1000); }

    bool dragAccepted = false;
    bool dropAccepted = false;
    std::shared_ptr<QSemaphore> gate = std::make_shared<QSemaphore>();
};

QMimeData* mimeWithUrls(const QStringList& paths, const QString& text = {})
{
    auto* mime = new QMimeData;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls.append(QUrl::fromLocalFile(path));
    mime->setUrls(urls);
    if (!text.isNull())
        mime->setText(text);
    return mime;
}

QMimeData* mimeWithData(const QString& type, const QByteArray& bytes)
{
    auto* mime = new QMimeData;
    mime->setData(type, bytes);
    return mime;
}

// A PNG header made `size` bytes long: it tells its size without decoding.
QByteArray pngOfSize(qsizetype size)
{
    QByteArray bytes = imageBytes(qRgb(1, 2, 3));
    bytes.resize(size, '\0');
    return bytes;
}

QSize decodedSize(const QByteArray& bytes)
{
    return QImage::fromData(bytes).size();
}

TEST(CaptureTextViewImagesTest, PastedImagesGoInAsOneStepKeptOrConvertedToPng)
{
    const QByteArray png = imageBytes(qRgb(200, 10, 10));
    const QByteArray jpeg = imageBytes(qRgb(10, 200, 10), "JPG");
    const QByteArray bmp = imageBytes(qRgb(10, 10, 200), "BMP");
    const QByteArray tiff = imageBytes(qRgb(90, 90, 90), "TIFF");
    QImage decoded(4, 3, QImage::Format_RGB32);
    decoded.fill(Qt::yellow);
    struct Case {
        const char* name;
        std::function<QMimeData*(ImageBench&)> mime;
        QString extension;
        std::optional<QByteArray> keptBytes;   // else PNG of the image's size
        QSize size;
    };
    const Case cases[] = {
        {"PNG data", [&](ImageBench&) { return mimeWithData("image/png", png); }, "png", png, {3, 2}},
        {"TIFF data only", [&](ImageBench&) { return mimeWithData("image/tiff", tiff); }, "png", {}, {3, 2}},
        {"a decoded image only",
         [&](ImageBench&) {
             auto* mime = new QMimeData;
             mime->setImageData(decoded);
             return mime;
         },
         "png", {}, {4, 3}},
        {"a JPG file", [&](ImageBench& b) { return mimeWithUrls({b.file("Photo.JPG", jpeg)}); }, "jpg", jpeg, {3, 2}},
        {"a BMP file", [&](ImageBench& b) { return mimeWithUrls({b.file("scan.bmp", bmp)}); }, "png", {}, {3, 2}},
        {"non-image files beside PNG data",
         [&](ImageBench& b) {
             QMimeData* mime = mimeWithUrls({b.file("notes.txt", "texte"), b.file("faux.png", "pas une image")});
             mime->setData("image/png", png);
             return mime;
         },
         "png", png, {3, 2}},
        {"exactly 50,000,000 bytes", [&](ImageBench& b) { return mimeWithUrls({b.file("big.png", pngOfSize(50'000'000))}); },
         "png", {}, {3, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ImageBench bench;
        bench.type(QStringLiteral("x"));
        bench.paste(c.mime(bench));
        const QList<CaptureAttachment> attachments = bench.model->currentAttachments();
        ASSERT_EQ(attachments.size(), 1);
        EXPECT_EQ(attachments.first().fileExtension, c.extension);
        if (c.keptBytes) {
            EXPECT_EQ(attachments.first().data, *c.keptBytes);
        } else {
            EXPECT_TRUE(attachments.first().data.startsWith("\x89PNG"));
        }
        EXPECT_EQ(decodedSize(attachments.first().data), c.size);
        EXPECT_EQ(bench.text(), QStringLiteral("x") + bench.embeds() + u'\n');
        EXPECT_EQ(bench.view->selectionRange(), (TextRange{bench.text().size(), 0}));
        EXPECT_EQ(bench.undoText(), QStringLiteral("Ajouter des images"));
        EXPECT_EQ(bench.session.onDiskOnce([](const Capture& draft) { return !draft.attachments.isEmpty(); })
                      .attachments.size(),
                  1);
        bench.key(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(bench.text(), QStringLiteral("x"));
    }
}

TEST(CaptureTextViewImagesTest, AnImageOverTheLimitRefusesTheWholePasteUnread)
{
    struct Case {
        const char* name;
        std::function<QString(ImageBench&)> file;
        bool refused;
    };
    const Case cases[] = {
        {"50,000,001 bytes", [](ImageBench& b) { return b.file("big.png", pngOfSize(50'000'001)); }, true},
        {"a sparse 5 GB image",
         [](ImageBench& b) {
             const QString path = b.file("huge.png", imageBytes(qRgb(1, 1, 1)));
             QFile(path).resize(5'000'000'000);
             return path;
         },
         true},
        // Not an image: skipped, and the text goes in instead.
        {"a sparse 5 GB file",
         [](ImageBench& b) {
             const QString path = b.file("disk.img", "x");
             QFile(path).resize(5'000'000'000);
             return path;
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ImageBench bench;
        const QString small = bench.file("small.png", imageBytes(qRgb(5, 5, 5)));
        bench.paste(mimeWithUrls({small, c.file(bench)}, QStringLiteral("repli")));
        if (c.refused) {
            EXPECT_EQ(bench.model->error(), tooLarge);
            EXPECT_EQ(bench.text(), QString());
            EXPECT_TRUE(bench.model->imageReferences().isEmpty());
        } else {
            EXPECT_EQ(bench.model->currentAttachments().size(), 1);
        }
    }
}

TEST(CaptureTextViewImagesTest, TextIsPastedAsTypingWithItsLineEndsMadeOne)
{
    ImageBench bench;
    auto* crlf = new QMimeData;
    crlf->setText(QStringLiteral("a\r\nb\rc"));
    bench.paste(crlf);
    EXPECT_EQ(bench.text(), QStringLiteral("a\nb\nc"));
    EXPECT_EQ(bench.view->selectionRange(), (TextRange{5, 0}));
    EXPECT_EQ(bench.undoText(), QStringLiteral("Saisir"));

    // No image among the files: the text offered with them goes in.
    bench.paste(mimeWithUrls({bench.file("notes.txt", "texte")}, QStringLiteral("x")));
    EXPECT_EQ(bench.text(), QStringLiteral("a\nb\ncx"));
    EXPECT_TRUE(bench.model->imageReferences().isEmpty());
}

TEST(CaptureTextViewImagesTest, ARichPasteKeepsItsTextAndDataPicturesInOneStep)
{
    const QString picture = QStringLiteral("data:image/png;base64,") + QString::fromLatin1(imageBytes(qRgb(9, 9, 9)).toBase64());
    // Its media type names a JPEG's extension; a BMP becomes PNG.
    const QString jpeg = QStringLiteral("data:image/jpeg;base64,") + QString::fromLatin1(imageBytes(qRgb(9, 9, 9), "JPG").toBase64());
    const QString bmp = QStringLiteral("data:image/bmp;base64,") + QString::fromLatin1(imageBytes(qRgb(9, 9, 9), "BMP").toBase64());
    ImageBench bench;
    auto* kinds = new QMimeData;
    kinds->setHtml(QStringLiteral("<img src=\"%1\"><img src=\"%2\">").arg(jpeg, bmp));
    bench.paste(kinds);
    QStringList extensions;
    for (const CaptureAttachment& attachment : bench.model->currentAttachments())
        extensions.append(attachment.fileExtension);
    EXPECT_EQ(extensions, (QStringList{QStringLiteral("jpg"), QStringLiteral("png")}));
    bench.view->setContent(EditorContent());

    auto* rich = new QMimeData;
    rich->setHtml(QStringLiteral("<p>avant<img src=\"%1\">après</p><p>fin</p>").arg(picture));
    rich->setText(QStringLiteral("texte seul"));
    bench.paste(rich);
    ASSERT_EQ(bench.model->currentAttachments().size(), 1);
    EXPECT_EQ(bench.model->currentAttachments().first().fileExtension, QStringLiteral("png"));
    EXPECT_EQ(bench.text(), QStringLiteral("avant") + bench.embeds() + QStringLiteral("après\nfin"));
    EXPECT_EQ(bench.undoText(), QStringLiteral("Coller la capture"));
    EXPECT_EQ(bench.steps(), 1);

    // Pictures elsewhere are never read: the text alone goes in.
    const QString local = bench.file("local.png", imageBytes(qRgb(1, 2, 3)));
    auto* file = new QMimeData;
    file->setHtml(QStringLiteral("<p>a<img src=\"%1\">b</p>").arg(QUrl::fromLocalFile(local).toString()));
    file->setText(QStringLiteral("ab"));
    bench.paste(file);
    EXPECT_EQ(bench.model->currentAttachments().size(), 1);
    EXPECT_TRUE(bench.text().endsWith(QStringLiteral("finab")));

    // A picture that does not decode refuses the whole paste.
    auto* broken = new QMimeData;
    broken->setHtml(QStringLiteral("x<img src=\"data:image/png;base64,AAAA\">y"));
    bench.paste(broken);
    EXPECT_EQ(bench.model->error(),
              QStringLiteral("Une pièce jointe du presse-papiers est illisible ou dépasse 50 Mo. Le brouillon est conservé."));
    EXPECT_TRUE(bench.text().endsWith(QStringLiteral("finab")));
}

TEST(CaptureTextViewImagesTest, ADropLandsWhereItFallsAndCopies)
{
    ImageBench bench;
    bench.set(QStringLiteral("abc"), TextRange{3, 0});
    bench.host.clearFocus();
    auto* text = new QMimeData;
    text->setText(QStringLiteral("xyz"));
    bench.drop(text, bench.view->cursorRect(QTextCursor(bench.view->document())).center());
    delete text;
    EXPECT_TRUE(bench.dragAccepted);
    EXPECT_TRUE(bench.dropAccepted);
    EXPECT_EQ(bench.text(), QStringLiteral("xyzabc"));
    EXPECT_EQ(bench.view->selectionRange(), (TextRange{3, 0}));
    EXPECT_TRUE(bench.view->hasFocus());

    QMimeData* image = mimeWithUrls({bench.file("a.png", imageBytes(qRgb(7, 7, 7)))});
    bench.drop(image, QPointF(4, 4));
    delete image;
    EXPECT_EQ(bench.model->currentAttachments().size(), 1);
    EXPECT_TRUE(bench.text().startsWith(bench.embeds()));
}

TEST(CaptureTextViewImagesTest, ASendAskedForWhileImagesAreReadWaitsForThemAndDeliversThem)
{
    const struct {
        const char* name;
        const char* typed;
        bool button;   // the send button, else Ctrl+Return
    } cases[] = {
        {"Ctrl+Return", "voici la photo ", false},
        {"the send button", "voici la photo ", true},
        {"an image alone", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto held = std::make_shared<QPromise<QString>>();
        auto delivered = std::make_shared<QList<Capture>>();
        AppModel::Environment environment = environmentWith(ManualClock());
        environment.deliver = [held, delivered](const Capture& capture, const Destination&) {
            delivered->append(capture);
            held->start();
            return held->future();
        };
        ImageBench bench(environment);
        bench.holdReads();
        bench.type(QString::fromUtf8(c.typed));
        const QString bmp = bench.file("photo.bmp", imageBytes(qRgb(10, 10, 200), "BMP"));
        QApplication::clipboard()->setMimeData(mimeWithUrls({bmp}));
        bench.key(Qt::Key_V, Qt::ControlModifier);
        if (c.button)
            bench.model->submit();
        else
            bench.key(Qt::Key_Return, Qt::ControlModifier);
        // The send waits, shown as saving; nothing typed meanwhile goes in.
        EXPECT_TRUE(bench.model->saving());
        EXPECT_TRUE(bench.view->isReadOnly());
        bench.type(QStringLiteral("x"));
        QCoreApplication::processEvents();
        EXPECT_TRUE(delivered->isEmpty());

        bench.releaseReads();
        bench.settle();
        // Delivered once the draft with its image is saved, off the UI thread.
        ASSERT_TRUE(waitUntil([&] { return !delivered->isEmpty(); }, std::chrono::seconds(10)));
        ASSERT_EQ(delivered->size(), 1);
        const Capture& capture = delivered->first();
        ASSERT_EQ(capture.attachments.size(), 1);
        EXPECT_EQ(capture.attachments.first().fileExtension, QStringLiteral("png"));
        const QList<ImageReference> references = capture.imageReferences.value_or(QList<ImageReference>());
        ASSERT_EQ(references.size(), 1);
        EXPECT_EQ(capture.body, QString::fromUtf8(c.typed) + references.first().source() + u'\n');

        // Nothing reaches the draft while it is delivered.
        EXPECT_TRUE(bench.model->saving());
        QMimeData* dropped = mimeWithUrls({bmp});
        bench.drop(dropped, QPointF(20, 10));
        delete dropped;
        EXPECT_FALSE(bench.dragAccepted);
        EXPECT_FALSE(bench.dropAccepted);
        EXPECT_EQ(bench.text(), QString::fromUtf8(c.typed) + bench.embeds() + u'\n');
        held->addResult(bench.vault + QStringLiteral("/Inbox/note.md"));
        held->finish();
        bench.session.waitForDelivery();
        EXPECT_EQ(bench.model->error(), std::nullopt);
    }
}

TEST(CaptureTextViewImagesTest, ASendWaitingForAnImageThatCannotGoInIsCalledOffWithItsMessage)
{
    int deliveries = 0;
    AppModel::Environment environment = environmentWith(ManualClock());
    environment.deliver = [&deliveries](const Capture&, const Destination&) {
        ++deliveries;
        return QtFuture::makeReadyFuture(QString());
    };
    ImageBench bench(environment);
    bench.holdReads();
    bench.type(QStringLiteral("a"));
    QApplication::clipboard()->setMimeData(mimeWithUrls({bench.file("big.png", pngOfSize(50'000'001))}));
    bench.key(Qt::Key_V, Qt::ControlModifier);
    bench.key(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_TRUE(bench.model->saving());
    bench.releaseReads();
    bench.settle();
    QCoreApplication::processEvents();
    EXPECT_EQ(bench.model->error(), tooLarge);
    EXPECT_FALSE(bench.model->saving());
    EXPECT_FALSE(bench.view->isReadOnly());
    EXPECT_EQ(deliveries, 0);
    EXPECT_EQ(bench.text(), QStringLiteral("a"));
}

TEST(CaptureTextViewImagesTest, ImagesStillReadReachTheDraftBehindAHiddenPanelAndBeforeQuitting)
{
    ImageBench bench;
    bench.holdReads();
    bench.type(QStringLiteral("a"));
    QApplication::clipboard()->setMimeData(mimeWithData("image/png", imageBytes(qRgb(3, 3, 3))));
    bench.key(Qt::Key_V, Qt::ControlModifier);
    bench.host.hide();
    // Quitting waits for them.
    int imagesWhenQuitting = -1;
    bench.model->whenImagesRead([&] { imagesWhenQuitting = int(bench.model->currentAttachments().size()); });
    EXPECT_EQ(imagesWhenQuitting, -1);
    bench.releaseReads();
    bench.settle();
    EXPECT_EQ(imagesWhenQuitting, 1);
    EXPECT_EQ(bench.text(), QStringLiteral("a") + bench.embeds() + u'\n');
    EXPECT_EQ(bench.session.onDiskOnce([](const Capture& draft) { return !draft.attachments.isEmpty(); })
                  .attachments.size(),
              1);

    // A draft replaced as a whole meanwhile (a capture restored from the
    // history) does not receive them, and the user is told.
    QApplication::clipboard()->setMimeData(mimeWithData("image/png", imageBytes(qRgb(4, 4, 4))));
    bench.view->setFocus();
    bench.key(Qt::Key_V, Qt::ControlModifier);
    bench.view->setContent(EditorContent::plain(QStringLiteral("autre")));
    bench.releaseReads();
    bench.settle();
    EXPECT_EQ(bench.text(), QStringLiteral("autre"));
    EXPECT_EQ(bench.model->imageReferences().size(), 1);
    EXPECT_EQ(bench.model->error(),
              QStringLiteral("Une image n’a pas été ajoutée : le brouillon a été remplacé pendant sa lecture."));
}

// A file deleted between the paste and its read is told of, as a draft
// replaced meanwhile is; the other files and the paste's text still go in.
TEST(CaptureTextViewImagesTest, AFileDeletedBeforeItIsReadIsToldOf)
{
    const QString gone =
        QStringLiteral("Une image n’a pas été ajoutée : son fichier a été supprimé ou déplacé pendant sa lecture.");
    const struct {
        const char* name;
        bool keepOther;   // a second file stays
        const char* text; // the paste's text
        int images;
    } cases[] = {
        {"one of two", true, nullptr, 1},
        {"the only one, with text", false, "photo.png", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ImageBench bench;
        bench.holdReads();
        const QString deleted = bench.file("photo.png", imageBytes(qRgb(1, 2, 3)));
        QStringList offered{deleted};
        if (c.keepOther)
            offered.append(bench.file("kept.png", imageBytes(qRgb(4, 5, 6))));
        QApplication::clipboard()->setMimeData(
            mimeWithUrls(offered, c.text ? QString::fromUtf8(c.text) : QString()));
        bench.key(Qt::Key_V, Qt::ControlModifier);
        ASSERT_TRUE(QFile::remove(deleted));
        bench.releaseReads();
        bench.settle();
        EXPECT_EQ(bench.model->error(), gone);
        EXPECT_EQ(bench.model->currentAttachments().size(), c.images);
        EXPECT_EQ(bench.text(), c.images ? bench.embeds() + u'\n' : QString::fromUtf8(c.text ? c.text : ""));
    }
}

// Several files gone are told of once, with their number, whether they were
// offered together or by pastes read one after another.
TEST(CaptureTextViewImagesTest, FilesDeletedBeforeTheyAreReadAreCountedInOneMessage)
{
    const struct {
        const char* name;
        QList<QStringList> pastes;   // each paste's files; those named "gone…" are deleted
        QString message;
    } cases[] = {
        {"two of one paste",
         {{"gone1.png", "kept.png", "gone2.png"}},
         "2 images n’ont pas été ajoutées : leurs fichiers ont été supprimés ou déplacés pendant leur lecture."},
        {"one in each of three pastes",
         {{"gone1.png"}, {"kept.png", "gone2.png"}, {"gone3.png"}},
         "3 images n’ont pas été ajoutées : leurs fichiers ont été supprimés ou déplacés pendant leur lecture."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ImageBench bench;
        bench.holdReads();
        QStringList deleted;
        for (const QStringList& names : c.pastes) {
            QStringList offered;
            for (const QString& name : names) {
                offered.append(bench.file(name, imageBytes(qRgb(1, 2, 3))));
                if (name.startsWith(QStringLiteral("gone")))
                    deleted.append(offered.last());
            }
            QApplication::clipboard()->setMimeData(mimeWithUrls(offered));
            bench.key(Qt::Key_V, Qt::ControlModifier);
        }
        for (const QString& path : deleted)
            ASSERT_TRUE(QFile::remove(path));
        bench.releaseReads();
        bench.releaseReads();
        bench.releaseReads();
        bench.settle();
        EXPECT_EQ(bench.model->error(), c.message);
        EXPECT_EQ(bench.model->currentAttachments().size(), 1);
    }
    // Once the reads have caught up, a new loss is counted afresh.
    ImageBench bench;
    bench.holdReads();
    for (int paste = 0; paste < 2; ++paste) {
        const QString gone = bench.file(QStringLiteral("gone.png"), imageBytes(qRgb(1, 2, 3)));
        QApplication::clipboard()->setMimeData(mimeWithUrls({gone}));
        bench.key(Qt::Key_V, Qt::ControlModifier);
        ASSERT_TRUE(QFile::remove(gone));
        bench.releaseReads();
        bench.settle();
        EXPECT_EQ(bench.model->error(),
                  QStringLiteral("Une image n’a pas été ajoutée : son fichier a été supprimé ou déplacé pendant sa lecture."));
    }
}

// Saves that need no outcome leave the file to the writer's thread: putting
// an image in, taking it out, choosing a destination and Escape return while
// the draft is still being written, and a write that then fails is shown.
TEST(CaptureTextViewImagesTest, SavesThatNeedNoOutcomeReturnWhileTheDraftIsWritten)
{
    HeldFile file;
    AppModel::Environment environment = environmentWith(ManualClock());
    environment.autosaveDelay = std::chrono::hours(1);
    environment.writeDraftFile = file.writer();
    ImageBench bench(environment);
    int hides = 0;
    bench.editor->setHide([&] { ++hides; });
    // Were a call to wait for the write, the file opens after a while rather
    // than never.
    std::promise<void> heldPartDone;
    std::thread safety([&file, done = heldPartDone.get_future()] {
        if (done.wait_for(std::chrono::seconds(10)) == std::future_status::timeout)
            file.setOpen(true);
    });

    bench.type(QStringLiteral("a"));
    bench.paste(mimeWithData("image/png", imageBytes(qRgb(3, 3, 3))));
    ASSERT_TRUE(waitUntil([&] { return file.arrived() == 1; }));
    bench.model->onRemoveImage(bench.model->currentAttachments().first().id);
    bench.model->setDestination(bench.destinations[2].id);
    bench.key(Qt::Key_Escape);
    EXPECT_EQ(hides, 1);
    EXPECT_EQ(file.bodies(), QStringList());
    heldPartDone.set_value();
    safety.join();

    file.setFailing(true);
    file.setOpen(true);
    // The first draft, then the newest one.
    ASSERT_TRUE(waitUntil([&] { return file.arrived() == 2; }));
    bench.model->persistDraft();
    ASSERT_TRUE(bench.model->draftPersistenceError().has_value());
    EXPECT_EQ(bench.model->draftState(), DraftState::failed(*bench.model->draftPersistenceError()));
    file.setFailing(false);
    bench.model->persistDraft();
    EXPECT_EQ(bench.session.onDisk().body, QStringLiteral("a\n"));
    EXPECT_EQ(bench.session.onDisk().destinationID, bench.destinations[2].id);
}

// The text with its selection marked: "|" a caret, "{" and "}" a selection;
// each "E" stands for `embed`.
std::pair<QString, TextRange> marked(QString text, const QString& embed = QString())
{
    text.replace(u'E', embed);
    const qsizetype caret = text.indexOf(u'|');
    if (caret >= 0)
        return {text.remove(caret, 1), TextRange{caret, 0}};
    const qsizetype start = text.indexOf(u'{');
    text.remove(start, 1);
    const qsizetype end = text.indexOf(u'}');
    return {text.remove(end, 1), TextRange::fromBounds(start, end)};
}

TEST(CaptureTextViewImagesTest, AnImageGoesWhereItWasPastedWhateverTheUserDidWhileItWasRead)
{
    const struct {
        const char* name;
        const char* pasted;   // the text and selection of the paste
        std::function<void(ImageBench&)> meanwhile;
        const char* result;   // the text and the user's selection once the image is in
    } cases[] = {
        {"nothing", "ab|cd", [](ImageBench&) {}, "abE|cd"},
        {"everything selected", "garder ce texte|",
         [](ImageBench& b) { b.key(Qt::Key_A, Qt::ControlModifier); }, "{garder ce texte}E"},
        {"typing on at the caret", "ab|cd", [](ImageBench& b) { b.type(QStringLiteral("XY")); }, "abEXY|cd"},
        {"typing before", "ab|cd",
         [](ImageBench& b) {
             b.view->setSelectionRange({0, 0});
             b.type(QStringLiteral("Z"));
         },
         "Z|abEcd"},
        {"selecting after", "ab|cdef", [](ImageBench& b) { b.view->setSelectionRange({3, 2}); }, "abEc{de}f"},
        {"the pasted-over selection kept", "ab{cd}ef", [](ImageBench& b) { b.view->setSelectionRange({6, 0}); },
         "abEef|"},
        {"the pasted-over selection typed over", "ab{cd}ef", [](ImageBench& b) { b.type(QStringLiteral("Z")); },
         "abEZ|ef"},
        {"typing inside the pasted-over selection", "ab{cd}ef",
         [](ImageBench& b) {
             b.view->setSelectionRange({3, 0});
             b.type(QStringLiteral("Z"));
         },
         "abEcZ|def"},
        {"deleting around the place", "abc|def",
         [](ImageBench& b) {
             b.view->setSelectionRange({1, 4});
             b.key(Qt::Key_Backspace);
         },
         "aE|f"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ImageBench bench;
        bench.holdReads();
        const auto [text, selection] = marked(QString::fromUtf8(c.pasted));
        bench.set(text, selection);
        QApplication::clipboard()->setMimeData(mimeWithData("image/png", imageBytes(qRgb(3, 3, 3))));
        bench.key(Qt::Key_V, Qt::ControlModifier);
        c.meanwhile(bench);
        const QString typed = bench.text();
        bench.releaseReads();
        bench.settle();
        const auto [expected, expectedSelection] = marked(QString::fromUtf8(c.result), bench.embeds() + u'\n');
        EXPECT_EQ(bench.text(), expected);
        EXPECT_EQ(bench.view->selectionRange(), expectedSelection);
        // One step takes the image out again, and only it.
        EXPECT_EQ(bench.undoText(), QStringLiteral("Ajouter des images"));
        bench.key(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(bench.text(), typed);
    }
}

TEST(CaptureTextViewImagesTest, ADroppedImageNeverSplitsAnEmbed)
{
    ImageBench bench;
    bench.paste(mimeWithData("image/png", imageBytes(qRgb(3, 3, 3))));
    const QString first = bench.embeds();
    bench.set(first + QStringLiteral(" fin"), TextRange{0, 0});
    const QRect middle = bench.view->cursorRect([&] {
        QTextCursor cursor(bench.view->document());
        cursor.setPosition(int(first.size() / 2));
        return cursor;
    }());
    QMimeData* image = mimeWithUrls({bench.file("b.png", imageBytes(qRgb(7, 7, 7)))});
    bench.drop(image, middle.center());
    delete image;
    ASSERT_EQ(bench.model->currentAttachments().size(), 2);
    // The new embed follows the first one.
    EXPECT_EQ(bench.text(), bench.embeds() + QStringLiteral("\n fin"));
    EXPECT_TRUE(bench.embeds().startsWith(first));
}

// A drop on the line of a route prefix that opens the text never goes
// before the prefix or into its word: the capture keeps its destination. The
// pointer over the first line's upper edge still drops where it points.
TEST(CaptureTextViewImagesTest, ADropNeverPushesTheRoutePrefixOffTheFirstLine)
{
    ImageBench bench;
    const QString line = QStringLiteral("@pr un deux trois quatre");
    const auto caretAt = [&](qsizetype position) {
        QTextCursor cursor(bench.view->document());
        cursor.setPosition(int(position));
        return bench.view->cursorRect(cursor);
    };
    struct Case {
        const char* what;
        QString text;
        std::function<QPointF()> point;
        QString expected;   // with "#" for the dropped text
    };
    const Case cases[] = {
        {"on the prefix", line, [&] { return QPointF(caretAt(1).center()); }, QStringLiteral("@pr #un deux trois quatre")},
        {"before the space", line, [&] { return QPointF(caretAt(3).center()); },
         QStringLiteral("@pr #un deux trois quatre")},
        {"over the line's top edge, at its end", line,
         [&] { return QPointF(caretAt(line.size()).right() + 20, caretAt(0).top() - 2); },
         line + u'#'},
        {"a bare prefix", QStringLiteral("@pr"), [&] { return QPointF(caretAt(0).center()); },
         QStringLiteral("@pr #")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        bench.set(c.text, TextRange{0, 0});
        auto* text = new QMimeData;
        text->setText(QStringLiteral("#"));
        bench.drop(text, c.point());
        delete text;
        EXPECT_EQ(bench.text(), c.expected);
    }

    bench.set(line, TextRange{0, 0});
    QMimeData* image = mimeWithUrls({bench.file("a.png", imageBytes(qRgb(7, 7, 7)))});
    bench.drop(image, caretAt(0).center());
    delete image;
    ASSERT_EQ(bench.model->currentAttachments().size(), 1);
    EXPECT_EQ(bench.text(), QStringLiteral("@pr ") + bench.embeds() + QStringLiteral("\nun deux trois quatre"));

    // Dropped into an empty capture, then the prefix typed while it is read.
    bench.set(QString(), TextRange{0, 0});
    bench.holdReads();
    image = mimeWithUrls({bench.file("b.png", imageBytes(qRgb(9, 9, 9)))});
    QDragEnterEvent enter(caretAt(0).center(), Qt::CopyAction, image, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(bench.view->viewport(), &enter);
    QDropEvent drop(caretAt(0).center(), Qt::CopyAction, image, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(bench.view->viewport(), &drop);
    ASSERT_TRUE(bench.view->isReadingImages());
    bench.type(QStringLiteral("@pr x"));
    bench.releaseReads();
    bench.settle();
    delete image;
    ASSERT_EQ(bench.model->currentAttachments().size(), 1);
    EXPECT_TRUE(bench.text().startsWith(QStringLiteral("@pr !["))) << bench.text().toStdString();
    EXPECT_TRUE(bench.text().endsWith(QStringLiteral("]]\nx"))) << bench.text().toStdString();
}

TEST(CaptureTextViewImagesTest, RemovingATwiceEmbeddedImageIsOneStepThatUndoes)
{
    ImageBench bench;
    bench.paste(mimeWithData("image/png", imageBytes(qRgb(3, 3, 3))));
    const QString embed = bench.embeds();
    const QUuid id = bench.model->currentAttachments().first().id;
    const QString text = embed + QStringLiteral("\nmid\n") + embed + u'\n';
    bench.view->replaceUndoably(TextRange{0, bench.text().size()}, EditorContent::plain(text), std::nullopt,
                                QStringLiteral("Saisir"), std::nullopt);
    bench.model->onRemoveImage(id);
    EXPECT_EQ(bench.text(), QStringLiteral("\nmid\n\n"));
    EXPECT_EQ(bench.view->selectionRange(), (TextRange{0, 0}));
    EXPECT_EQ(bench.undoText(), QStringLiteral("Supprimer l’image"));
    EXPECT_EQ(bench.session.onDiskOnce([](const Capture& draft) { return draft.body == "\nmid\n\n"; }).body,
              QStringLiteral("\nmid\n\n"));
    bench.key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(bench.text(), text);
}

TEST(CaptureTextViewImagesTest, ChosenFilesFollowThePasteRules)
{
    ImageBench bench;
    const QString image = bench.file("choisie.webp", imageBytes(qRgb(4, 5, 6), "WEBP"));
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Ajouter des images à cette capture."));
        dialog->selectFile(image);
        static_cast<QDialog*>(dialog)->accept();
    });
    bench.model->onAttachImages();
    bench.settle();
    ASSERT_EQ(bench.model->currentAttachments().size(), 1);
    EXPECT_EQ(bench.model->currentAttachments().first().fileExtension, QStringLiteral("webp"));
}

TEST(CaptureTextViewImagesTest, ThePreviewWindowIsSizedOnItsScreenAndOnlyHidesOnEscape)
{
    for (const auto& [area, frame] : {std::pair{QRect(0, 0, 1440, 900), QRect(320, 150, 800, 600)},
                                      {QRect(0, 0, 800, 600), QRect(60, 45, 680, 510)},
                                      {QRect(100, 50, 400, 300), QRect(130, 73, 340, 255)}})
        EXPECT_EQ(ImagePreviewWindow::initialFrame(area), frame) << area.width();

    ImageBench bench;
    bench.paste(mimeWithData("image/png", imageBytes(qRgb(3, 3, 3))));
    const CaptureAttachment attachment = bench.model->currentAttachments().first();
    bench.model->onPreviewImage(attachment);
    ImagePreviewWindow* preview = bench.view->imagePreview();
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_EQ(preview->windowTitle(), QStringLiteral("Aperçu de l’image"));
    EXPECT_EQ(preview->geometry(), ImagePreviewWindow::initialFrame(bench.view->screen()->availableGeometry()));
    EXPECT_EQ(preview->image().size(), QSize(3, 2));
    preview->resize(100, 100);
    EXPECT_EQ(preview->size(), QSize(240, 200));
    bench.model->onPreviewImage(attachment);
    EXPECT_EQ(preview->size(), QSize(240, 200));

    int closes = 0;
    const std::function<void()> refocus = preview->onClose;
    preview->onClose = [&] {
        ++closes;
        refocus();
    };
    bench.view->clearFocus();
    QTest::keyClick(preview, Qt::Key_Escape);
    EXPECT_FALSE(preview->isVisible());
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(bench.view->hasFocus());
    bench.model->onPreviewImage(attachment);
    EXPECT_EQ(bench.view->imagePreview(), preview);
    bench.view->dismissAuxiliaryWindows();
    EXPECT_FALSE(preview->isVisible());
    EXPECT_EQ(closes, 2);
}

} // namespace
} // namespace quillor
