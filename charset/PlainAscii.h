#pragma once

#include <QtGlobal>

// The printable ASCII characters (U+0020..U+007E) found so far. Besides
// answering for one character, it keeps them in a form that lets
// skipPlainAscii() tell in a few instructions whether sixteen bytes hold one
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

// The first byte from `p` on that plain ASCII text does not explain: a byte
// from 0x80 up, '\\', '&' or `stop`; `end` if there is none. The printable
// characters before it are added to `seen`.
const uchar *skipPlainAscii(const uchar *p, const uchar *end, uchar stop, AsciiSeen *seen);
