#include "charset/EscapedText.h"

#include "charset/CodepointSet.h"
#include "charset/EscapeSequences.h"
#include "charset/PlainText.h"
#include "charset/TextCharacters.h"

#include <algorithm>
#include <vector>

namespace {

using Byte = unsigned char;

// Length of the UTF-8 sequence starting with a byte from 0x80 up and its code
// point, or 0 when the bytes are no well-formed sequence (overlong forms,
// surrogates and values above U+10FFFF included).
int decodeUtf8(const Byte *p, const Byte *end, uint *codepoint)
{
    if (const uint common = threeByteCharacter(p, end)) {
        *codepoint = common;
        return 3;
    }
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

void removeRepeats(std::vector<uint> *codepoints)
{
    std::sort(codepoints->begin(), codepoints->end());
    codepoints->erase(std::unique(codepoints->begin(), codepoints->end()), codepoints->end());
}

// Most files are UTF-8 throughout, so a first pass takes that for granted;
// only a file that proves otherwise is read again, line by line.
class Scanner
{
public:
    Scanner(CodepointSet *found, bool careful) : found(found), careful(careful)
    {
        // What the set holds already needs no look at all. Every file asks,
        // so the set's bits are turned into the table's without a look-up
        // per character: row l, bit h is the character 0xhl.
        const quint64 *plane = found->basicPlane();
        for (int high = 2; high < 8; ++high) {
            const uint row = uint(plane[high / 4] >> (high % 4 * 16));
            for (int low = 0; low < 16; ++low)
                ascii.unseenByLowNibble[low] &= uchar(~((row >> low & 1) << high));
        }
        atStart = ascii;
    }

    // False when the file is not UTF-8 and the scan was not careful: then
    // nothing but ASCII and escapes has been added.
    bool scan(const Byte *p, const Byte *end);

private:
    void keep(qint64 value)
    {
        if (value < 0x80)
            ascii.insert(Byte(value));
        else if (!found->contains(uint(value)) && isKeptCharacter(uint(value)))
            found->insert(uint(value));
    }
    void endLine();
    const Byte *escape(const EscapedCharacter &escaped);

    CodepointSet *found;
    const bool careful;
    AsciiSeen ascii;
    AsciiSeen atStart;
    // Beyond ASCII and not found before: waiting for the file (or, when
    // careful, the line) to prove itself UTF-8.
    std::vector<uint> line;
    bool lineBroken = false;
    bool valid = true;
};

bool Scanner::scan(const Byte *p, const Byte *end)
{
    // A byte-order mark says how the file is written, not what it shows.
    if (end - p >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF)
        p += 3;
    const Byte lineEnd = careful ? '\n' : '\\'; // a second look for a backslash costs nothing
    while (p < end) {
        p = skipPlainText(p, end, lineEnd, &ascii, *found);
        if (p == end)
            break;
        const Byte c = *p;
        if (c == '\n') {
            endLine();
            ++p;
        } else if (c == '\\') {
            p = escape(backslashEscape(p, end));
        } else if (c == '&') {
            p = escape(numericReference(p, end));
        } else {
            // Characters beyond ASCII come in runs: words of a language.
            do {
                uint codepoint = 0;
                const int length = decodeUtf8(p, end, &codepoint);
                if (length == 0) {
                    if (!careful)
                        return false;
                    valid = false;
                    lineBroken = true;
                    ++p;
                    break;
                }
                // A character found before needs no second word, whatever
                // becomes of this file.
                if (!found->contains(codepoint)) {
                    line.push_back(codepoint);
                    // A long file of characters new to the set repeats them.
                    if (line.size() >= 65536)
                        removeRepeats(&line);
                }
                p += length;
            } while (p < end && *p >= 0x80);
        }
    }
    endLine();
    // Only the characters this file added: a bit per high nibble in each
    // row of the table.
    for (int low = 0; low < 16; ++low) {
        const uint added = atStart.unseenByLowNibble[low] & ~ascii.unseenByLowNibble[low];
        for (int high = 2; high < 8; ++high) {
            if (added & (1u << high))
                found->insert(uint(high << 4 | low));
        }
    }
    return valid;
}

void Scanner::endLine()
{
    if (!lineBroken) {
        for (uint codepoint : line) {
            if (isKeptCharacter(codepoint))
                found->insert(codepoint);
        }
    }
    line.clear();
    lineBroken = false;
}

const Byte *Scanner::escape(const EscapedCharacter &escaped)
{
    keep(escaped.value);
    return escaped.end;
}

} // namespace

bool collectEscapedText(QByteArrayView bytes, CodepointSet *found)
{
    const auto *begin = reinterpret_cast<const Byte *>(bytes.data());
    const Byte *end = begin + bytes.size();
    if (Scanner(found, false).scan(begin, end))
        return true;
    Scanner(found, true).scan(begin, end);
    return false;
}
