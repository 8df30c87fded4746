#include "editor/SuggestionPlacement.h"

#include <algorithm>

namespace quillor::SuggestionPlacement {

QRect frame(const QRect& anchor, const QRect& area, int rows)
{
    // Edges as positions between pixels: a QRect's right() and bottom() are
    // the last pixels inside it.
    const int areaRight = area.x() + area.width();
    const int areaBottom = area.y() + area.height();
    const int anchorBottom = anchor.y() + anchor.height();
    const int width = std::min(area.width(), panelWidth);
    const int wanted = std::max(rows, 0) * rowHeight + verticalPadding;
    const int height = std::min({wanted, maximumHeight, area.height()});
    const int y = anchorBottom + height <= areaBottom ? anchorBottom : std::max(anchor.y() - height, area.y());
    const int x = std::min(std::max(anchor.x(), area.x()), areaRight - width);
    return QRect(x, y, width, height);
}

} // namespace quillor::SuggestionPlacement
