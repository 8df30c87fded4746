#include "panel/CompletionPage.h"

#include <algorithm>

namespace quillor {

void CompletionPage::rowAppeared(int row, int count)
{
    if (row == rows(count) - 1 && limit < count)
        limit = std::min(limit + size, count);
}

void CompletionPage::reveal(int index, int count)
{
    if (index < 0 || index >= count)
        return;
    limit = std::max(std::min((index / size + 1) * size, count), limit);
}

} // namespace quillor
