// Images entering and leaving the capture: paste, drop and chosen files, a
// rich paste's text and pictures, the large preview and the removal of an
// image from the attachment strip.

#include "editor/CaptureTextView.h"

#include "core/Error.h"
#include "core/L10n.h"
#include "editor/EditorDocument.h"
#include "editor/ImageIntake.h"
#include "editor/ImagePreviewWindow.h"
#include "model/AppModel.h"

#include <QAbstractTextDocumentLayout>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QImageReader>
#include <QMimeData>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextBlock>
#include <QUndoStack>

#include <algorithm>
#include <cmath>
#include <utility>

namespace quillor {

namespace {

QString openDialogFilter()
{
    QStringList patterns;
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        patterns.append(QStringLiteral("*.") + QString::fromLatin1(format));
    return L10n::text(QStringLiteral("Images")) + QStringLiteral(" (") + patterns.join(u' ') + u')';
}

QString filesGoneMessage(int count)
{
    if (count == 1)
        return L10n::text(QStringLiteral("Une image n’a pas été ajoutée : son fichier a été supprimé ou déplacé pendant "
                                         "sa lecture."));
    return L10n::format(QStringLiteral("%@ images n’ont pas été ajoutées : leurs fichiers ont été supprimés ou déplacés "
                                       "pendant leur lecture."),
                        {QString::number(count)});
}

// Below this many characters a paste is laid out as Qt lays out any edit.
constexpr qsizetype heldLayoutLength = 8192;

bool offersAnything(const QMimeData& mime)
{
    return mime.hasText() || mime.hasUrls() || mime.hasImage() || mime.hasHtml()
        || mime.hasFormat(QStringLiteral("image/png")) || mime.hasFormat(QStringLiteral("image/tiff"));
}

// What the data offers as images or a rich capture; nothing when it is to be
// pasted as text.
std::optional<ImageIntakeQueue::Request> imageRequest(const QMimeData& mime)
{
    ImageIntakeQueue::Request request;
    request.rich = RichCapture::from(mime);
    if (!request.rich) {
        request.sources = ImageSources::from(mime);
        if (request.sources.isEmpty())
            return std::nullopt;
        if (mime.hasText())
            request.fallbackText = mime.text();
    }
    return request;
}

void answerDrop(QDropEvent& event, const QDropEvent& answered)
{
    event.setDropAction(answered.dropAction());
    event.setAccepted(answered.isAccepted());
}

} // namespace

// MARK: Paste and drop

void CaptureTextView::takeDropsAbove(QWidget& area)
{
    area.setAcceptDrops(true);
    area.installEventFilter(this);
    m_dropsAbove = &area;
}

bool CaptureTextView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched && watched == m_dropsAbove && takeDropAbove(*m_dropsAbove, *event))
        return true;
    return QTextEdit::eventFilter(watched, event);
}

// Handled here rather than sent on to the text: Qt gives a drop to the widget
// that took the drag's entry, whichever widget it is sent to.
bool CaptureTextView::takeDropAbove(const QWidget& area, QEvent& event)
{
    const auto below = [&](const QDropEvent& drag) {
        // The text's top edge, which the drop point puts on the first line.
        const QPoint at = viewport()->mapFromGlobal(area.mapToGlobal(drag.position().toPoint()));
        return QPoint(std::clamp(at.x(), 0, std::max(viewport()->width() - 1, 0)), 0);
    };
    switch (event.type()) {
    case QEvent::DragEnter: {
        auto& drag = static_cast<QDragEnterEvent&>(event);
        QDragEnterEvent over(below(drag), drag.possibleActions(), drag.mimeData(), drag.buttons(), drag.modifiers());
        dragEnterEvent(&over);
        answerDrop(drag, over);
        break;
    }
    case QEvent::DragMove: {
        auto& drag = static_cast<QDragMoveEvent&>(event);
        QDragMoveEvent over(below(drag), drag.possibleActions(), drag.mimeData(), drag.buttons(), drag.modifiers());
        dragMoveEvent(&over);
        answerDrop(drag, over);
        break;
    }
    case QEvent::DragLeave: {
        QDragLeaveEvent leave;
        dragLeaveEvent(&leave);
        break;
    }
    case QEvent::Drop: {
        auto& drop = static_cast<QDropEvent&>(event);
        QDropEvent over(below(drop), drop.possibleActions(), drop.mimeData(), drop.buttons(), drop.modifiers());
        dropEvent(&over);
        answerDrop(drop, over);
        break;
    }
    default:
        return false;
    }
    flushPresentation();
    return true;
}

bool CaptureTextView::isReadingImages() const
{
    return m_imageIntake->isBusy();
}

void CaptureTextView::setImageReader(ImageIntakeQueue::Reader reader)
{
    m_imageIntake->setReader(std::move(reader));
}

bool CaptureTextView::acceptsDrop(const QMimeData& mime) const
{
    return canInsertFromMimeData(&mime);
}

bool CaptureTextView::canInsertFromMimeData(const QMimeData* source) const
{
    return source && !isReadOnly() && offersAnything(*source);
}

// Ctrl+V, the context menu, the middle button's selection and drops all come
// here. Styled text from other programs arrives as plain text.
void CaptureTextView::insertFromMimeData(const QMimeData* source)
{
    if (!source || isReadOnly())
        return;
    if (!insertImages(*source) && source->hasText())
        insertPlainText(source->text());
}

bool CaptureTextView::insertImages(const QMimeData& mime)
{
    std::optional<ImageIntakeQueue::Request> request = imageRequest(mime);
    if (!request)
        return false;
    // Pastes, drops and the paperclip are refused while the draft is being
    // delivered; nothing else may slip in then.
    if (!isReadOnly())
        readImages(std::move(*request), selectionRange());
    return true;
}

void CaptureTextView::readImages(ImageIntakeQueue::Request request, TextRange selection, bool dropped)
{
    m_imagePlaces.emplace_back(*document(), selection, EditorDocument::slice(m_content, selection), dropped);
    connect(m_imageIntake, &ImageIntakeQueue::idle, this, &CaptureTextView::imagesRead, Qt::UniqueConnection);
    // A send asked for from now on waits for these images.
    if (m_model)
        m_model->setReadingImages(true);
    m_imageIntake->enqueue(std::move(request));
}

void CaptureTextView::imagesRead()
{
    m_filesGone = 0;
    if (m_model)
        m_model->setReadingImages(false);
}

void CaptureTextView::loseImagePlaces()
{
    for (ImagePlace& place : m_imagePlaces)
        place.lose();
}

void CaptureTextView::insertPlainText(const QString& text)
{
    if (isReadOnly() && !m_placingImages)
        return;
    // Each "\r" would be a paragraph break of its own; an object character
    // would be an image without bytes.
    QString plain = EditorDocument::normalizedLineEnds(text);
    plain.remove(QChar::ObjectReplacementCharacter);
    if (plain.isEmpty())
        return;
    // Recorded as typing, one step of its own.
    m_typingSealed = true;
    QTextCursor cursor = textCursor();
    // Qt drops a paragraph's layout when its block format changes, so a
    // large paste laid out before the styling pass gives it its line heights
    // and margins would be shaped twice. The document is not laid out until
    // then: with no page size Qt lays nothing out. Only where the paste is
    // most of the text, since the whole text is laid out afresh afterwards.
    const qsizetype resultLength = m_content.text.size() - (cursor.selectionEnd() - cursor.selectionStart())
                                   + plain.size();
    const bool holdLayout = plain.size() >= heldLayoutLength && 2 * plain.size() >= resultLength && !m_heldPageSize;
    if (holdLayout) {
        // Laid out at another width afterwards, the text would be laid out twice.
        if (beforeLargePaste)
            beforeLargePaste(qreal(plain.count(u'\n') + 1) * fontMetrics().lineSpacing());
        m_heldPageSize = document()->pageSize();
        document()->setPageSize(QSizeF(0, 0));
    }
    cursor.insertText(plain);
    if (holdLayout) {
        refreshPresentation();
        // Had the pass not run, the text must still be laid out.
        releaseHeldLayout();
    }
    setTextCursor(cursor);
    m_typingSealed = true;
    ensureCursorVisible();
}

void CaptureTextView::applyImageIntake(const ImageIntake::Result& result)
{
    if (m_imagePlaces.empty())
        return;
    const ImagePlace place = m_imagePlaces.front();
    m_imagePlaces.erase(m_imagePlaces.begin());
    // Said first: the others still go in, and what befalls them speaks last.
    // The message counts every file lost since the reads last caught up, so
    // that a second paste does not hide the first one’s loss behind the same
    // words.
    m_filesGone += result.filesGone;
    if (result.filesGone > 0 && m_model)
        m_model->setError(filesGoneMessage(m_filesGone));
    if (place.isLost()) {
        // The draft they were pasted into was replaced as a whole: they do
        // not go into the one that took its place.
        const bool bringsSomething = !result.failed && !result.tooLarge
                                     && (result.rich || !result.attachments.isEmpty() || result.fallbackText);
        if (bringsSomething && m_model)
            m_model->setError(L10n::text(
                QStringLiteral("Une image n’a pas été ajoutée : le brouillon a été remplacé pendant sa lecture.")));
        return;
    }
    // A send that waits for these images has made the text read-only: they
    // were pasted before it and belong to what it delivers.
    QScopedValueRollback placing(m_placingImages, true);
    TextRange target = place.target(m_content);
    // A route prefix typed while a dropped image was read still comes first.
    QString lead;
    if (place.isDrop() && target.isEmpty()) {
        const DropPlacement::Insertion drop = dropInsertion(target.location, true);
        target = TextRange{drop.index, 0};
        if (drop.spaced)
            lead = QStringLiteral(" ");
    }
    if (result.rich) {
        insertRichCapture(result, target, lead);
        return;
    }
    if (!m_model || (result.attachments.isEmpty() && !result.tooLarge)) {
        if (result.fallbackText)
            placeText(target, lead + *result.fallbackText);
        return;
    }
    if (result.tooLarge) {
        m_model->setError(L10n::text(QStringLiteral("Cette image dépasse 50 Mo.")));
        return;
    }
    EditorContent embeds;
    try {
        embeds = m_model->addImages(result.attachments);
    } catch (const Error& error) {
        m_model->setError(error.localizedDescription());
        return;
    }
    placeContent(target, EditorContent::plain(lead).append(embeds), L10n::text(QStringLiteral("Ajouter des images")));
    m_model->saveDraftInBackground();
}

// The user's selection keeps its characters; a caret still at the place
// goes after what went in, as after a paste.
void CaptureTextView::placeContent(TextRange target, const EditorContent& content, const QString& actionName)
{
    const TextRange kept =
        ImagePlace::carried(selectionRange(), target, EditorDocument::normalizedLineEnds(content).text.size());
    replaceUndoably(target, content, std::nullopt, actionName, std::nullopt);
    setSelectionRange(kept);
}

void CaptureTextView::placeText(TextRange target, const QString& text)
{
    const TextRange selection = selectionRange();
    const qsizetype length = m_content.text.size();
    setSelectionRange(target);
    insertPlainText(text);
    setSelectionRange(ImagePlace::carried(selection, target, m_content.text.size() - length + target.length));
}

void CaptureTextView::insertRichCapture(const ImageIntake::Result& result, TextRange target, const QString& lead)
{
    if (!m_model)
        return;
    if (result.failed) {
        m_model->setError(L10n::text(
            QStringLiteral("Une pièce jointe du presse-papiers est illisible ou dépasse 50 Mo. Le brouillon est conservé.")));
        return;
    }
    QList<CaptureAttachment> pictures;
    for (const ImageIntake::RichPart& part : result.parts) {
        if (part.picture)
            pictures.append(*part.picture);
    }
    try {
        m_model->addImages(pictures);
    } catch (const Error& error) {
        m_model->setError(error.localizedDescription());
        return;
    }
    QString text = lead;
    const QList<ImageReference>& references = m_model->imageReferences();
    for (const ImageIntake::RichPart& part : result.parts) {
        if (!part.picture) {
            text += part.text;
            continue;
        }
        const auto reference = std::find_if(references.cbegin(), references.cend(), [&](const ImageReference& r) {
            return r.attachmentID == part.picture->id;
        });
        if (reference != references.cend())
            text += reference->source();
    }
    placeContent(target, EditorContent::plain(text), L10n::text(QStringLiteral("Coller la capture")));
    m_model->saveDraftInBackground();
}

// Drops always copy: the text edit would move text dragged within it.
void CaptureTextView::dragEnterEvent(QDragEnterEvent* event)
{
    if (!canInsertFromMimeData(event->mimeData())) {
        event->ignore();
        return;
    }
    QTextEdit::dragEnterEvent(event);
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void CaptureTextView::dragMoveEvent(QDragMoveEvent* event)
{
    if (!canInsertFromMimeData(event->mimeData())) {
        event->ignore();
        return;
    }
    // The text edit shows where the drop would go.
    QDragMoveEvent over(dropPoint(event->position().toPoint()), event->possibleActions(), event->mimeData(),
                        event->buttons(), event->modifiers());
    QTextEdit::dragMoveEvent(&over);
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void CaptureTextView::dropEvent(QDropEvent* event)
{
    // Takes the drop caret and the drag's scrolling away.
    QDragLeaveEvent leave;
    QTextEdit::dragLeaveEvent(&leave);
    const QMimeData* mime = event->mimeData();
    if (!mime || !dropAt(*mime, cursorForPosition(dropPoint(event->position().toPoint())).position())) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

bool CaptureTextView::dropAtEnd(const QMimeData& mime)
{
    return dropAt(mime, m_content.text.size());
}

bool CaptureTextView::dropAt(const QMimeData& mime, qsizetype index)
{
    if (isReadOnly())
        return false;
    if (std::optional<ImageIntakeQueue::Request> request = imageRequest(mime)) {
        const TextRange place{dropInsertion(index, true).index, 0};
        setSelectionRange(place);
        readImages(std::move(*request), place, true);
    } else if (mime.hasText()) {
        const DropPlacement::Insertion drop = dropInsertion(index, false);
        setSelectionRange(TextRange{drop.index, 0});
        insertPlainText(drop.spaced ? u' ' + mime.text() : mime.text());
    } else {
        return false;
    }
    window()->raise();
    window()->activateWindow();
    setFocus(Qt::OtherFocusReason);
    return true;
}

// Over the text's top inset Qt's hit test answers the text's start whatever
// the pointer's x: a drop there goes into the first line, where it points.
QPoint CaptureTextView::dropPoint(QPoint point) const
{
    const QTextBlock first = document()->firstBlock();
    const QTextLayout* layout = first.layout();
    if (!layout || layout->lineCount() == 0)
        return point;
    const qreal top = document()->documentLayout()->blockBoundingRect(first).top() + layout->lineAt(0).y()
                      - verticalScrollBar()->value();
    return QPoint(point.x(), std::max(point.y(), int(std::ceil(top))));
}

DropPlacement::Insertion CaptureTextView::dropInsertion(qsizetype index, bool images) const
{
    return DropPlacement::insertion(m_content.text, index, images, m_model ? m_model->preferences().routePrefix : QString());
}

// MARK: Chosen files, preview and removal

void CaptureTextView::chooseImages()
{
    if (isReadOnly())
        return;
    // Parented to the panel, which would otherwise stay above it.
    const QStringList files = QFileDialog::getOpenFileNames(
        window(), L10n::text(QStringLiteral("Ajouter des images à cette capture.")), QString(), openDialogFilter());
    takeKeyboard();
    if (files.isEmpty())
        return;
    QList<QUrl> urls;
    for (const QString& file : files)
        urls.append(QUrl::fromLocalFile(file));
    QMimeData chosen;
    chosen.setUrls(urls);
    insertImages(chosen);
}

void CaptureTextView::previewImage(const CaptureAttachment& attachment)
{
    const QImage image = QImage::fromData(attachment.data);
    if (image.isNull())
        return;
    if (m_model)
        m_model->dismissSuggestions();
    if (!m_imagePreview) {
        m_imagePreview = new ImagePreviewWindow(this);
        m_imagePreview->onClose = [view = QPointer<CaptureTextView>(this)] {
            // Not while the panel hides: it would come forward on its way out.
            if (!view || view->m_dismissingWindows || !view->window()->isVisible())
                return;
            view->takeKeyboard();
        };
    }
    m_imagePreview->show(image, window());
}

ImagePreviewWindow* CaptureTextView::imagePreview() const
{
    return m_imagePreview;
}

void CaptureTextView::closeImagePreview()
{
    if (!m_imagePreview || !m_imagePreview->isVisible())
        return;
    QScopedValueRollback dismissing(m_dismissingWindows, true);
    m_imagePreview->close();
}

void CaptureTextView::removeImage(const QUuid& id)
{
    if (isReadOnly() || !m_model || m_model->saving())
        return;
    const QList<ImageReference>& references = m_model->imageReferences();
    const auto reference = std::find_if(references.cbegin(), references.cend(),
                                        [&](const ImageReference& r) { return r.attachmentID == id; });
    if (reference == references.cend())
        return;
    const QString embed = reference->source();
    QList<qsizetype> occurrences;
    for (qsizetype at = m_content.text.indexOf(embed); at >= 0 && !embed.isEmpty();
         at = m_content.text.indexOf(embed, at + embed.size()))
        occurrences.append(at);
    if (occurrences.isEmpty())
        return;
    const TextRange span = TextRange::fromBounds(occurrences.first(), occurrences.last() + embed.size());
    // The text between the embeds stays, with its images.
    EditorContent kept = EditorDocument::slice(m_content, span);
    for (auto at = occurrences.crbegin(); at != occurrences.crend(); ++at)
        kept.replace(TextRange{*at - span.location, embed.size()}, EditorContent());
    replaceUndoably(span, kept, span.location, L10n::text(QStringLiteral("Supprimer l’image")), std::nullopt);
    m_model->updateContent(m_content);
    m_model->saveDraftInBackground();
    setFocus(Qt::OtherFocusReason);
}

} // namespace quillor
