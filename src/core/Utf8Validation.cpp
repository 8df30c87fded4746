#include "core/Utf8Validation.h"

#include <cstdint>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define QUILLOR_UTF8_SSSE3
#endif

namespace quillor::Utf8Validation {

namespace {

#ifdef QUILLOR_UTF8_SSSE3
// Keiser and Lemire's lookup method: each pair of neighbouring bytes is
// classified by three table look-ups (the first byte's high and low nibbles,
// the second byte's high nibble), and any fault class all three name is a
// fault. What pairs cannot see, a third or fourth byte that must be a
// continuation, is read from the bytes two and three places back; a pair of
// continuations is a fault exactly where no such lead stands there.
constexpr uint8_t tooShort = 1 << 0;      // a lead not followed by a continuation
constexpr uint8_t tooLong = 1 << 1;       // a continuation after ASCII
constexpr uint8_t overlong3 = 1 << 2;     // E0 80..9F
constexpr uint8_t tooLarge = 1 << 3;      // F4 90..BF, F5..FF
constexpr uint8_t surrogate = 1 << 4;     // ED A0..BF
constexpr uint8_t overlong2 = 1 << 5;     // C0..C1
constexpr uint8_t tooLarge1000 = 1 << 6;  // F5..FF 80..8F
constexpr uint8_t overlong4 = 1 << 6;     // F0 80..8F (the two never meet)
constexpr uint8_t twoContinuations = 1 << 7;
// Faults the first byte's low nibble does not decide.
constexpr uint8_t carry = tooShort | tooLong | twoContinuations;

constexpr uint8_t firstHigh[16] = {
    tooLong, tooLong, tooLong, tooLong, tooLong, tooLong, tooLong, tooLong,
    twoContinuations, twoContinuations, twoContinuations, twoContinuations,
    tooShort | overlong2, tooShort, tooShort | overlong3 | surrogate,
    tooShort | tooLarge | tooLarge1000 | overlong4};
constexpr uint8_t firstLow[16] = {
    carry | overlong3 | overlong2 | overlong4, carry | overlong2, carry, carry,
    carry | tooLarge, carry | tooLarge | tooLarge1000, carry | tooLarge | tooLarge1000,
    carry | tooLarge | tooLarge1000, carry | tooLarge | tooLarge1000, carry | tooLarge | tooLarge1000,
    carry | tooLarge | tooLarge1000, carry | tooLarge | tooLarge1000, carry | tooLarge | tooLarge1000,
    carry | tooLarge | tooLarge1000 | surrogate, carry | tooLarge | tooLarge1000,
    carry | tooLarge | tooLarge1000};
constexpr uint8_t secondHigh[16] = {
    tooShort, tooShort, tooShort, tooShort, tooShort, tooShort, tooShort, tooShort,
    tooLong | overlong2 | twoContinuations | overlong3 | tooLarge1000 | overlong4,
    tooLong | overlong2 | twoContinuations | overlong3 | tooLarge,
    tooLong | overlong2 | twoContinuations | surrogate | tooLarge,
    tooLong | overlong2 | twoContinuations | surrogate | tooLarge,
    tooShort, tooShort, tooShort, tooShort};

// The checks of one block of 16 bytes after another.
class Ssse3Check {
public:
    __attribute__((target("ssse3"))) void add(__m128i input)
    {
        if (_mm_movemask_epi8(input) == 0) {
            // ASCII is valid after anything complete.
            m_error = _mm_or_si128(m_error, m_previousIncomplete);
            m_previousIncomplete = _mm_setzero_si128();
        } else {
            const __m128i previous1 = _mm_alignr_epi8(input, m_previous, 15);
            const __m128i classes = _mm_and_si128(
                _mm_and_si128(lookup(highNibbles(previous1), firstHigh),
                              lookup(_mm_and_si128(previous1, _mm_set1_epi8(0x0F)), firstLow)),
                lookup(highNibbles(input), secondHigh));
            // Two places after a lead of three or four bytes, and three after
            // one of four, stands a continuation.
            const __m128i third =
                _mm_subs_epu8(_mm_alignr_epi8(input, m_previous, 14), _mm_set1_epi8(char(0xE0 - 0x80)));
            const __m128i fourth =
                _mm_subs_epu8(_mm_alignr_epi8(input, m_previous, 13), _mm_set1_epi8(char(0xF0 - 0x80)));
            const __m128i mustContinue = _mm_and_si128(_mm_or_si128(third, fourth), _mm_set1_epi8(char(0x80)));
            m_error = _mm_or_si128(m_error, _mm_xor_si128(mustContinue, classes));
            // A lead in the last places wants continuations of the next block.
            m_previousIncomplete = _mm_subs_epu8(
                input, _mm_setr_epi8(-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, char(0xF0 - 1),
                                     char(0xE0 - 1), char(0xC0 - 1)));
        }
        m_previous = input;
    }

    __attribute__((target("ssse3"))) bool valid() const
    {
        const __m128i error = _mm_or_si128(m_error, m_previousIncomplete);
        return _mm_movemask_epi8(_mm_cmpeq_epi8(error, _mm_setzero_si128())) == 0xFFFF;
    }

private:
    __attribute__((target("ssse3"))) static __m128i lookup(__m128i nibbles, const uint8_t (&table)[16])
    {
        return _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(table)), nibbles);
    }

    __attribute__((target("ssse3"))) static __m128i highNibbles(__m128i bytes)
    {
        return _mm_and_si128(_mm_srli_epi16(bytes, 4), _mm_set1_epi8(0x0F));
    }

    __m128i m_error = _mm_setzero_si128();
    __m128i m_previous = _mm_setzero_si128();
    __m128i m_previousIncomplete = _mm_setzero_si128();
};

__attribute__((target("ssse3"))) bool isValidSsse3(const uint8_t* data, size_t size)
{
    Ssse3Check check;
    size_t at = 0;
    for (; at + 16 <= size; at += 16)
        check.add(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at)));
    if (at < size) {
        // The tail, padded with ASCII.
        alignas(16) uint8_t tail[16] = {};
        std::memcpy(tail, data + at, size - at);
        check.add(_mm_load_si128(reinterpret_cast<const __m128i*>(tail)));
    }
    return check.valid();
}
#endif

} // namespace

bool isValid(QByteArrayView bytes)
{
#ifdef QUILLOR_UTF8_SSSE3
    if (__builtin_cpu_supports("ssse3"))
        return isValidSsse3(reinterpret_cast<const uint8_t*>(bytes.data()), size_t(bytes.size()));
#endif
    return bytes.isValidUtf8();
}

} // namespace quillor::Utf8Validation
