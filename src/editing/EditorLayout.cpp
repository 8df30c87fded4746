#include "editing/EditorLayout.h"

#include <algorithm>
#include <cmath>

namespace quillor::EditorLayout {

namespace {

bool isFinite(QPointF p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

bool isFinite(const QRectF& r)
{
    return std::isfinite(r.x()) && std::isfinite(r.y()) && std::isfinite(r.width()) && std::isfinite(r.height());
}

bool isMostlySideways(QPointF p)
{
    return 1.2 * std::abs(p.y()) < std::abs(p.x());
}

} // namespace

qreal lineHeight(qreal fontSize, bool listItem)
{
    return (fontSize + 2) * (listItem ? lineHeightMultiplier : 1.0);
}

qreal lineSpacing(qreal fontSize, bool listItem)
{
    return lineHeight(fontSize, listItem) - fontSize;
}

QRectF listHandleRect(const QRectF& marker)
{
    const qreal x = std::max(marker.left() - handleWidth - handleMarkerGap, 0.0);
    return QRectF(x, marker.center().y() - 12, handleWidth, 24);
}

QRectF markerDragRect(const QRectF& handle, const QRectF& marker)
{
    return handle.united(marker.adjusted(-3, -3, 3, 3));
}

bool isHorizontalSwipe(QPointF translation, QPointF velocity)
{
    // Until the finger has really moved, its direction is the velocity's.
    const bool moved = std::abs(translation.x()) >= 1 || std::abs(translation.y()) >= 1;
    const QPointF direction = moved ? translation : velocity;
    return isFinite(direction) && isMostlySideways(direction);
}

int swipeIndentationStep(QPointF translation)
{
    if (!isFinite(translation) || std::abs(translation.x()) < swipeCommitDistance || !isMostlySideways(translation))
        return 0;
    return translation.x() > 0 ? 1 : -1;
}

int indentationSteps(qreal translation)
{
    if (!std::isfinite(translation))
        return 0;
    const qreal steps = std::clamp(translation / dragStep, qreal(-maximumDragSteps), qreal(maximumDragSteps));
    return int(std::trunc(steps));
}

QRectF caretRect(const QRectF& rect, qreal height)
{
    if (!isFinite(rect) || !std::isfinite(height) || height <= 0)
        return rect;
    return QRectF(rect.left(), rect.center().y() - height / 2, rect.width(), height);
}

QRectF listInsertionRect(qreal markerX, qreal y, qreal trailingX)
{
    // The handle's middle, less half the indicator's dot.
    const qreal x = std::max(markerX - listLeadingIndent, 0.0) + handleWidth / 2 - 3;
    return QRectF(x, y - 4, std::max(trailingX - x, 0.0), 8);
}

InsertionMark insertionMark(const QRectF& rect)
{
    constexpr qreal diameter = 6;
    const qreal midY = rect.center().y();
    return InsertionMark{
        .dot = QRectF(rect.left(), midY - diameter / 2, diameter, diameter),
        .lineStart = QPointF(rect.left() + diameter / 2, midY),
        .lineEnd = QPointF(rect.right(), midY),
        .lineWidth = 2,
    };
}

} // namespace quillor::EditorLayout
