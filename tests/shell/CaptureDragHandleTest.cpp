#include "ShellTestSupport.h"

#include "panel/CaptureView.h"
#include "shell/CaptureDragHandle.h"
#include "shell/CaptureGeometry.h"
#include "shell/CaptureGuides.h"
#include "shell/ScreenSpace.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

using namespace quillor;
using namespace std::chrono_literals;

namespace {

class CaptureDragHandleTest : public ::testing::Test {
protected:
    CaptureDragHandleTest() : panel(test::configured(session))
    {
        panel.onUserMoved = [this](const QRectF& frame) { saved.append(frame); };
    }

    static QRectF available() { return QGuiApplication::primaryScreen()->availableGeometry(); }

    void showAt(QPointF topLeft)
    {
        panel.captureScreen = available();
        panel.setFrame(QRectF(topLeft, QSizeF(CaptureGeometry::preferredWidth, panel.frame().height())));
        panel.show();
        test::spin(60ms);
    }

    QWidget* part(const char* name) const
    {
        auto* found = panel.findChild<QWidget*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    static CaptureGuides* guides()
    {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* found = qobject_cast<CaptureGuides*>(window); found && found->isVisible())
                return found;
        }
        return nullptr;
    }

    // A press on `target`, moves in two steps by `by`, and a release, as the
    // pointer sends them; `during` looks at the last move.
    void drag(QWidget* target, QPointF by, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
              const std::function<void()>& during = {})
    {
        const QPointF local(2, 2);
        const QPointF start = target->mapToGlobal(local);
        const auto send = [&](QEvent::Type type, QPointF global, Qt::MouseButtons buttons) {
            QMouseEvent event(type, local, global, Qt::LeftButton, buttons, modifiers);
            QApplication::sendEvent(target, &event);
        };
        send(QEvent::MouseButtonPress, start, Qt::LeftButton);
        if (!by.isNull()) {
            send(QEvent::MouseMove, start + by / 2, Qt::LeftButton);
            send(QEvent::MouseMove, start + by, Qt::LeftButton);
            if (during)
                during();
        }
        send(QEvent::MouseButtonRelease, start + by, Qt::NoButton);
        test::spin(30ms);
    }

    test::Session session;
    CapturePanel panel;
    QList<QRectF> saved;
};

TEST_F(CaptureDragHandleTest, AreasNoControlTakesMoveThePanelAndSaveItsPlaceOnce)
{
    const struct {
        const char* pressed;
        QPointF by;
        bool moves;
    } cases[] = {
        {"dragStripHandle", {30, 40}, true}, {"dragSpacerHandle", {30, 40}, true}, {"actionRow", {30, 40}, true},
        {"cancelButton", {30, 40}, false},   {"captureButton", {30, 40}, false},   {"dragStripHandle", {}, false},
    };
    // Well clear of every guide before and after, so nothing snaps.
    const QPointF start = available().topLeft() + QPointF(available().width() / 4 + 37, available().height() / 4 + 41);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pressed) + (c.by.isNull() ? " clicked" : " dragged"));
        showAt(start);
        saved.clear();
        const QRectF before = panel.frame();
        const QRectF target = before.translated(c.by);
        ASSERT_EQ(CaptureGeometry::aligned(ScreenSpace::toBottomLeft(target), ScreenSpace::toBottomLeft(available()),
                                           true)
                      .frame,
                  ScreenSpace::toBottomLeft(target));
        drag(part(c.pressed), c.by);
        EXPECT_EQ(panel.frame(), c.moves ? target : before);
        EXPECT_EQ(saved, c.moves ? QList<QRectF>{target} : QList<QRectF>{});
        EXPECT_FALSE(CaptureDragHandle::isDragging());
        EXPECT_FALSE(guides()) << "the guides outlived the drag";
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    }
    EXPECT_EQ(part("dragStripHandle")->cursor().shape(), Qt::OpenHandCursor);
    EXPECT_EQ(part("dragSpacerHandle")->toolTip(), "Déplacer la capture");
}

TEST_F(CaptureDragHandleTest, TheMiddleSnapsOntoTheCentreLineWithinTenPixelsUnlessAltIsHeld)
{
    const QRectF screen = available();
    const qreal centre = screen.x() + screen.width() / 2;
    const struct {
        qreal offset;   // from the centre line where the pointer leaves the middle
        Qt::KeyboardModifiers modifiers;
        qreal expected;
    } cases[] = {
        {8, Qt::NoModifier, 0},
        {-8, Qt::NoModifier, 0},
        {11, Qt::NoModifier, 11},
        {8, Qt::AltModifier, 8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.offset);
        // Vertically well away from the horizontal guides.
        showAt(QPointF(centre - 240 - 80, screen.y() + screen.height() / 4 + 41));
        bool highlighted = false;
        drag(part("dragStripHandle"), QPointF(80 + c.offset, 0), c.modifiers, [&] {
            CaptureGuides* shown = guides();
            ASSERT_TRUE(shown) << "no guides during the drag";
            EXPECT_EQ(shown->geometry(), screen.toRect());
            for (const CaptureGuides::Line& line : shown->lines())
                highlighted = highlighted || line.highlighted;
        });
        EXPECT_EQ(panel.frame().center().x(), centre + c.expected);
        EXPECT_EQ(highlighted, c.expected == 0);
    }
}

// The release went to another window (a grab the window system broke): the
// next move without the button ends the drag, which counts as a move.
TEST_F(CaptureDragHandleTest, ADragWhoseReleaseWentElsewhereEndsAtTheNextMove)
{
    showAt(available().topLeft() + QPointF(available().width() / 4 + 37, available().height() / 4 + 41));
    QWidget* handle = part("dragStripHandle");
    const QPointF start = handle->mapToGlobal(QPointF(2, 2));
    const auto send = [&](QEvent::Type type, QPointF global, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(2, 2), global, Qt::LeftButton, buttons, Qt::AltModifier);
        QApplication::sendEvent(handle, &event);
    };
    send(QEvent::MouseButtonPress, start, Qt::LeftButton);
    send(QEvent::MouseMove, start + QPointF(20, 10), Qt::LeftButton);
    ASSERT_TRUE(CaptureDragHandle::isDragging());
    send(QEvent::MouseMove, start + QPointF(40, 20), Qt::NoButton);
    EXPECT_FALSE(CaptureDragHandle::isDragging());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(saved.size(), 1);
    test::spin(30ms);
    EXPECT_FALSE(guides());
}

TEST_F(CaptureDragHandleTest, ADragHalfOffTheScreenIsFittedBackAtTheEnd)
{
    const QRectF screen = available();
    showAt(QPointF(screen.x() + screen.width() / 4 + 37, screen.bottom() - 200));
    drag(part("dragSpacerHandle"), QPointF(0, 150), Qt::AltModifier);
    EXPECT_TRUE(screen.contains(panel.frame())) << panel.frame().bottom() << " > " << screen.bottom();
    EXPECT_EQ(saved, QList<QRectF>{panel.frame()});
}

// The snapped line stands out: twice as wide and twice as opaque; without a
// compositing manager the window is cut down to its lines.
TEST(CaptureGuidesTest, TheSnappedLineIsDrawnThickerAndTheWindowIsMaskedToTheLines)
{
    CaptureGuides guides;
    const QRect area(0, 0, 400, 200);
    guides.show(area, 200.0, std::nullopt);
    ASSERT_EQ(guides.geometry(), area);
    QImage image(area.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    // A masked widget renders the bounds of its mask at the target offset.
    guides.render(&image, guides.mask().boundingRect().topLeft(), QRegion(), QWidget::DrawChildren);
    // The strongest alpha and the number of inked columns near a vertical
    // line, above the first horizontal one.
    const auto stroke = [&](int x) {
        int strongest = 0, columns = 0;
        for (int column = x - 3; column <= x + 3; ++column) {
            int best = 0;
            for (int y = 0; y < area.height() / 4 - 4; ++y)
                best = std::max(best, qAlpha(image.pixel(column, y)));
            strongest = std::max(strongest, best);
            columns += best > 0;
        }
        return std::pair{strongest, columns};
    };
    const auto [snappedAlpha, snappedColumns] = stroke(200);
    const auto [plainAlpha, plainColumns] = stroke(100);
    EXPECT_NEAR(snappedAlpha, 0.95 * 255, 3);
    EXPECT_NEAR(plainAlpha, 0.45 * 255, 3);
    EXPECT_GE(snappedColumns, 2 * plainColumns);
    // Dashed: some pixels along the line are clear.
    EXPECT_EQ(qAlpha(image.pixel(100, 8)), 0);

    // The mask is exactly the inked pixels.
    const QRegion mask = guides.mask();
    for (const QPoint point : {QPoint(200, 2), QPoint(100, 2), QPoint(2, 100), QPoint(100, 8), QPoint(150, 70)})
        EXPECT_EQ(mask.contains(point), qAlpha(image.pixel(point)) > 0) << point.x() << "," << point.y();
    EXPECT_TRUE(mask.contains(QPoint(200, 2)));
}

} // namespace
