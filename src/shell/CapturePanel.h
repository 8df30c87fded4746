#pragma once

#include "shell/CapturePanelMoves.h"
#include "shell/ScreenSpace.h"

#include <QList>
#include <QRectF>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

namespace quillor {

class AppModel;
class CaptureView;

// The floating window that holds the capture view: frameless, above other
// windows, on every workspace, out of the taskbar. It grows and shrinks with
// the text between one line and a screen-dependent maximum, keeping its top
// edge where the user put it.
class CapturePanel : public QWidget {
    Q_OBJECT

public:
    explicit CapturePanel(AppModel& model, QWidget* parent = nullptr);
    ~CapturePanel() override;

    CaptureView* captureView() const { return m_view; }

    // Paints the hidden panel once, into an image: the first hot-key press
    // after launch then finds the styles, fonts, glyphs and code its painting
    // needs loaded, instead of loading them while the user waits.
    void prepareFirstShowing();

    // Coalesces fit requests onto the next turn of the event loop; nothing
    // while hidden.
    void requestContentFit();
    void fitContent();
    // After a drag or the window manager moved the panel: refits it into its
    // screen and tells onUserMoved the resulting frame.
    void didFinishUserMove();
    // The screens changed: the panel is fitted onto the best one.
    void screensChanged();
    void screensChanged(const QList<ScreenArea>& screens);

    // Showing also marks the window as a floating palette for the window
    // manager: on every workspace, out of the taskbar and pager.
    void setVisible(bool visible) override;

    // The available geometry (Qt coordinates) of the screen the panel belongs
    // to; fitting needs it.
    std::optional<QRectF> captureScreen;
    std::function<void(const QRectF&)> onUserMoved;

    // The panel's frame in Qt coordinates: where it was last placed, by a
    // showing, a fit, a drag, a change of screens or a move of the window
    // manager's (Alt+drag, a pager). Not Qt's idea of the window's position,
    // which while a window manager takes the window on may name the corner
    // where the manager made its frame, possibly after the window is exposed.
    QRectF frame() const { return m_frame; }
    void setFrame(const QRectF& frame);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The suggestions window does not follow the panel by itself, and hides
    // while the panel is not the active window.
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    class WindowEvents;

    CaptureView* m_view = nullptr;
    QRectF m_frame;
    PanelMoves m_moves;
    // Before the QWidget part goes: no event reaches a panel half destroyed.
    std::unique_ptr<WindowEvents> m_windowEvents;
    bool m_fittingContent = false;
    bool m_contentFitScheduled = false;
    bool m_fitWhenExposed = false;

    void updateSuggestions();
    // A text taller than the screen overflows whatever the fit: the scroll
    // bar goes on before the text is laid out at a width it would then lose.
    void showBarForTextOfHeight(qreal height);
    void showBarForLongText();
    void watchWindowSystem(xcb_connection_t* connection, quint32 window);
    void positionReported(QPoint position);
};

} // namespace quillor
