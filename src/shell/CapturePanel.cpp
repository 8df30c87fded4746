#include "shell/CapturePanel.h"

#include "editor/CaptureTextView.h"
#include "panel/CaptureView.h"
#include "platform/X11Client.h"
#include "platform/X11WindowProperties.h"
#include "shell/CaptureDragHandle.h"
#include "shell/CaptureGeometry.h"
#include "shell/CaptureTypography.h"

#include <QAbstractNativeEventFilter>
#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QImage>
#include <QScrollBar>
#include <QTextDocument>
#include <QVBoxLayout>
#include <QWindow>

#include <cmath>

namespace quillor {

namespace {

// Frame changes smaller than this are rounding noise, not worth a resize.
constexpr double frameTolerance = 0.5;
// The drag strip above the editor, which the chrome's height leaves out.
constexpr double chromeMargin = 6;
// Below the text's own height, the editor keeps room for one line and the
// margins around it.
constexpr double textMargin = 16;

// Edges are rounded one by one, so that two frames sharing an edge still
// share it in whole pixels.
QRect pixelRect(const QRectF& r)
{
    const int left = int(std::lround(r.left()));
    const int top = int(std::lround(r.top()));
    return QRect(left, top, int(std::lround(r.x() + r.width())) - left, int(std::lround(r.y() + r.height())) - top);
}

bool differs(const QRectF& a, const QRectF& b)
{
    return std::abs(a.height() - b.height()) > frameTolerance || std::abs(a.width() - b.width()) > frameTolerance;
}

// Resets a flag on every way out of a scope.
class FlagGuard {
public:
    explicit FlagGuard(bool& flag) : m_flag(flag) { m_flag = true; }
    ~FlagGuard() { m_flag = false; }
    FlagGuard(const FlagGuard&) = delete;
    FlagGuard& operator=(const FlagGuard&) = delete;

private:
    bool& m_flag;
};

} // namespace

// The panel's window as the X server tells of it, before Qt reads it.
class CapturePanel::WindowEvents : public QAbstractNativeEventFilter {
public:
    WindowEvents(CapturePanel& panel, quint32 window, xcb_window_t root) : m_panel(panel), m_reports(window, root)
    {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        if (type == "xcb_generic_event_t") {
            if (const std::optional<QPoint> position = m_reports.position(*static_cast<xcb_generic_event_t*>(message)))
                m_panel.positionReported(*position);
        }
        return false;
    }

private:
    CapturePanel& m_panel;
    WindowPositionReports m_reports;
};

CapturePanel::CapturePanel(AppModel& model, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setWindowTitle(QStringLiteral("Quillor"));
    // The program lives on without windows; hiding or closing the panel must
    // never count as closing the last one.
    setAttribute(Qt::WA_QuitOnClose, false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_view = new CaptureView(model, this);
    layout->addWidget(m_view);

    const double lineHeight = CaptureTypography::lineHeight();
    const QSize minimum(int(CaptureGeometry::minimumWidth), int(std::ceil(CaptureGeometry::minimumHeight(lineHeight))));
    setMinimumSize(minimum);
    setFrame(QRectF(0, 0, CaptureGeometry::preferredWidth, CaptureGeometry::minimumHeight(lineHeight)));

    connect(m_view, &CaptureView::contentFitRequested, this, &CapturePanel::requestContentFit);
    for (QWidget* area : m_view->dragAreas())
        new CaptureDragHandle(*this, area);
    CaptureDragHandle::moveOnUntakenPresses(*this, m_view);
    if (CaptureTextView* editor = m_view->editor()) {
        connect(editor, &CaptureTextView::contentFitRequested, this, &CapturePanel::requestContentFit);
        editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        editor->beforeLargePaste = [this](qreal height) { showBarForTextOfHeight(height); };
        editor->movePanel = [this, editor](const QMouseEvent& press) {
            CaptureDragHandle::move(*this, editor->viewport(), press);
        };
    }
}

CapturePanel::~CapturePanel() = default;

void CapturePanel::setFrame(const QRectF& frame)
{
    const QRect pixels = pixelRect(frame);
    m_frame = QRectF(pixels);
    if (pixels.topLeft() != geometry().topLeft())
        m_moves.requested(pixels.topLeft());
    setGeometry(pixels);
}

void CapturePanel::watchWindowSystem(xcb_connection_t* connection, quint32 window)
{
    if (!m_windowEvents && connection)
        m_windowEvents = std::make_unique<WindowEvents>(*this, window, X11Client::root(connection));
}

void CapturePanel::positionReported(QPoint position)
{
    // A hidden panel keeps the place it had; the window manager lets go of
    // it at its own frame's place.
    if (!isVisible())
        return;
    // The report reaches Qt after this: a frame set now would be compared
    // with Qt's old idea of the window's place. What sets one waits for Qt.
    switch (m_moves.reported(position, m_frame.topLeft().toPoint())) {
    case PanelMoves::Outcome::none:
        return;
    case PanelMoves::Outcome::restate:
        QMetaObject::invokeMethod(this, [this] { setFrame(m_frame); }, Qt::QueuedConnection);
        return;
    case PanelMoves::Outcome::moved:
        // Taken at once, so that a fit already queued keeps it.
        m_frame.moveTopLeft(position);
        QMetaObject::invokeMethod(this, &CapturePanel::didFinishUserMove, Qt::QueuedConnection);
        return;
    }
}

void CapturePanel::setVisible(bool visible)
{
    if (!visible || isVisible()) {
        if (!visible)
            m_moves.forget();
        QWidget::setVisible(visible);
        return;
    }
    // The native window exists before the map, so that the hints are read
    // with it and the first exposure is seen.
    const auto window = quint32(winId());
    windowHandle()->installEventFilter(this);
    // Also under XWayland, whose window manager reads the same hints. The
    // manager forgets _NET_WM_STATE every time the panel is withdrawn.
    xcb_connection_t* connection = X11Client::qtConnection();
    watchWindowSystem(connection, window);
    X11WindowProperties::prepareFloating(connection, window);
    showBarForLongText();
    QWidget::setVisible(true);
    X11WindowProperties::assertFloating(connection, window);
}

void CapturePanel::showBarForTextOfHeight(qreal height)
{
    CaptureTextView* editor = m_view ? m_view->editor() : nullptr;
    // Before its first showing the panel has no screen of its own yet; the
    // screen it stands on is the likeliest, and the fit corrects the rest.
    const qreal screenHeight = captureScreen ? captureScreen->height() : screen()->availableGeometry().height();
    if (editor && height > screenHeight)
        editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

// A long draft read while the panel was hidden is laid out as the panel is
// painted, to bring its caret into view; it takes at least a line per
// paragraph.
void CapturePanel::showBarForLongText()
{
    if (const CaptureTextView* editor = m_view ? m_view->editor() : nullptr)
        showBarForTextOfHeight(qreal(editor->document()->blockCount()) * editor->fontMetrics().lineSpacing());
}

bool CapturePanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Expose && m_fitWhenExposed && watched == windowHandle()
        && windowHandle()->isExposed()) {
        m_fitWhenExposed = false;
        requestContentFit();
    }
    return QWidget::eventFilter(watched, event);
}

void CapturePanel::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    updateSuggestions();
}

void CapturePanel::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange)
        updateSuggestions();
}

void CapturePanel::updateSuggestions()
{
    if (CaptureTextView* editor = m_view->editor())
        editor->updateSuggestionsPanel();
}

void CapturePanel::prepareFirstShowing()
{
    if (isVisible())
        return;
    showBarForLongText();
    QImage image(size(), QImage::Format_ARGB32_Premultiplied);
    render(&image);
}

void CapturePanel::requestContentFit()
{
    if (m_contentFitScheduled || !isVisible())
        return;
    m_contentFitScheduled = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_contentFitScheduled = false;
            fitContent();
        },
        Qt::QueuedConnection);
}

void CapturePanel::fitContent()
{
    if (m_fittingContent || !isVisible() || !m_view || !captureScreen)
        return;
    // A resize that reaches the window manager while it is still taking the
    // window on makes some managers (Openbox) drop the position we asked for.
    // The window is exposed once the manager has placed it.
    if (QWindow* window = windowHandle(); window && !window->isExposed()) {
        m_fitWhenExposed = true;
        return;
    }
    const FlagGuard fitting(m_fittingContent);

    if (QLayout* panelLayout = layout())
        panelLayout->activate();
    CaptureTextView* editor = m_view->editor();
    if (!editor)
        return;

    const double lineHeight = CaptureTypography::lineHeight();
    // The laid-out height already counts the document margin on both sides
    // and the empty line after a final line break.
    const double used = editor->document()->documentLayout()->documentSize().height();
    const double text = std::max(lineHeight + textMargin, std::ceil(used));
    const double chrome = std::ceil(m_view->chromeHeight()) + chromeMargin;

    const QRectF current = frame();
    const QRectF expanded = ScreenSpace::toTopLeft(CaptureGeometry::expandedFrame(
        ScreenSpace::toBottomLeft(current), chrome + text, ScreenSpace::toBottomLeft(*captureScreen), lineHeight));
    if (differs(expanded, current)) {
        setFrame(expanded);
        if (QLayout* panelLayout = layout())
            panelLayout->activate();
        editor->updateSuggestionsPanel();
    }

    const double available = std::max(expanded.height() - chrome, 0.0);
    const bool overflows = available < text;
    // Decided here and only on change: left to Qt, the bar's own width would
    // rewrap the text, change its height and set the panel oscillating.
    const Qt::ScrollBarPolicy policy = overflows ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    if (editor->verticalScrollBarPolicy() != policy)
        editor->setVerticalScrollBarPolicy(policy);
    editor->updateSuggestionsPanel();

    if (overflows)
        editor->ensureCursorVisible();
    else if (editor->verticalScrollBar()->value() != 0)
        editor->verticalScrollBar()->setValue(0);
}

void CapturePanel::didFinishUserMove()
{
    const QList<QRectF> screens = ScreenSpace::visibleFrames(ScreenSpace::current());
    const QRectF moved = ScreenSpace::toBottomLeft(frame());
    const std::optional<QRectF> screen = CaptureGeometry::screen(moved, screens);
    captureScreen = screen ? std::optional(ScreenSpace::toTopLeft(*screen)) : std::nullopt;
    setFrame(ScreenSpace::toTopLeft(CaptureGeometry::fitted(moved, screens)));
    if (onUserMoved)
        onUserMoved(frame());
}

void CapturePanel::screensChanged()
{
    screensChanged(ScreenSpace::current());
}

void CapturePanel::screensChanged(const QList<ScreenArea>& screens)
{
    const QList<QRectF> visible = ScreenSpace::visibleFrames(screens);
    const QRectF fitted = CaptureGeometry::fitted(ScreenSpace::toBottomLeft(frame()), visible);
    const std::optional<QRectF> screen = CaptureGeometry::screen(fitted, visible);
    captureScreen = screen ? std::optional(ScreenSpace::toTopLeft(*screen)) : std::nullopt;
    setFrame(ScreenSpace::toTopLeft(fitted));
    requestContentFit();
}

} // namespace quillor
