#include "vault/CodePointOrder.h"

namespace quillor {
namespace CodePointOrder {

namespace {

// Maps a unit so that unit order becomes code-point order: surrogates move
// above U+E000..U+FFFF, since the code points a pair stands for lie above the
// Basic Multilingual Plane. The first differing units decide, so comparing the
// high surrogates of two pairs orders them correctly too.
char16_t orderKey(char16_t unit)
{
    if (unit >= 0xD800 && unit <= 0xDFFF)
        return char16_t(unit + 0x2000);   // 0xF800..0xFFFF
    if (unit >= 0xE000)
        return char16_t(unit - 0x800);    // 0xD800..0xF7FF
    return unit;
}

} // namespace

int compare(QStringView a, QStringView b)
{
    const qsizetype n = qMin(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = a[i].unicode();
        const char16_t y = b[i].unicode();
        if (x != y) {
            // Below U+D800 both orders agree; only then is remapping needed.
            const char16_t kx = orderKey(x);
            const char16_t ky = orderKey(y);
            return kx < ky ? -1 : 1;
        }
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

} // namespace CodePointOrder
} // namespace quillor
