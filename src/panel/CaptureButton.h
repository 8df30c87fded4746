#pragma once

#include <QPushButton>

class QPainter;

namespace quillor {

// The look of the capture panel's buttons: a rounded fill (the accent for the
// prominent one, a faint wash of the text colour otherwise), darker while
// pressed, the whole button faded while disabled.
namespace CaptureButtonStyle {

inline constexpr qreal cornerRadius = 6;
inline constexpr int minimumHeight = 30;
inline constexpr qreal disabledOpacity = 0.45;
inline constexpr qreal plainFillAlpha = 0.075;
inline constexpr qreal plainTextAlpha = 0.85;
inline constexpr qreal pressedAlpha = 0.12;

QColor fill(const QPalette& palette, bool prominent);
QColor foreground(const QPalette& palette, bool prominent);

} // namespace CaptureButtonStyle

// A push button that paints CaptureButtonStyle itself, with the hover
// feedback; only its rounded shape takes clicks. The label is an optional
// icon then the text, centred with 8 pixels of padding each side.
class CaptureButton : public QPushButton {
    Q_OBJECT

public:
    explicit CaptureButton(const QString& text = QString(), QWidget* parent = nullptr, bool prominent = false);

    bool isProminent() const { return m_prominent; }
    void setProminent(bool prominent);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& position) const override;
    // The label inside the padding, with the painter already faded when
    // disabled and its pen in the foreground colour.
    virtual void paintLabel(QPainter& painter, const QRect& area);

    static constexpr int horizontalPadding = 8;
    static constexpr int spacing = 8;

private:
    bool m_prominent = false;
};

} // namespace quillor
