#include "editor/CaptureEditor.h"

#include "core/L10n.h"
#include "editor/CaptureTextView.h"
#include "model/AppModel.h"

#include <QTimer>
#include <QWidget>

namespace quillor {

namespace {

void configure(CaptureTextView& view)
{
    view.setAccessibleName(L10n::text(QStringLiteral("Contenu de la capture")));
    view.setFrameShape(QFrame::NoFrame);
    view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The panel's own background shows through.
    view.viewport()->setAutoFillBackground(false);
    view.setAcceptDrops(true);
}

} // namespace

CaptureEditor::CaptureEditor(AppModel& model, QWidget* host) : QObject(host), m_model(model)
{
    auto* view = new CaptureTextView(host);
    m_view = view;
    configure(*view);
    // Takes the model's content with an empty history.
    view->setModel(&model);
    installCallbacks();

    // The view restyles and hands its text to the model itself, and restyles
    // on a palette change, which Qt reports only when the colours differ;
    // what is left is the completions, which follow every edit and caret move.
    const auto suggest = [this] {
        if (m_view)
            m_model.suggestions(m_view->selectionRange(), m_view->currentAnalysis());
    };
    connect(view, &CaptureTextView::contentEdited, this, suggest);
    connect(view, &CaptureTextView::selectionMoved, this, suggest);
    connect(view, &CaptureTextView::contentFitRequested, this, &CaptureEditor::contentFitRequested);
    connect(&model, &AppModel::savingChanged, this, &CaptureEditor::syncEditability);
    connect(&model, &AppModel::draftReadFinished, this, [this] {
        syncEditability();
        // The placeholder said the draft was being opened.
        if (m_view) {
            m_view->viewport()->update();
            m_view->replayHeldKeys();
        }
    });
    syncEditability();

    // Styled and focused once the view sits in its window.
    QTimer::singleShot(0, view, [view] {
        view->refreshPresentation();
        view->setFocus(Qt::OtherFocusReason);
    });
}

CaptureEditor::~CaptureEditor() = default;

void CaptureEditor::setHide(std::function<void()> hide)
{
    if (m_view)
        m_view->hideCapture = std::move(hide);
}

void CaptureEditor::syncEditability()
{
    if (!m_view)
        return;
    // Nothing may change the text while it is being delivered: the model
    // replaces it with the new draft once the delivery succeeds. Nor before
    // the draft has been read, which would replace what was typed.
    const bool readOnly = m_model.saving() || m_model.readingDraft();
    if (m_view->isReadOnly() != readOnly)
        m_view->setReadOnly(readOnly);
    // Input methods stay on while the draft is read, although the text is
    // read only then: what they commit waits for it with the keys.
    m_view->setAttribute(Qt::WA_InputMethodEnabled, !readOnly || m_model.readingDraft());
    Q_EMIT contentFitRequested();
}

void CaptureEditor::installCallbacks()
{
    // Each callback holds the view weakly: the model outlives any editor.
    const QPointer<CaptureTextView> view = m_view;
    AppModel* model = &m_model;

    model->onSuggestionsChanged = [view] {
        if (view)
            view->updateSuggestionsPanel();
    };
    model->onIndexChanged = [view, model] {
        if (view)
            model->suggestions(view->selectionRange(), view->currentAnalysis());
    };
    model->onContentChange = [view](const EditorContent& content) {
        if (view)
            view->setContent(content);
    };
    model->onAttachImages = [view] {
        if (view)
            view->chooseImages();
    };
    model->onPreviewImage = [view](const CaptureAttachment& attachment) {
        if (view)
            view->previewImage(attachment);
    };
    model->onRemoveImage = [view](const QUuid& id) {
        if (view)
            view->removeImage(id);
    };
    model->onSelectImage = [view](const TextRange& range) {
        if (!view)
            return;
        view->setSelectionRange(range);
        view->ensureCursorVisible();
        view->setFocus(Qt::OtherFocusReason);
    };
    model->onSelectDestination = [view, model](const QUuid& id) {
        const DestinationSelection choice{id, true};
        if (!view) {
            model->applyDestinationSelection(choice);
            return;
        }
        // An empty edit that carries the choice, so that undo takes it back.
        const TextRange selection = view->selectionRange();
        view->replaceUndoably(TextRange{selection.location, 0}, EditorContent(), selection.location,
                              L10n::text(QStringLiteral("Choisir la destination")), choice);
        view->setSelectionRange(selection);
        model->dismissSuggestions();
        view->setFocus(Qt::OtherFocusReason);
    };
}

} // namespace quillor
