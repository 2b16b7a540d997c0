#pragma once

#include <QtGlobal>

#include <algorithm>

// The escapes that source code and markup write a character with, read from
// the backslash or ampersand that starts them. Inline: the plain-text skipper
// reads them too, to pass over the escapes of characters found before without
// leaving its loop, and the two readings must never differ.

// What an escape at some byte stands for, and where it ends. A backslash or
// ampersand that starts no escape stands for itself and is one byte long.
// `value` may lie beyond Unicode: such an escape is read, and adds nothing.
struct EscapedCharacter
{
    qint64 value;
    const uchar *end;
};

namespace escapes {

// A table, as escapes are frequent in JSON and markup: one load per digit
// instead of three comparisons.
struct HexDigits
{
    constexpr HexDigits()
    {
        for (int c = 0; c < 256; ++c)
            value[c] = c >= '0' && c <= '9'   ? c - '0'
                       : c >= 'a' && c <= 'f' ? c - 'a' + 10
                       : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                              : -1;
    }
    signed char value[256] = {};
};
inline constexpr HexDigits hexDigits;

inline int hexDigit(uchar c)
{
    return hexDigits.value[c];
}

// The four hexadecimal digits at `p`, or -1. Spelt out, without a branch
// per digit: a digit that is none makes the value negative.
inline qint64 fourHex(const uchar *p)
{
    const int digits[4] = {hexDigit(p[0]), hexDigit(p[1]), hexDigit(p[2]), hexDigit(p[3])};
    const uint value = uint(digits[0]) << 12 | uint(digits[1]) << 8 | uint(digits[2]) << 4 | uint(digits[3]);
    return (digits[0] | digits[1] | digits[2] | digits[3]) < 0 ? -1 : qint64(value);
}

// Exactly `count` (four or eight) hexadecimal digits at `p`, or -1.
inline qint64 fixedHex(const uchar *p, const uchar *end, int count)
{
    if (end - p < count)
        return -1;
    const qint64 first = fourHex(p);
    if (count == 4 || first < 0)
        return first;
    const qint64 second = fourHex(p + 4);
    return second < 0 ? -1 : first << 16 | second;
}

} // namespace escapes

// \uXXXX, \u{X...}, \UXXXXXXXX and an escaped backslash, at the backslash `p`.
Q_ALWAYS_INLINE EscapedCharacter backslashEscape(const uchar *p, const uchar *end)
{
    using escapes::fixedHex;
    using escapes::fourHex;
    using escapes::hexDigit;
    const uchar *next = p + 1;
    if (next < end && *next == '\\')
        return {'\\', p + 2}; // "\\u0041" is a backslash and text
    if (next < end && *next == 'u') {
        if (next + 1 < end && next[1] == '{') {
            const uchar *q = next + 2;
            qint64 value = 0;
            int digits = 0;
            for (; q < end && digits <= 6 && hexDigit(*q) >= 0; ++q, ++digits)
                value = value * 16 + hexDigit(*q);
            if (digits >= 1 && digits <= 6 && q < end && *q == '}')
                return {value, q + 1};
        } else if (const qint64 value = fixedHex(next + 1, end, 4); value >= 0) {
            // JSON, Java and JavaScript write a character above U+FFFF as the
            // two escapes of its UTF-16 surrogate pair; a lone surrogate
            // stands for itself, and is refused as a character later.
            const uchar *after = next + 5;
            if (value >= 0xD800 && value <= 0xDBFF && end - after >= 6 && after[0] == '\\' &&
                after[1] == 'u') {
                const qint64 low = fourHex(after + 2);
                if (low >= 0xDC00 && low <= 0xDFFF)
                    return {0x10000 + ((value - 0xD800) << 10) + (low - 0xDC00), after + 6};
            }
            return {value, after};
        }
    } else if (next < end && *next == 'U') {
        if (const qint64 value = fixedHex(next + 1, end, 8); value >= 0)
            return {value, next + 9};
    }
    return {'\\', next};
}

// &#NNNN; and &#xHHHH;, at the ampersand `p`.
Q_ALWAYS_INLINE EscapedCharacter numericReference(const uchar *p, const uchar *end)
{
    if (end - p < 4 || p[1] != '#')
        return {'&', p + 1};
    const uchar *q = p + 2;
    const bool hex = (*q == 'x' || *q == 'X');
    if (hex)
        ++q;
    // Eight digits are plenty for U+10FFFF with leading zeros, and the limit
    // keeps the value from overflowing. A loop for each base keeps the test
    // of the base out of the loop.
    const uchar *digitsEnd = q + std::min<qsizetype>(end - q, 9);
    const uchar *first = q;
    qint64 value = 0;
    if (hex) {
        for (int digit; q < digitsEnd && (digit = escapes::hexDigit(*q)) >= 0; ++q)
            value = value * 16 + digit;
    } else {
        for (; q < digitsEnd && *q >= '0' && *q <= '9'; ++q)
            value = value * 10 + (*q - '0');
    }
    const qsizetype digits = q - first;
    if (digits == 0 || digits > 8 || q >= end || *q != ';')
        return {'&', p + 1};
    return {value, q + 1};
}
