#pragma once

#include <QPointF>
#include <QRectF>
#include <QtGlobal>

namespace quillor {

// Line heights of the editor, the list drag handle, the gestures that change a
// list item's indentation, the caret and the drop indicator. Lengths are
// device-independent pixels in document coordinates (y grows downwards); font
// sizes are pixel sizes.
namespace EditorLayout {

constexpr qreal lineHeightMultiplier = 1.5;
constexpr qreal swipeCommitDistance = 24;
constexpr qreal handleWidth = 14;
constexpr qreal handleMarkerGap = 2.7;
constexpr qreal handleEdgeInset = 8;
constexpr qreal horizontalInset = 8;
// Where a list line's text starts: room for the handle and its gap.
constexpr qreal listLeadingIndent = handleWidth + handleMarkerGap;
constexpr qreal dragStep = 24;
// Indentation steps one drag may apply, either way.
constexpr int maximumDragSteps = 32;

// (fontSize + 2), × 1.5 on a list line.
qreal lineHeight(qreal fontSize, bool listItem);
// The room lineHeight leaves above the glyphs of the font.
qreal lineSpacing(qreal fontSize, bool listItem);

// The drag handle left of a list marker, never left of the text's edge.
QRectF listHandleRect(const QRectF& marker);
// Where a press starts a list drag: the handle and the marker grown by 3.
QRectF markerDragRect(const QRectF& handle, const QRectF& marker);

// The translation decides once it has moved 1 pixel along its larger axis;
// before that the velocity does. Mostly sideways means 1.2 × |y| < |x|.
bool isHorizontalSwipe(QPointF translation, QPointF velocity);
// +1 (indent) or −1 (outdent) for a sideways swipe of at least 24, else 0.
int swipeIndentationStep(QPointF translation);
// A drag's horizontal travel in whole steps of 24, toward zero, within ±32;
// 0 when not finite.
int indentationSteps(qreal translation);

// The caret centred on the middle of the line's rectangle with the given
// height; the rectangle itself when either is unusable (not finite, or a
// height not above 0).
QRectF caretRect(const QRectF& rect, qreal height);

// The drop indicator's rectangle for a list drag: from 3 left of the middle of
// the handle for a marker at markerX to trailingX, 8 high, centred on y.
QRectF listInsertionRect(qreal markerX, qreal y, qreal trailingX);

// How the drop indicator is drawn in its rectangle: a dot of diameter 6 whose
// left edge is the rectangle's left, and a line from the dot's centre to the
// rectangle's right, both on its middle, line width 2 with round caps.
struct InsertionMark {
    QRectF dot;
    QPointF lineStart;
    QPointF lineEnd;
    qreal lineWidth = 2;

    bool operator==(const InsertionMark&) const = default;
};
InsertionMark insertionMark(const QRectF& rect);

} // namespace EditorLayout
} // namespace quillor
