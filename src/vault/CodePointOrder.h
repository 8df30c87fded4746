#pragma once

#include <QStringView>

namespace quillor {

// Plain text order by Unicode code points. QString's own operator< compares
// UTF-16 units, which puts U+E000..U+FFFF after every supplementary character.
namespace CodePointOrder {

int compare(QStringView a, QStringView b);
inline bool less(QStringView a, QStringView b) { return compare(a, b) < 0; }

} // namespace CodePointOrder
} // namespace quillor
