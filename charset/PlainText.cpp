#include "charset/PlainText.h"

#include "charset/CodepointSet.h"
#include "charset/EscapeSequences.h"

#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define VFC_SSSE3_RUNS 1
#endif

namespace {

bool needsLook(uchar c, uchar stop)
{
    return c >= 0x80 || c == '\\' || c == '&' || c == stop;
}

#ifdef VFC_SSSE3_RUNS
// The bit in `plane` (see CodepointSet::basicPlane()) of the three-byte
// character held in the low three of `bytes`, four bytes loaded as they lie.
// A three-byte character is below U+10000: no bounds check.
quint64 planeBit(quint32 bytes, const quint64 *plane)
{
    return plane[(bytes & 0x0F) << 6 | (bytes >> 8 & 0x3F)] >> (bytes >> 16 & 0x3F) & 1;
}

// Characters found before, one after another: a word of CJK text. Each is
// read with one load, and its continuation bytes checked at once.
const uchar *skipKnownRun(const uchar *p, const uchar *end, const CodepointSet &known)
{
    const quint64 *plane = known.basicPlane();
    for (; end - p >= 4; p += 3) {
        quint32 bytes;
        std::memcpy(&bytes, p, sizeof bytes);
        const uint lead = bytes & 0xFF;
        // Leads E1..EF but ED, as threeByteCharacter() takes them.
        if (lead - 0xE1 > 0xEF - 0xE1 || lead == 0xED || (bytes & 0xC0C000) != 0x808000)
            return p;
        if (!planeBit(bytes, plane))
            return p;
    }
    for (uint c; (c = threeByteCharacter(p, end)) && known.contains(c);)
        p += 3;
    return p;
}
#endif

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
        p = skipKnownRun(p, end, known);
        if (p == end || needsLook(*p, stop))
            return p;
    }
    return skipBytewise(p, end, stop, seen, known);
}
#endif

#ifdef VFC_SSSE3_RUNS
// The rows to add to AsciiSeen's table for the bytes that stop plain text:
// with them, one look-up tells every byte that needs a closer look but those
// from 0x80 up.
__attribute__((target("avx2"))) __m128i rowsOfStops(uchar stop)
{
    // '&' is 0x26: row 6, bit 2; '\\' is 0x5C: row 12, bit 5.
    __m128i rows = _mm_setr_epi8(0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 32, 0, 0, 0);
    if (stop < 0x80) {
        const __m128i row =
            _mm_cmpeq_epi8(_mm_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15),
                           _mm_set1_epi8(char(stop & 0xF)));
        rows = _mm_or_si128(rows, _mm_and_si128(row, _mm_set1_epi8(char(1u << (stop >> 4)))));
    }
    return rows;
}

__attribute__((target("avx2"))) __m256i rowsToLookAt(const AsciiSeen &seen, __m128i stops)
{
    const __m128i unseen = _mm_load_si128(reinterpret_cast<const __m128i *>(seen.unseenByLowNibble));
    return _mm256_broadcastsi128_si256(_mm_or_si128(unseen, stops));
}

// Whether the character an escape stands for adds nothing: it was found
// before, or is an ASCII control character, which is never kept. Escapes
// hold at most eight hexadecimal digits: the value fits.
bool isKnown(qint64 value, const AsciiSeen &seen, const CodepointSet &known)
{
    if (value < 0x80)
        return value < 0x20 || value == 0x7F || seen.contains(uchar(value));
    return known.contains(uint(value));
}

// Whether the bytes from `from` up to `to` (the whole run of bytes from 0x80
// up that starts there, ending before the last of the 32) are three-byte
// characters that `known` holds. skipKnownRun() stops on the first character
// that is not, a branch that goes the other way at the end of each word; here
// the bytes of all characters are checked at once, and their bits gathered
// in a loop whose count is known before it starts.
__attribute__((target("avx2"))) bool isKnownWord(const uchar *p, __m256i bytes, int from, int to,
                                                 const CodepointSet &known)
{
    const int length = to - from;
    if (length % 3 != 0)
        return false;
    const unsigned run = ((1u << length) - 1) << from;
    const unsigned leads = (0x49249249u << from) & run; // every third byte
    // Compared as signed bytes: E1..EF but ED lead a character that
    // threeByteCharacter() accepts, 80..BF continue one.
    const __m256i leadBytes =
        _mm256_andnot_si256(_mm256_cmpeq_epi8(bytes, _mm256_set1_epi8(char(0xED))),
                            _mm256_and_si256(_mm256_cmpgt_epi8(bytes, _mm256_set1_epi8(char(0xE0))),
                                             _mm256_cmpgt_epi8(_mm256_set1_epi8(char(0xF0)), bytes)));
    const unsigned leading = unsigned(_mm256_movemask_epi8(leadBytes));
    const unsigned continuing =
        unsigned(_mm256_movemask_epi8(_mm256_cmpgt_epi8(_mm256_set1_epi8(char(0xC0)), bytes)));
    if ((((leading & leads) | (continuing & ~leads)) & run) != run)
        return false;
    // The four bytes loaded for the last character end within the 32, as the
    // run does not reach their end.
    const quint64 *plane = known.basicPlane();
    quint64 all = 1;
    for (const uchar *c = p + from; c < p + to; c += 3) {
        quint32 bytesOf;
        std::memcpy(&bytesOf, c, sizeof bytesOf);
        all &= planeBit(bytesOf, plane);
    }
    return all;
}

// Thirty-two bytes at a time, and a single look-up of each byte's nibbles
// for a character not found yet or a byte that needs a closer look (see
// rowsOfStops()); a byte from 0x80 up shows in its top bit. Every byte the
// step marks is dealt with from the same load: a character not found yet is
// added, a word of known CJK characters or the escape of a known character
// passed over; only a word that reaches the step's end or needs a closer
// look goes through skipKnownRun(). JSON and markup write an escape or two
// a line, and leaving the loop for each cost more than the rest of the line.
// With the wider registers, and their three operands sparing the copies that
// the byte shuffle costs in skipBySixteen(), plain text takes a quarter of
// the instructions.
__attribute__((target("avx2"))) const uchar *skipByThirtyTwo(const uchar *p, const uchar *end, uchar stop,
                                                             AsciiSeen *seen, const CodepointSet &known)
{
    const __m256i bitOfHighNibble =
        _mm256_broadcastsi128_si256(_mm_setr_epi8(1, 2, 4, 8, 16, 32, 64, char(128), 0, 0, 0, 0, 0, 0, 0, 0));
    const __m256i lowNibble = _mm256_set1_epi8(0x0F);
    const __m128i stops = rowsOfStops(stop);
    __m256i rows = rowsToLookAt(*seen, stops);
    while (end - p >= 32) {
        const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(p));
        const __m256i columns =
            _mm256_shuffle_epi8(bitOfHighNibble, _mm256_and_si256(_mm256_srli_epi16(bytes, 4), lowNibble));
        const __m256i marked =
            _mm256_and_si256(_mm256_shuffle_epi8(rows, _mm256_and_si256(bytes, lowNibble)), columns);
        const unsigned high = unsigned(_mm256_movemask_epi8(bytes));
        unsigned look =
            ~unsigned(_mm256_movemask_epi8(_mm256_cmpeq_epi8(marked, _mm256_setzero_si256()))) | high;
        const uchar *next = p + 32;
        while (look) {
            const int at = __builtin_ctz(look);
            const uchar c = p[at];
            if (c == '\\' || c == '&') {
                const EscapedCharacter escaped =
                    c == '\\' ? backslashEscape(p + at, end) : numericReference(p + at, end);
                if (!isKnown(escaped.value, *seen, known))
                    return p + at;
                const ptrdiff_t passed = escaped.end - p;
                if (passed >= 32) {
                    next = escaped.end;
                    break;
                }
                look &= ~0u << passed;
                continue;
            }
            if (c < 0x80) {
                if (c == stop)
                    return p + at;
                seen->insert(c);
                rows = rowsToLookAt(*seen, stops);
                look &= look - 1;
                continue;
            }
            // The run of bytes from 0x80 up that starts here.
            const int after = at + __builtin_ctz(~(high >> at));
            if (after < 32 && isKnownWord(p, bytes, at, after, known)) {
                look &= ~0u << after;
                continue;
            }
            next = skipKnownRun(p + at, end, known);
            if (next == end || needsLook(*next, stop))
                return next;
            break;
        }
        p = next;
    }
    return skipBySixteen(p, end, stop, seen, known);
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
    if (__builtin_cpu_supports("avx2"))
        return skipByThirtyTwo;
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
