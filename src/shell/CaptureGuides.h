#pragma once

#include <QImage>
#include <QWidget>

#include <optional>

namespace quillor {

// The dashed lines at a quarter, half and three quarters of a screen, shown
// over everything while the capture panel is dragged; the line the panel
// snapped to is drawn thicker. Click-through, never focused, placed by no
// window manager.
class CaptureGuides : public QWidget {
    Q_OBJECT

public:
    CaptureGuides();

    // Covers `available` (a screen's available geometry) and marks the lines
    // snapped to, given in global coordinates.
    void show(const QRect& available, std::optional<qreal> vertical, std::optional<qreal> horizontal);

    // Lines in the widget's own coordinates, and whether each is highlighted.
    struct Line {
        Qt::Orientation orientation;
        qreal position;
        bool highlighted;
    };
    QList<Line> lines() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void redraw();
    // The lines in their colours, or all opaque (the window's shape).
    QImage drawing(bool opaque) const;

    std::optional<qreal> m_vertical;     // global x
    std::optional<qreal> m_horizontal;   // global y
    // What the drawing was made for.
    struct Drawn {
        QRect geometry;
        std::optional<qreal> vertical;
        std::optional<qreal> horizontal;
        bool operator==(const Drawn&) const = default;
    };
    Drawn m_drawn;
    QImage m_drawing;
};

} // namespace quillor
