#pragma once

#include <QWidget>

#include <functional>

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
    // The empty areas kept for moving the panel: the strip above the editor
    // and the action row's stretch. The shell puts its drag handles there,
    // and takes the presses that no control of the view takes.
    QList<QWidget*> dragAreas() const;

    QSize sizeHint() const override;

    // Hides the panel (the "Annuler" button, Escape); set by the shell.
    std::function<void()> hide;
    // Opens the destination settings; set by the shell.
    std::function<void()> openSettings;

Q_SIGNALS:
    // The text's or the chrome's height may have changed.
    void contentFitRequested();

private:
    // The chrome looks at the model once per turn of the event loop: a
    // keystroke alone changes the content, the completions and the caret,
    // and every look resolves the route against the file system.
    void scheduleSync();

    AppModel& m_model;
    QWidget* m_dragStrip = nullptr;
    CaptureEditor* m_editor = nullptr;
    CaptureChrome* m_chrome = nullptr;
    bool m_syncScheduled = false;
};

} // namespace quillor
