#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>

#include <functional>

namespace quillor {

// A plain window that shows one image of the capture large, scaled up or down
// with its proportions kept. Closing it (Escape, its close button, or its
// owner's close()) only hides it: the next preview reuses it. Each time it
// shows while hidden it is sized from the capture panel's screen and centred
// on it; shown again while visible it keeps the size and place the user gave.
class ImagePreviewWindow : public QWidget {
    Q_OBJECT

public:
    // A top-level window that goes with `owner`.
    explicit ImagePreviewWindow(QWidget* owner);

    // Shows the image, above other windows whenever `relativeTo` is.
    void show(const QImage& image, QWidget* relativeTo);
    const QImage& image() const;

    // Run on every close; set by the owner.
    std::function<void()> onClose;

    // The frame a hidden preview takes on a screen's available area: at most
    // 85 % of it and 800 × 600, centred.
    static QRect initialFrame(const QRect& area);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    class ImageView;
    ImageView* m_view = nullptr;
};

} // namespace quillor
