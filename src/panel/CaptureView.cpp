#include "panel/CaptureView.h"

#include "editor/CaptureEditor.h"
#include "editor/CaptureTextView.h"
#include "model/AppModel.h"
#include "panel/CaptureChrome.h"

#include <QMouseEvent>
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

    // A plain strip: presses on it, like those on every other empty area,
    // reach this view and move the window.
    auto* dragStrip = new QWidget(this);
    dragStrip->setObjectName(QStringLiteral("dragStrip"));
    dragStrip->setFixedHeight(dragStripHeight);

    m_editor = new CaptureEditor(model, this);
    if (!m_editor->parent())
        m_editor->setParent(this);
    m_editor->setHide([this] {
        if (hide)
            hide();
    });
    CaptureTextView* text = m_editor->textView();
    text->setMinimumHeight(0);
    // The editor takes whatever height the chrome leaves, down to nothing.
    text->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);

    m_chrome = new CaptureChrome(model, this);
    m_chrome->cancel = [this] {
        if (hide)
            hide();
    };
    m_chrome->openSettings = [this] {
        if (openSettings)
            openSettings();
    };

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(dragStrip);
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

// Presses reach this view only from areas no control takes: the drag strip,
// the action row's spacer, gaps between rows.
void CaptureView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_pressPosition = event->globalPosition();
    m_windowStart = window()->pos();
    m_moved = false;
    event->accept();
}

void CaptureView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_pressPosition || !(event->buttons() & Qt::LeftButton)) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    const QPoint offset = (event->globalPosition() - *m_pressPosition).toPoint();
    if (offset.isNull() && !m_moved)
        return;
    window()->move(m_windowStart + offset);
    m_moved = true;
    event->accept();
}

void CaptureView::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_pressPosition || event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const bool moved = m_moved;
    m_pressPosition.reset();
    m_moved = false;
    event->accept();
    if (moved)
        Q_EMIT userMoved();
}

} // namespace quillor
