#pragma once

#include <QPoint>
#include <QPointF>
#include <QWidget>

#include <functional>
#include <optional>

namespace quillor {

class AppModel;
class CaptureChrome;
class CaptureEditor;
class CaptureTextView;

// The capture panel's content, top to bottom: a drag strip, the editor taking
// the free height, and the chrome (attachments, index status, notice, the
// action row with the destination menu, "Annuler" and "Capturer").
class CaptureView : public QWidget {
    Q_OBJECT

public:
    explicit CaptureView(AppModel& model, QWidget* parent = nullptr);
    ~CaptureView() override;

    CaptureTextView* editor() const;
    // The chrome below the editor at its ideal height for the view's width:
    // the panel fits the editor's text plus this.
    qreal chromeHeight() const;
    CaptureChrome* chrome() const { return m_chrome; }

    QSize sizeHint() const override;

    // Hides the panel (the "Annuler" button, Escape); set by the shell.
    std::function<void()> hide;
    // Opens the destination settings; set by the shell.
    std::function<void()> openSettings;

Q_SIGNALS:
    // The text's or the chrome's height may have changed.
    void contentFitRequested();
    // A press on an empty area dragged the window; emitted once, at release,
    // when it moved.
    void userMoved();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // The chrome looks at the model once per turn of the event loop: a
    // keystroke alone changes the content, the completions and the caret,
    // and every look resolves the route against the file system.
    void scheduleSync();

    AppModel& m_model;
    CaptureEditor* m_editor = nullptr;
    CaptureChrome* m_chrome = nullptr;
    bool m_syncScheduled = false;

    // A drag of the window from an empty area: where the press was (global)
    // and where the window was then.
    std::optional<QPointF> m_pressPosition;
    QPoint m_windowStart;
    bool m_moved = false;
};

} // namespace quillor
