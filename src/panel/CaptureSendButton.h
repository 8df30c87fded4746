#pragma once

#include <QPushButton>

class QLabel;

namespace quillor {

class BusySpinner;

// The capture button: "Capturer" and its key gesture, or a spinner and
// "Enregistrement…" while the capture is being saved.
class CaptureSendButton : public QPushButton {
    Q_OBJECT

public:
    explicit CaptureSendButton(QWidget* parent = nullptr);

    void setSaving(bool saving);
    // The text shown, without the gesture.
    QString title() const;
    bool isSpinnerShown() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    BusySpinner* m_spinner = nullptr;
    QLabel* m_title = nullptr;
    QLabel* m_gesture = nullptr;
};

} // namespace quillor
