#pragma once

#include <QtGlobal>

class CodepointSet;

// The printable ASCII characters (U+0020..U+007E) found so far. Besides
// answering for one character, it keeps them in a form that lets
// skipPlainText() tell in a few instructions whether sixteen bytes hold one
// not found yet: in a text, nearly every byte is a character found before.
class AsciiSeen
{
public:
    AsciiSeen();

    void insert(uchar c)
    {
        if (c >= 0x20 && c < 0x7F)
            unseenByLowNibble[c & 0xF] &= uchar(~(1u << (c >> 4)));
    }
    bool contains(uchar c) const
    {
        return c >= 0x20 && c < 0x7F && !(unseenByLowNibble[c & 0xF] & (1u << (c >> 4)));
    }

    // Bit h of entry l: the character 0xhl is printable and not found yet.
    alignas(16) uchar unseenByLowNibble[16];
};

// The character of the three-byte UTF-8 sequence at `p` if its lead byte
// allows any continuation byte (all but E0 and ED), else 0. CJK text is
// nearly all such sequences, and their two continuation bytes take a single
// comparison.
inline uint threeByteCharacter(const uchar *p, const uchar *end)
{
    if (*p < 0xE1 || *p == 0xED || *p > 0xEF || end - p < 3 || ((p[1] ^ 0x80) | (p[2] ^ 0x80)) >= 0x40)
        return 0;
    return uint(*p & 0x0F) << 12 | uint(p[1] & 0x3F) << 6 | uint(p[2] & 0x3F);
}

// The first byte from `p` on that plain text does not explain: a byte from
// 0x80 up, '\\', '&' or `stop`; `end` if there is none. The printable ASCII
// characters before it are added to `seen`. Where it can, it passes over
// three-byte characters that `known` holds, and escapes of characters found
// before, too: those need no closer look.
const uchar *skipPlainText(const uchar *p, const uchar *end, uchar stop, AsciiSeen *seen,
                           const CodepointSet &known);
