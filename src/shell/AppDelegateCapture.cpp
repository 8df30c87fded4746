// Showing and hiding the capture panel: the hot key's toggle, placement on
// show, and giving the keyboard back on hide.

#include "shell/AppDelegate.h"

#include "editor/CaptureTextView.h"
#include "model/AppModel.h"
#include "panel/CaptureView.h"
#include "platform/ActiveWindow.h"
#include "platform/X11HotKeyGrabber.h"
#include "shell/CapturePanel.h"
#include "shell/CapturePlacement.h"
#include "shell/ScreenSpace.h"

#include <QApplication>
#include <QCursor>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QWindow>

#include <algorithm>

namespace quillor {

namespace {

// How long the window manager gets to act on Qt's own activation request
// before we ask again, as a pager, which focus-stealing prevention lets
// through.
constexpr int activationGrace = 200; // ms

// Null outside X11 and in a Wayland session, where the X server's active
// window only knows X clients and would name a window the user left long ago.
xcb_connection_t* activeWindowConnection()
{
    return X11HotKeyGrabber::applicationConnection();
}

bool isOurWindow(quint32 window)
{
    const QWindowList windows = QGuiApplication::allWindows();
    // handle(): winId() would create a native window for one that has none.
    return std::any_of(windows.cbegin(), windows.cend(),
                       [window](const QWindow* w) { return w->handle() && quint32(w->winId()) == window; });
}

template <typename Visit>
void forEachEditor(QWidget* view, const Visit& visit)
{
    if (!view)
        return;
    if (auto* editor = qobject_cast<CaptureTextView*>(view))
        visit(editor);
    for (QObject* child : view->children()) {
        if (auto* widget = qobject_cast<QWidget*>(child))
            forEachEditor(widget, visit);
    }
}

// Sets and clears the hot-key time around one toggle.
class ActivationTime {
public:
    ActivationTime(quint32& slot, quint32 time) : m_slot(slot) { m_slot = time; }
    ~ActivationTime() { m_slot = 0; }
    ActivationTime(const ActivationTime&) = delete;
    ActivationTime& operator=(const ActivationTime&) = delete;

private:
    quint32& m_slot;
};

} // namespace

void AppDelegate::toggleCapture()
{
    if (!m_panel)
        return;
    // Only a hot-key press gives a fresh timestamp; an older one would make
    // window managers refuse the request as coming from the past.
    const ActivationTime time(m_activationTime, m_shortcut->grabber().lastPressTime());
    if (blockingDialogRuns()) {
        bringBlockingDialogForward();
        return;
    }
    if (m_panel->isVisible() && panelIsKey()) {
        if (!m_model->saving())
            hideCapture(true);
        return;
    }
    showCapture();
}

bool AppDelegate::blockingDialogRuns()
{
    // A dialog's own loop means code of ours waits for its answer, and an
    // application-modal window takes every other window's input: the panel
    // would come up unusable. A window-modal question blocks only its window,
    // but the panel shown over it would take the keyboard the question waits
    // for and leave it behind, unanswered.
    return QThread::currentThread()->loopLevel() > 1 || QApplication::activeModalWidget();
}

void AppDelegate::bringBlockingDialogForward()
{
    // A menu's or a drag's loop has no dialog: the press is for them.
    QWidget* dialog = QApplication::activeModalWidget();
    if (!dialog)
        return;
    // A question left behind a minimised window comes back with it.
    for (QWidget* window = dialog->parentWidget() ? dialog->parentWidget()->window() : nullptr; window;
         window = window->parentWidget() ? window->parentWidget()->window() : nullptr) {
        if (window->isMinimized())
            window->showNormal();
    }
    dialog->raise();
    dialog->activateWindow();
    if (xcb_connection_t* connection = activeWindowConnection())
        ActiveWindow::activate(connection, quint32(dialog->window()->internalWinId()), m_activationTime);
}

bool AppDelegate::panelIsKey() const
{
    if (m_panel->isActiveWindow())
        return true;
    // Qt learns of activation through focus events, which a hide quickly
    // followed by a show can leave out of order; the window manager knows.
    const std::optional<quint32> active = ActiveWindow::current(activeWindowConnection());
    return active && m_panel->internalWinId() && *active == quint32(m_panel->internalWinId());
}

void AppDelegate::showCapture()
{
    if (!m_panel)
        return;
    xcb_connection_t* connection = activeWindowConnection();
    // Our own window being active means the user came from us: the window to
    // return to stays the one remembered before.
    const std::optional<quint32> active = ActiveWindow::current(connection);
    if (!active || !isOurWindow(*active))
        m_previousApp = active;

    m_model->refreshIndex(true);

    const std::optional<ShowingPlacement> placement = showingPlacement(
        CapturePlacement::load(m_model->dataDirectory()), ScreenSpace::current(), QPointF(QCursor::pos()));
    if (placement) {
        m_panel->captureScreen = placement->captureScreen;
        m_panel->setFrame(placement->frame);
    }

    m_panel->show();
    m_panel->raise();
    m_panel->activateWindow();
    if (connection) {
        const quint32 time = m_activationTime;
        QTimer::singleShot(activationGrace, m_panel, [panel = QPointer(m_panel), connection, time] {
            if (panel && panel->isVisible() && !panel->isActiveWindow())
                ActiveWindow::activate(connection, quint32(panel->internalWinId()), time);
        });
    }
    m_panel->requestContentFit();
    focusEditor(m_panel->captureView());
}

void AppDelegate::hideCapture(bool restoringPreviousApp)
{
    // The place is remembered when the user drags the panel, and only then:
    // where a hide finds it may be where the screen or the text pushed it.
    m_model->saveDraftInBackground();
    if (!m_panel)
        return;
    if (CaptureTextView* editor = captureEditor(m_panel->captureView()))
        editor->dismissAuxiliaryWindows();
    m_panel->hide();

    if (restoringPreviousApp && !settingsOnScreen() && m_previousApp) {
        // A window closed meanwhile is simply not activated.
        ActiveWindow::activate(activeWindowConnection(), *m_previousApp, m_activationTime,
                               quint32(m_panel->internalWinId()));
    }
}

void AppDelegate::saveCapturePosition(const QRectF& frame)
{
    CapturePlacement::remember(frame, m_model->dataDirectory());
}

CaptureTextView* AppDelegate::captureEditor(QWidget* view)
{
    CaptureTextView* found = nullptr;
    forEachEditor(view, [&found](CaptureTextView* editor) {
        if (!found)
            found = editor;
    });
    return found;
}

void AppDelegate::focusEditor(QWidget* view)
{
    forEachEditor(view, [](CaptureTextView* editor) { editor->setFocus(Qt::OtherFocusReason); });
}

} // namespace quillor
