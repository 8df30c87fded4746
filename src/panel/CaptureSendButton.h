#pragma once

#include "panel/CaptureButton.h"

class QLabel;

namespace quillor {

class BusySpinner;

// The capture button: "Capturer" and its key gesture, or a spinner and
// "Enregistrement…" while the capture is being saved. The prominent button.
class CaptureSendButton : public CaptureButton {
    Q_OBJECT

public:
    explicit CaptureSendButton(QWidget* parent = nullptr);

    void setSaving(bool saving);
    // The text shown, without the gesture.
    QString title() const;
    bool isSpinnerShown() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void changeEvent(QEvent* event) override;
    // The label is made of child widgets.
    void paintLabel(QPainter&, const QRect&) override {}

private:
    void colourLabel();

    BusySpinner* m_spinner = nullptr;
    QLabel* m_title = nullptr;
    QLabel* m_gesture = nullptr;
};

} // namespace quillor
