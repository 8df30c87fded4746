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

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QImageReader>
#include <QMimeData>
#include <QScopedValueRollback>
#include <QUndoStack>

#include <algorithm>

namespace quillor {

namespace {

QString openDialogFilter()
{
    QStringList patterns;
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        patterns.append(QStringLiteral("*.") + QString::fromLatin1(format));
    return L10n::text(QStringLiteral("Images")) + QStringLiteral(" (") + patterns.join(u' ') + u')';
}

bool offersAnything(const QMimeData& mime)
{
    return mime.hasText() || mime.hasUrls() || mime.hasImage() || mime.hasHtml()
        || mime.hasFormat(QStringLiteral("image/png")) || mime.hasFormat(QStringLiteral("image/tiff"));
}

} // namespace

// MARK: Paste and drop

bool CaptureTextView::isReadingImages() const
{
    return m_imageIntake->isBusy();
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
    // Nothing may reach the draft while it is being delivered.
    if (isReadOnly())
        return true;
    ImageIntakeQueue::Request request;
    request.rich = RichCapture::from(mime);
    if (!request.rich) {
        request.sources = ImageSources::from(mime);
        if (request.sources.isEmpty())
            return false;
        if (mime.hasText())
            request.fallbackText = mime.text();
    }
    m_imageIntake->enqueue(std::move(request));
    return true;
}

void CaptureTextView::insertPlainText(const QString& text)
{
    if (isReadOnly())
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
    cursor.insertText(plain);
    setTextCursor(cursor);
    m_typingSealed = true;
    ensureCursorVisible();
}

void CaptureTextView::applyImageIntake(const ImageIntake::Result& result)
{
    // A delivery began while the files were read: they are dropped.
    if (isReadOnly())
        return;
    if (result.rich) {
        insertRichCapture(result);
        return;
    }
    if (!m_model || (result.attachments.isEmpty() && !result.tooLarge)) {
        if (result.fallbackText)
            insertPlainText(*result.fallbackText);
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
    replaceUndoably(selectionRange(), embeds, std::nullopt, L10n::text(QStringLiteral("Ajouter des images")),
                    std::nullopt);
    m_model->persistDraft();
}

void CaptureTextView::insertRichCapture(const ImageIntake::Result& result)
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
    QString text;
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
    replaceUndoably(selectionRange(), EditorContent::plain(text), std::nullopt,
                    L10n::text(QStringLiteral("Coller la capture")), std::nullopt);
    m_model->persistDraft();
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
    QTextEdit::dragMoveEvent(event);
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void CaptureTextView::dropEvent(QDropEvent* event)
{
    // Takes the drop caret and the drag's scrolling away.
    QDragLeaveEvent leave;
    QTextEdit::dragLeaveEvent(&leave);
    const QMimeData* mime = event->mimeData();
    if (!mime || isReadOnly()) {
        event->ignore();
        return;
    }
    setSelectionRange(TextRange{cursorForPosition(event->position().toPoint()).position(), 0});
    if (!insertImages(*mime)) {
        if (!mime->hasText()) {
            event->ignore();
            return;
        }
        insertPlainText(mime->text());
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    window()->raise();
    window()->activateWindow();
    setFocus(Qt::OtherFocusReason);
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
    m_model->persistDraft();
    setFocus(Qt::OtherFocusReason);
}

} // namespace quillor
