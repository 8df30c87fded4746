#include "editor/ImagePreviewWindow.h"

#include "core/L10n.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace quillor {

namespace {
constexpr int imageMargin = 16;
constexpr QSize smallestSize(240, 200);
constexpr QSize largestSize(800, 600);
constexpr double screenShare = 0.85;
const QRect areaWithoutScreen(0, 0, 1000, 800);
} // namespace

// The image scaled into the view, proportions kept: a scaled label would
// stretch it.
class ImagePreviewWindow::ImageView : public QWidget {
public:
    using QWidget::QWidget;

    QImage image;

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (image.isNull() || width() <= 0 || height() <= 0)
            return;
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        const QSizeF shown = QSizeF(image.size()).scaled(QSizeF(size()), Qt::KeepAspectRatio);
        const QPointF corner((width() - shown.width()) / 2, (height() - shown.height()) / 2);
        painter.drawImage(QRectF(corner, shown), image);
    }
};

ImagePreviewWindow::ImagePreviewWindow(QWidget* owner) : QWidget(owner, Qt::Window)
{
    setWindowTitle(L10n::text(QStringLiteral("Aperçu de l’image")));
    setMinimumSize(smallestSize);
    resize(largestSize);
    m_view = new ImageView(this);
    m_view->setAccessibleName(L10n::text(QStringLiteral("Image en grand")));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(imageMargin, imageMargin, imageMargin, imageMargin);
    layout->addWidget(m_view);
}

const QImage& ImagePreviewWindow::image() const
{
    return m_view->image;
}

QRect ImagePreviewWindow::initialFrame(const QRect& area)
{
    const double width = std::min(area.width() * screenShare, double(largestSize.width()));
    const double height = std::min(area.height() * screenShare, double(largestSize.height()));
    const QPointF middle = QRectF(area).center();
    return QRect(int(std::lround(middle.x() - width / 2)), int(std::lround(middle.y() - height / 2)),
                 int(std::lround(width)), int(std::lround(height)));
}

void ImagePreviewWindow::show(const QImage& image, QWidget* relativeTo)
{
    m_view->image = image;
    m_view->update();
    const bool wasVisible = isVisible();
    // Floats with a floating panel. Changing the hint hides the window.
    const bool onTop = relativeTo && relativeTo->window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) != onTop) {
        const QRect kept = geometry();
        setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
        if (wasVisible)
            setGeometry(kept);
    }
    if (!wasVisible) {
        QScreen* screen = relativeTo ? relativeTo->screen() : nullptr;
        if (!screen)
            screen = QGuiApplication::primaryScreen();
        setGeometry(initialFrame(screen ? screen->availableGeometry() : areaWithoutScreen));
    }
    QWidget::show();
    raise();
    activateWindow();
}

void ImagePreviewWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ImagePreviewWindow::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (onClose)
        onClose();
}

} // namespace quillor
