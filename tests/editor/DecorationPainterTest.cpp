#include "editor/DecorationPainter.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <functional>

using namespace quillor;

namespace {

using Kind = MarkdownLayoutManager::DecorationKind;
using Paint = std::function<void(QPainter&)>;

// The largest difference of one channel between two images of one size.
int largestDifference(const QImage& a, const QImage& b)
{
    int largest = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            largest = std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    }
    return largest;
}

// Painted at a place, through a painter that only moves (drawn from an
// image) or one that also shears by a hair (drawn directly).
QImage painted(const Paint& paint, QPointF place, bool direct)
{
    QImage image(140, 80, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    QTransform transform = QTransform::fromTranslate(place.x(), place.y());
    if (direct)
        transform = QTransform().shear(0, 1e-9) * transform;
    painter.setTransform(transform);
    paint(painter);
    return image;
}

} // namespace

// Task boxes, bullets, handles and backgrounds are drawn once into an image
// and copied after: copied at whole and quarter-pixel places, in other sizes
// and colours, they land on the pixels drawing them directly would give.
TEST(DecorationPainterTest, LooksCopiedFromImagesMatchThoseDrawnDirectly)
{
    const DecorationPainter::Colours dark{Qt::black, QColor(0, 0, 0, 128), QColor(20, 90, 200), Qt::white};
    const DecorationPainter::Colours light{QColor(200, 40, 40), QColor(200, 40, 40, 128), QColor(30, 160, 60),
                                           Qt::yellow};
    const auto background = [](Kind kind, QRectF rect, DecorationPainter::Colours colours) -> Paint {
        return [=](QPainter& painter) { DecorationPainter::paintBackgrounds(painter, {{kind, rect}}, colours, 0); };
    };
    // Name, painting, and how far apart the two may be: Qt strokes a thin
    // outline a little differently once its transform does more than move,
    // which the code background's outline shows.
    struct Look {
        std::string name;
        Paint paint;
        int tolerance = 3;
    };
    QList<Look> looks;
    for (const auto& [name, colours] : {std::pair{"dark", dark}, std::pair{"light", light}}) {
        const std::string in = std::string(" in ") + name;
        looks.append({"code" + in, background(Kind::code, QRectF(0, 0, 60, 18), colours), 16});
        looks.append({"wider code" + in, background(Kind::code, QRectF(0, 0, 95.5, 18), colours), 16});
        looks.append({"quote" + in, background(Kind::quote, QRectF(0, 0, 4, 40), colours)});
        looks.append({"highlight" + in, background(Kind::highlight, QRectF(0, 0, 50, 17.5), colours)});
        looks.append({"task box" + in, [colours](QPainter& p) {
                          DecorationPainter::paintTaskBox(p, QRectF(0, 0, 15, 15), false, colours);
                      }});
        looks.append({"checked task box" + in, [colours](QPainter& p) {
                          DecorationPainter::paintTaskBox(p, QRectF(0, 0, 15, 15), true, colours);
                      }});
        looks.append({"bullet" + in,
                      [colours](QPainter& p) { DecorationPainter::paintBullet(p, QRectF(0, 0, 15, 15), colours); }});
        looks.append({"handle" + in, [colours](QPainter& p) {
                          DecorationPainter::paintHandle(p, QRectF(0, 0, 10, 24), colours.secondary);
                      }});
    }
    for (const auto& [name, paint, tolerance] : looks) {
        for (const QPointF place : {QPointF(10, 6), QPointF(20.25, 7.5), QPointF(33.75, 12.25), QPointF(10, 6)}) {
            const QImage copied = painted(paint, place, false);
            EXPECT_NE(copied, painted([](QPainter&) {}, place, false)) << name;
            EXPECT_LE(largestDifference(copied, painted(paint, place, true)), tolerance)
                << name << " at " << place.x() << ", " << place.y();
        }
    }
}

// A background drawn from an image copies the image its look got the first
// time, wherever that background stood. Far down a document a line's edges
// are sums that miss its height by a hair: one row's pixels must not depend
// on which row of the same look was painted first, or an edited editor shows
// edges a new one does not.
TEST(DecorationPainterTest, ABackgroundCopiedFromAnImageIsTheSameWhicheverRowDrewItsLookFirst)
{
    // Code in the lines of a long list, 27.515625 px apart, as the layout
    // places them 8000 px down.
    const qreal pitch = 27.515625;
    const qreal width = 61.5;
    const auto paint = [](const QRectF& rect, const DecorationPainter::Colours& colours, QPointF scroll) {
        QImage image(240, 80, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.translate(-scroll);
        DecorationPainter::paintBackgrounds(painter, {{Kind::code, rect}}, colours, 0);
        return image.convertToFormat(QImage::Format_Alpha8);
    };
    int differing = 0;
    for (int row = 0; row < 60; ++row) {
        const qreal top = 7789.40625 + row * pitch - pitch * 4 / 5;
        const QRectF line(QPointF(120.640625, top), QPointF(120.640625 + width, top + pitch));
        const QRectF far = line.adjusted(0, 1, 0, -1);
        // The same look near the top, at the same quarter pixel, its size exact.
        const QPointF scroll(std::floor(far.left()) - 10, std::floor(far.top()) - 20);
        const QRectF near(far.topLeft() - scroll, QSizeF(width, pitch - 2));
        // Text colours of their own make the looks new to the painter; they
        // differ only where the coverage, which the alpha shows, does not.
        const DecorationPainter::Colours afterFar{QColor(1, 2 * row, 3), Qt::gray, Qt::blue, Qt::white};
        const DecorationPainter::Colours alone{QColor(1, 2 * row + 1, 3), Qt::gray, Qt::blue, Qt::white};
        paint(far, afterFar, scroll);
        differing += paint(near, afterFar, QPointF()) != paint(near, alone, QPointF());
    }
    EXPECT_EQ(differing, 0) << "rows whose pixels depend on the row drawn first";
}
