#include "panel/CaptureView.h"

#include "editor/CaptureEditor.h"
#include "editor/CaptureTextView.h"
#include "model/AppModel.h"
#include "panel/AttachmentStrip.h"
#include "panel/CaptureChrome.h"
#include "panel/NotePreviewWindow.h"
#include "panel/SuggestionPanel.h"

#include <QPointer>
#include <QVBoxLayout>

namespace quillor {

namespace {
constexpr int dragStripHeight = 6;
constexpr int narrowestWidth = 320;
constexpr int idealWidth = 480;
} // namespace

CaptureView::CaptureView(AppModel& model, QWidget* parent) : QWidget(parent), m_model(model)
{
    setMinimumWidth(narrowestWidth);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);

    m_dragStrip = new QWidget(this);
    m_dragStrip->setObjectName(QStringLiteral("dragStrip"));
    m_dragStrip->setFixedHeight(dragStripHeight);

    m_editor = new CaptureEditor(model, this);
    if (!m_editor->parent())
        m_editor->setParent(this);
    m_editor->setHide([this] {
        if (hide)
            hide();
    });
    CaptureTextView* text = m_editor->textView();
    text->makeSuggestionPanel = [&model](CaptureTextView& editor) -> QWidget* {
        return new SuggestionPanel(model, editor);
    };
    text->setMinimumHeight(0);
    // The editor takes whatever height the chrome leaves, down to nothing.
    text->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    text->openNotePreview = [&model, text](const QString& target) {
        NotePreviewWindow* preview = NotePreviewWindow::open(target, model, text);
        // The keyboard goes back to the panel, not to the program under it.
        preview->onClose = [text = QPointer<CaptureTextView>(text)] {
            if (text && text->window()->isVisible())
                text->takeKeyboard();
        };
    };

    m_chrome = new CaptureChrome(model, this);
    m_chrome->cancel = [this] {
        if (hide)
            hide();
    };
    m_chrome->openSettings = [this] {
        if (openSettings)
            openSettings();
    };
    // Images dropped onto the thumbnails join the text's end.
    AttachmentStrip* strip = m_chrome->attachmentStrip();
    strip->acceptsDrop = [text](const QMimeData& mime) { return text->acceptsDrop(mime); };
    strip->drop = [text](const QMimeData& mime) { return text->dropAtEnd(mime); };
    // The strip above the text is a few pixels high: a drop meant for the
    // first line easily lands on it.
    text->takeDropsAbove(*m_dragStrip);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_dragStrip);
    layout->addWidget(text, 1);
    layout->addWidget(m_chrome);

    connect(m_editor, &CaptureEditor::contentFitRequested, this, &CaptureView::contentFitRequested);
    connect(m_chrome, &CaptureChrome::heightMayHaveChanged, this, &CaptureView::contentFitRequested);

    for (auto signal : {&AppModel::draftPersistenceErrorChanged, &AppModel::errorChanged,
                        &AppModel::imageReferencesChanged, &AppModel::contentChanged, &AppModel::completionsChanged,
                        &AppModel::indexStateChanged, &AppModel::savingChanged, &AppModel::choosingVaultChanged,
                        &AppModel::preferencesChanged, &AppModel::folderAccessFailedChanged,
                        &AppModel::modelChanged})
        connect(&model, signal, this, &CaptureView::scheduleSync);
    // The completion context is not published: an edit or a caret move may
    // open or close a note completion while the (empty) list stays equal.
    // The editor asks the model for suggestions on the same signals, so the
    // chrome looks once that is done.
    connect(text, &CaptureTextView::contentEdited, this, &CaptureView::scheduleSync);
    connect(text, &CaptureTextView::selectionMoved, this, &CaptureView::scheduleSync);
}

CaptureView::~CaptureView() = default;

CaptureTextView* CaptureView::editor() const { return m_editor->textView(); }

QList<QWidget*> CaptureView::dragAreas() const
{
    return {m_dragStrip, m_chrome->findChild<QWidget*>(QStringLiteral("dragSpacer"))};
}

qreal CaptureView::chromeHeight() const
{
    return m_chrome->idealHeight(width() > 0 ? width() : idealWidth);
}

QSize CaptureView::sizeHint() const
{
    return QSize(idealWidth, QWidget::sizeHint().height());
}

void CaptureView::scheduleSync()
{
    if (m_syncScheduled)
        return;
    m_syncScheduled = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_syncScheduled = false;
            m_chrome->sync();
        },
        Qt::QueuedConnection);
}

} // namespace quillor
