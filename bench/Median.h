#pragma once

#include <algorithm>
#include <vector>

namespace quillor::bench {

// The middle of the samples (the mean of the two middle ones for an even
// count); 0 when there are none.
inline double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace quillor::bench
