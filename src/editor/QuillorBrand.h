#pragma once

#include <QColor>
#include <QPainterPath>
#include <QPixmap>
#include <QRectF>

class QPainter;
class QPalette;

namespace quillor {

// The brand's colours and its mark: two nested U-shaped bands with bevelled
// tops and a dot above them. The mark is the tray icon and the faint corner
// mark of an empty capture.
namespace QuillorBrand {

QColor blue();
// The accent in a dark or a light setting.
QColor accent(bool dark);
// Whether a palette is a dark one: its window colour is darker than mid-grey.
bool isDark(const QPalette& palette);

// The two bands, then the dot, mapped into a rectangle (y downwards).
QPainterPath lanes(const QRectF& rect);
QPainterPath idea(const QRectF& rect);
// Both parts together.
QPainterPath mark(const QRectF& rect);

void draw(QPainter& painter, const QRectF& rect, const QColor& lanes, const QColor& idea);

// The mark as a square pixmap of `size` device-independent pixels at the
// given pixel ratio: all in `label` when monochrome, else in the accent of
// the setting `label` belongs to (a light label colour means a dark setting).
QPixmap image(int size, bool monochrome, const QColor& label, qreal devicePixelRatio = 1);

} // namespace QuillorBrand
} // namespace quillor
