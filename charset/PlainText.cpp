#include "charset/PlainText.h"

#include "charset/CodepointSet.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define VFC_SSSE3_RUNS 1
#endif

namespace {

bool needsLook(uchar c, uchar stop)
{
    return c >= 0x80 || c == '\\' || c == '&' || c == stop;
}

const uchar *skipBytewise(const uchar *p, const uchar *end, uchar stop, AsciiSeen *seen, const CodepointSet &)
{
    for (; p < end && !needsLook(*p, stop); ++p)
        seen->insert(*p);
    return p;
}

#ifdef VFC_SSSE3_RUNS
// Sixteen bytes at a time: the bytes that need a closer look are found by
// comparison, and the characters not found yet by looking up each byte's
// nibbles in two tables of sixteen entries (a byte shuffle). Only sixteen
// bytes that hold such a character go through AsciiSeen::insert() one by one,
// and after the first few files of a tree hardly any do.
__attribute__((target("ssse3"))) const uchar *skipBySixteen(const uchar *p, const uchar *end, uchar stop,
                                                            AsciiSeen *seen, const CodepointSet &known)
{
    // Byte h (below 8) holds bit h; bytes from 0x80 up have a high nibble
    // from 8 up, which finds no bit: they are never unseen ASCII.
    const __m128i bitOfHighNibble = _mm_setr_epi8(1, 2, 4, 8, 16, 32, 64, char(128), 0, 0, 0, 0, 0, 0, 0, 0);
    const __m128i lowNibble = _mm_set1_epi8(0x0F);
    const __m128i backslash = _mm_set1_epi8('\\');
    const __m128i ampersand = _mm_set1_epi8('&');
    const __m128i stopByte = _mm_set1_epi8(char(stop));
    __m128i unseen = _mm_load_si128(reinterpret_cast<const __m128i *>(seen->unseenByLowNibble));
    while (end - p >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        const unsigned look =
            unsigned(_mm_movemask_epi8(bytes) |
                     _mm_movemask_epi8(_mm_or_si128(
                         _mm_or_si128(_mm_cmpeq_epi8(bytes, backslash), _mm_cmpeq_epi8(bytes, ampersand)),
                         _mm_cmpeq_epi8(bytes, stopByte))));
        const __m128i rows = _mm_shuffle_epi8(unseen, _mm_and_si128(bytes, lowNibble));
        const __m128i columns =
            _mm_shuffle_epi8(bitOfHighNibble, _mm_and_si128(_mm_srli_epi16(bytes, 4), lowNibble));
        unsigned fresh =
            ~unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_and_si128(rows, columns), _mm_setzero_si128()))) &
            0xFFFF;
        // Characters after a byte that needs a look may belong to an escape.
        const int plain = look ? __builtin_ctz(look) : 16;
        fresh &= (1u << plain) - 1;
        if (fresh) {
            for (int i = 0; i < plain; ++i)
                seen->insert(p[i]);
            unseen = _mm_load_si128(reinterpret_cast<const __m128i *>(seen->unseenByLowNibble));
        }
        p += plain;
        if (!look)
            continue;
        // Characters found before, one after another: a word of CJK text.
        for (uint c; (c = threeByteCharacter(p, end)) && known.contains(c);)
            p += 3;
        if (p == end || needsLook(*p, stop))
            return p;
    }
    return skipBytewise(p, end, stop, seen, known);
}
#endif

using Skipper = const uchar *(*)(const uchar *, const uchar *, uchar, AsciiSeen *, const CodepointSet &);

Skipper chooseSkipper()
{
#ifdef VFC_SSSE3_RUNS
    // Nearly every x86-64 processor has the byte shuffle, but the baseline
    // the program is built for does not promise it. This runs among the
    // static initialisers, maybe before the compiler's own detection.
    __builtin_cpu_init();
    if (__builtin_cpu_supports("ssse3"))
        return skipBySixteen;
#endif
    return skipBytewise;
}

const Skipper skipper = chooseSkipper();

} // namespace

AsciiSeen::AsciiSeen()
{
    for (int low = 0; low < 16; ++low) {
        // High nibbles 2 to 7, and not 0x7F.
        unseenByLowNibble[low] = uchar(low == 0xF ? 0x7C : 0xFC);
    }
}

const uchar *skipPlainText(const uchar *p, const uchar *end, uchar stop, AsciiSeen *seen,
                           const CodepointSet &known)
{
    return skipper(p, end, stop, seen, known);
}
