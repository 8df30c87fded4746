#include "core/ByteSearch.h"

#include <cstring>

namespace quillor::ByteSearch {

bool contains(QByteArrayView bytes, QByteArrayView needle)
{
    if (needle.isEmpty())
        return true;
    const char* from = bytes.data();
    const char* const end = bytes.data() + bytes.size();
    while (end - from >= needle.size()) {
        const qsizetype starts = (end - from) - needle.size() + 1;
        from = static_cast<const char*>(std::memchr(from, needle.front(), size_t(starts)));
        if (!from)
            return false;
        if (std::memcmp(from, needle.data(), size_t(needle.size())) == 0)
            return true;
        ++from;
    }
    return false;
}

} // namespace quillor::ByteSearch
