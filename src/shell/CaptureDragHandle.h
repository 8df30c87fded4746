#pragma once

#include <QWidget>

class QMouseEvent;

namespace quillor {

class CapturePanel;

// Where the capture panel is taken to be moved: an open hand that fills an
// area of the panel's chrome. A drag moves the panel with the pointer, snaps
// its middle or edges onto the quarter, half and three-quarter lines of the
// screen under the pointer (not while Alt is held) and shows those lines
// meanwhile; at its end, after a real move, the panel refits and its place is
// saved. A press and release on the spot does nothing.
class CaptureDragHandle : public QWidget {
    Q_OBJECT

public:
    // A handle filling `area`, which must have no layout of its own.
    CaptureDragHandle(CapturePanel& panel, QWidget* area);

    // Presses that reach `view` because none of its controls took them move
    // the panel too.
    static void moveOnUntakenPresses(CapturePanel& panel, QWidget* view);

    // Moves the panel from a left press that `pressed` received: the moves
    // and the release that follow reach it.
    static void move(CapturePanel& panel, QWidget* pressed, const QMouseEvent& press);
    static bool isDragging();

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    CapturePanel& m_panel;
};

} // namespace quillor
