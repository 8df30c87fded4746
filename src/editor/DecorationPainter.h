#pragma once

#include "editing/ListSyntax.h"
#include "editing/MarkdownDecorations.h"

#include <QColor>
#include <QList>
#include <QPalette>

class QPainter;

namespace quillor {

// Paints the live preview's decorations on the editor's viewport, in
// document coordinates: the backgrounds behind the text (quote bars, code,
// highlights, the dragged block) and the list controls over it (bullets and
// task boxes standing where their typed markers are hidden).
namespace DecorationPainter {

struct Colours {
    QColor text;
    QColor secondary;   // quote bars, bullets, task box borders
    QColor accent;      // checked task boxes
    QColor check;       // the tick inside a checked box

    static Colours from(const QPalette& palette);
};

// `originX` is where the text area starts: the drag feedback is clipped there,
// and a code background starting there is a fenced block's.
void paintBackgrounds(QPainter& painter, const QList<MarkdownLayoutManager::Decoration>& decorations,
                      const Colours& colours, qreal originX);

// A drawn task box in its rectangle, checked or not.
void paintTaskBox(QPainter& painter, const QRectF& rect, bool checked, const Colours& colours);
// A drawn bullet dash in its rectangle.
void paintBullet(QPainter& painter, const QRectF& rect, const Colours& colours);
// A list item's six-dot drag handle in its rectangle.
void paintHandle(QPainter& painter, const QRectF& rect, const QColor& colour);
// Where a dragged list block would drop: a dot and a line in the rectangle.
void paintInsertion(QPainter& painter, const QRectF& rect, const QColor& colour);

} // namespace DecorationPainter
} // namespace quillor
