#include "panel/CaptureButtonFeedback.h"

#include <QAbstractButton>
#include <QEvent>
#include <QPainter>
#include <QPushButton>

namespace quillor {

namespace {

// Paints the hover fill at the start of the button's own painting, so the
// button draws over it.
class Feedback : public QObject {
public:
    explicit Feedback(QAbstractButton* button) : QObject(button) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            auto* button = static_cast<QAbstractButton*>(watched);
            if (CaptureButtonFeedback::showsHoverFill(button)) {
                QPainter painter(button);
                painter.setRenderHint(QPainter::Antialiasing);
                painter.setPen(Qt::NoPen);
                QColor fill = button->palette().color(QPalette::WindowText);
                fill.setAlphaF(CaptureButtonFeedback::hoverAlpha);
                painter.setBrush(fill);
                painter.drawRoundedRect(QRectF(button->rect()), CaptureButtonFeedback::cornerRadius,
                                        CaptureButtonFeedback::cornerRadius);
            }
        }
        return false;
    }
};

} // namespace

namespace CaptureButtonFeedback {

void install(QAbstractButton* button)
{
    if (button->findChild<Feedback*>(QString(), Qt::FindDirectChildrenOnly))
        return;
    // Entering and leaving repaint the button.
    button->setAttribute(Qt::WA_Hover);
    button->setCursor(Qt::PointingHandCursor);
    button->installEventFilter(new Feedback(button));
}

bool showsHoverFill(const QAbstractButton* button)
{
    return button->isEnabled() && button->underMouse();
}

} // namespace CaptureButtonFeedback

namespace AppButtonStyle {

void apply(QPushButton* button)
{
    CaptureButtonFeedback::install(button);
}

} // namespace AppButtonStyle

} // namespace quillor
