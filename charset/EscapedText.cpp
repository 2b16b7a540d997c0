#include "charset/EscapedText.h"

#include "charset/CodepointSet.h"
#include "charset/TextCharacters.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

using Byte = unsigned char;

// What the text at a backslash or ampersand stands for, and where that
// ends: an escape's character, which may lie beyond Unicode, or else the
// backslash or ampersand itself.
struct Escape
{
    qint64 value;
    const Byte *end; // null: no escape
};

// Up to `most` digits of `base` from `p` on: their value, and where they end.
Escape digits(const Byte *p, const Byte *end, int base, int most)
{
    Escape number{0, p};
    for (; number.end < end && number.end - p < most; ++number.end) {
        const Byte c = *number.end;
        const Byte lower = c | 0x20;
        const int digit = c >= '0' && c <= '9'                         ? c - '0'
                          : base == 16 && lower >= 'a' && lower <= 'f' ? lower - 'a' + 10
                                                                       : -1;
        if (digit < 0)
            break;
        number.value = number.value * base + digit;
    }
    return number;
}

Escape escapeAt(const Byte *p, const Byte *end)
{
    // Exactly `count` hexadecimal digits; one to `most` digits and `close`.
    const auto fixed = [end](const Byte *from, int count) {
        const Escape number = digits(from, end, 16, count);
        return number.end - from == count ? number : Escape{0, nullptr};
    };
    const auto closed = [end](const Byte *from, int base, int most, Byte close) {
        const Escape number = digits(from, end, base, most);
        const bool ends = number.end > from && number.end < end && *number.end == close;
        return ends ? Escape{number.value, number.end + 1} : Escape{0, nullptr};
    };
    const Byte *q = p + 1;
    Escape escape{0, nullptr};
    if (*p == '&' && q < end && *q == '#') {
        const bool hex = end - q >= 2 && (q[1] | 0x20) == 'x';
        escape = closed(q + 1 + hex, hex ? 16 : 10, 8, ';');
    } else if (*p == '\\' && q < end) {
        if (*q == '\\') {
            escape = {'\\', q + 1}; // "\\u0041" is a backslash and text
        } else if (*q == 'U') {
            escape = fixed(q + 1, 8);
        } else if (*q == 'u' && end - q >= 2 && q[1] == '{') {
            escape = closed(q + 2, 16, 6, '}');
        } else if (*q == 'u') {
            escape = fixed(q + 1, 4);
            // JSON, Java and JavaScript write a character above U+FFFF as the
            // escapes of its UTF-16 surrogate pair; a lone surrogate is
            // refused later.
            const Byte *next = escape.end;
            if (next && escape.value >= 0xD800 && escape.value <= 0xDBFF && end - next >= 2 &&
                next[0] == '\\' && next[1] == 'u') {
                const Escape low = fixed(next + 2, 4);
                if (low.end && low.value >= 0xDC00 && low.value <= 0xDFFF)
                    escape = {0x10000 + ((escape.value - 0xD800) << 10) + (low.value - 0xDC00), low.end};
            }
        }
    }
    return escape.end ? escape : Escape{*p, q};
}

// Length of the UTF-8 sequence starting with a byte from 0x80 up and its code
// point, or 0 when the bytes are no well-formed sequence (overlong forms,
// surrogates and values above U+10FFFF included).
int decodeUtf8(const Byte *p, const Byte *end, uint *codepoint)
{
    const Byte lead = *p;
    int length = 0;
    Byte low = 0x80;
    Byte high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (end - p < length || p[1] < low || p[1] > high)
        return 0;
    uint value = lead & (0xFF >> (length + 1));
    for (int i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (p[i] & 0x3F);
    }
    *codepoint = value;
    return length;
}

} // namespace

bool collectEscapedText(QByteArrayView bytes, CodepointSet *found)
{
    const auto *p = reinterpret_cast<const Byte *>(bytes.data());
    const Byte *end = p + bytes.size();
    // A byte-order mark says how the file is written, not what it shows.
    if (bytes.startsWith("\xEF\xBB\xBF"))
        p += 3;
    // ASCII is nearly every byte: marked here, added to the set at the end. A
    // byte each, as setting bits of one word makes each byte wait for the last.
    std::array<bool, 0x80> ascii{};
    // Beyond ASCII and not in the set yet: kept once the whole file proves
    // UTF-8, as a legacy encoding's pairs of bytes now and then form valid
    // sequences that would be characters the file never meant.
    std::vector<uint> fresh;
    size_t freshLimit = 65536; // a long file of new characters repeats them
    const auto keep = [&](uint codepoint) {
        if (found->contains(codepoint))
            return;
        fresh.push_back(codepoint);
        if (fresh.size() >= freshLimit) {
            std::sort(fresh.begin(), fresh.end());
            fresh.erase(std::unique(fresh.begin(), fresh.end()), fresh.end());
            freshLimit = std::max(freshLimit, 2 * fresh.size());
        }
    };
    while (p < end) {
        uint codepoint = 0;
        if (*p == '\\' || *p == '&') {
            const Escape escape = escapeAt(p, end);
            if (escape.value < 0x80)
                ascii[size_t(escape.value)] = true;
            else if (isKeptCharacter(uint(escape.value)))
                keep(uint(escape.value));
            p = escape.end;
        } else if (*p < 0x80) {
            ascii[*p++] = true;
        } else if (const int length = decodeUtf8(p, end, &codepoint)) {
            keep(codepoint);
            p += length;
        } else {
            return false;
        }
    }
    for (uint codepoint : fresh) {
        if (isKeptCharacter(codepoint))
            found->insert(codepoint);
    }
    for (uint c = 0; c < 0x80; ++c) {
        if (ascii[c] && isKeptCharacter(c))
            found->insert(c);
    }
    return true;
}
