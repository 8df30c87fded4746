#include "vault/StrictUtf8.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillor {
namespace StrictUtf8 {

namespace {

bool isContinuation(uchar b) { return (b & 0xC0) == 0x80; }

// Copies the ASCII bytes from `in` on, sixteen at a time, and returns how many
// it copied: up to the first other byte, or the last whole sixteen. Writes up
// to sixteen units past the count, which the caller's buffer has room for (a
// unit per remaining input byte).
qsizetype copyAscii(const uchar* in, qsizetype available, char16_t* out)
{
    qsizetype copied = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (; available - copied >= 16; copied += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + copied));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + copied), _mm_unpacklo_epi8(bytes, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + copied + 8), _mm_unpackhi_epi8(bytes, zero));
        if (const int high = _mm_movemask_epi8(bytes))
            return copied + __builtin_ctz(unsigned(high));
    }
#endif
    while (copied < available && in[copied] < 0x80) {
        out[copied] = in[copied];
        ++copied;
    }
    return copied;
}

// Decodes the sequence of two to four bytes at in[i] (a byte of 0x80 or more)
// and returns its length, or 0 when it is not well formed.
qsizetype decodeSequence(const uchar* in, qsizetype i, qsizetype n, char16_t*& out)
{
    const uchar lead = in[i];
    qsizetype length;
    char32_t c;
    char32_t smallest;
    if (lead < 0xC2) {   // a continuation byte, or an overlong two-byte form
        return 0;
    } else if (lead < 0xE0) {
        length = 2;
        c = lead & 0x1F;
        smallest = 0x80;
    } else if (lead < 0xF0) {
        length = 3;
        c = lead & 0x0F;
        smallest = 0x800;
    } else if (lead < 0xF5) {
        length = 4;
        c = lead & 0x07;
        smallest = 0x10000;
    } else {
        return 0;
    }
    if (n - i < length)
        return 0;
    for (qsizetype k = 1; k < length; ++k) {
        if (!isContinuation(in[i + k]))
            return 0;
        c = (c << 6) | (in[i + k] & 0x3F);
    }
    if (c < smallest || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
        return 0;
    if (c < 0x10000) {
        *out++ = char16_t(c);
    } else {
        *out++ = QChar::highSurrogate(c);
        *out++ = QChar::lowSurrogate(c);
    }
    return length;
}

} // namespace

bool decode(QByteArrayView utf8, QString& text)
{
    const auto* in = reinterpret_cast<const uchar*>(utf8.data());
    qsizetype n = utf8.size();
    if (n >= 3 && in[0] == 0xEF && in[1] == 0xBB && in[2] == 0xBF) {
        in += 3;
        n -= 3;
    }
    // Never more units than bytes: resizing within the capacity already held
    // allocates nothing.
    text.resize(n);
    char16_t* const start = reinterpret_cast<char16_t*>(text.data());
    char16_t* out = start;
    qsizetype i = 0;
    while (i < n) {
        const qsizetype ascii = copyAscii(in + i, n - i, out);
        i += ascii;
        out += ascii;
        if (i == n)
            break;
        // Two-byte sequences (Latin letters with diacritics) are by far the
        // most common: decoded here without the general checks.
        if (in[i] >= 0xC2 && in[i] < 0xE0 && i + 1 < n && isContinuation(in[i + 1])) {
            *out++ = char16_t(((in[i] & 0x1F) << 6) | (in[i + 1] & 0x3F));
            i += 2;
            continue;
        }
        const qsizetype length = decodeSequence(in, i, n, out);
        if (length == 0)
            return false;
        i += length;
    }
    text.resize(out - start);
    return true;
}

} // namespace StrictUtf8
} // namespace quillor
