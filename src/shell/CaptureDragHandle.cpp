#include "shell/CaptureDragHandle.h"

#include "core/L10n.h"
#include "shell/CaptureGeometry.h"
#include "shell/CaptureGuides.h"
#include "shell/CapturePanel.h"
#include "shell/ScreenSpace.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

#include <cmath>
#include <memory>

namespace quillor {

namespace {

// One drag of the panel, from the press to whatever ends it: the release,
// a lost grab, the panel losing the focus or hiding.
class Drag : public QObject {
public:
    Drag(CapturePanel& panel, QWidget* pressed, const QMouseEvent& press)
        : m_panel(&panel), m_pressed(pressed), m_start(press.globalPosition()), m_startFrame(panel.frame())
    {
        s_current = this;
        pressed->installEventFilter(this);
        panel.installEventFilter(this);
        // A grab the window system breaks is reported to the window.
        if (QWindow* window = panel.windowHandle())
            window->installEventFilter(this);
        // The moves reach the pressed widget wherever the pointer goes, also
        // those without the button, which tell that the release was missed.
        m_tracked = pressed->hasMouseTracking();
        pressed->setMouseTracking(true);
        pressed->grabMouse();
        QGuiApplication::setOverrideCursor(Qt::ClosedHandCursor);
    }

    ~Drag() override
    {
        if (s_current == this)
            s_current = nullptr;
    }

    static Drag* current() { return s_current; }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseMove:
            if (watched == m_pressed) {
                const auto* move = static_cast<QMouseEvent*>(event);
                // A move without the button: its release went elsewhere.
                if (move->buttons() & Qt::LeftButton)
                    follow(*move);
                else
                    finish();
                return true;
            }
            break;
        case QEvent::MouseButtonRelease:
            if (watched == m_pressed && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                follow(*static_cast<QMouseEvent*>(event));
                finish();
                return true;
            }
            break;
        case QEvent::WindowDeactivate:
            // Only a window of another program ends the drag: some platforms
            // hand the focus to the guides however they are flagged.
            if (m_guides && QGuiApplication::focusWindow() == m_guides->windowHandle())
                break;
            finish();
            break;
        case QEvent::UngrabMouse:
        case QEvent::Hide:
            finish();
            break;
        default:
            break;
        }
        return false;
    }

    void finish()
    {
        if (m_finished)
            return;
        m_finished = true;
        if (m_pressed) {
            m_pressed->removeEventFilter(this);
            m_pressed->releaseMouse();
            m_pressed->setMouseTracking(m_tracked);
        }
        if (m_panel) {
            m_panel->removeEventFilter(this);
            if (QWindow* window = m_panel->windowHandle())
                window->removeEventFilter(this);
        }
        // The end may come from inside an event about the guides' own window.
        if (m_guides) {
            m_guides->hide();
            m_guides.release()->deleteLater();
        }
        QGuiApplication::restoreOverrideCursor();
        if (s_current == this)
            s_current = nullptr;
        if (m_moved && m_panel)
            m_panel->didFinishUserMove();
        deleteLater();
    }

private:
    void follow(const QMouseEvent& event)
    {
        if (!m_panel)
            return;
        const QPointF pointer = event.globalPosition();
        if (!m_moved && pointer == m_start)
            return;
        QScreen* screen = QGuiApplication::screenAt(pointer.toPoint());
        if (!screen)
            screen = m_panel->screen();
        if (!screen)
            return;
        const QRectF available = screen->availableGeometry();
        const QRectF proposed = m_startFrame.translated(pointer - m_start);
        const bool snapping = !(event.modifiers() & Qt::AltModifier);
        const CaptureGeometry::Alignment aligned = CaptureGeometry::aligned(
            ScreenSpace::toBottomLeft(proposed), ScreenSpace::toBottomLeft(available), snapping);
        const QRectF frame = ScreenSpace::toTopLeft(aligned.frame);
        const QPointF topLeft(std::round(frame.x()), std::round(frame.y()));
        m_panel->setFrame(QRectF(topLeft, m_panel->frame().size()));
        m_moved = true;
        if (!m_guides)
            m_guides = std::make_unique<CaptureGuides>();
        // Bottom-left space mirrors y about 0.
        const std::optional<qreal> horizontal =
            aligned.horizontal ? std::optional<qreal>(-*aligned.horizontal) : std::nullopt;
        m_guides->show(available.toRect(), aligned.vertical, horizontal);
    }

    static inline Drag* s_current = nullptr;

    QPointer<CapturePanel> m_panel;
    QPointer<QWidget> m_pressed;
    QPointF m_start;
    QRectF m_startFrame;
    std::unique_ptr<CaptureGuides> m_guides;
    bool m_tracked = false;
    bool m_moved = false;
    bool m_finished = false;
};

// Hands the presses a view receives, once its controls declined them, to a drag.
class UntakenPresses : public QObject {
public:
    UntakenPresses(CapturePanel& panel, QWidget* view) : QObject(view), m_panel(panel) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::MouseButtonPress)
            return false;
        auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() != Qt::LeftButton)
            return false;
        CaptureDragHandle::move(m_panel, static_cast<QWidget*>(watched), *press);
        return true;
    }

private:
    CapturePanel& m_panel;
};

} // namespace

CaptureDragHandle::CaptureDragHandle(CapturePanel& panel, QWidget* area) : QWidget(area), m_panel(panel)
{
    setObjectName(area->objectName() + QStringLiteral("Handle"));
    setCursor(Qt::OpenHandCursor);
    setToolTip(L10n::text(QStringLiteral("Déplacer la capture")));
    auto* fill = new QVBoxLayout(area);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(this);
}

void CaptureDragHandle::moveOnUntakenPresses(CapturePanel& panel, QWidget* view)
{
    // Inherited by every part of the view without a cursor of its own.
    view->setCursor(Qt::OpenHandCursor);
    view->installEventFilter(new UntakenPresses(panel, view));
}

void CaptureDragHandle::move(CapturePanel& panel, QWidget* pressed, const QMouseEvent& press)
{
    if (press.button() != Qt::LeftButton)
        return;
    // A drag that never saw its release gives way.
    if (Drag* stale = Drag::current())
        stale->finish();
    new Drag(panel, pressed, press);
}

bool CaptureDragHandle::isDragging() { return Drag::current() != nullptr; }

void CaptureDragHandle::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    event->accept();
    move(m_panel, this, *event);
}

} // namespace quillor
