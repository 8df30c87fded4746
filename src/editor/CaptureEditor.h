#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QWidget;

namespace quillor {

class AppModel;
class CaptureTextView;

// Puts a configured CaptureTextView between the model and the capture view:
// installs the model's editor callbacks (each falls silent once the view is
// gone, except the destination choice, which then goes to the model), passes
// text and selection changes back to the model, and keeps the view's
// editability and colours in step with the model and the palette.
class CaptureEditor : public QObject {
    Q_OBJECT

public:
    // The text view is created as a child of `host`, which places it.
    CaptureEditor(AppModel& model, QWidget* host);
    ~CaptureEditor() override;

    CaptureTextView* textView() const { return m_view; }

    // Hides the capture panel (Escape); forwarded to the text view.
    void setHide(std::function<void()> hide);

Q_SIGNALS:
    // The text's height may have changed: the panel fits itself to it.
    void contentFitRequested();

private:
    void syncEditability();
    void installCallbacks();

    AppModel& m_model;
    QPointer<CaptureTextView> m_view;
};

} // namespace quillor
