#include "subset/UnicodesArgument.h"

namespace {

// Writes "U+" and the digits of `value` at `out`; returns the end. Each
// piece goes to the buffer in one append: tens of thousands of single
// characters appended one by one cost several times as much.
char *writeCodepoint(char *out, uint value, bool withPrefix)
{
    static const char digits[] = "0123456789ABCDEF";
    char reversed[8];
    int length = 0;
    do {
        reversed[length++] = digits[value & 0xF];
        value >>= 4;
    } while (value);
    while (length < 4)
        reversed[length++] = '0';
    if (withPrefix) {
        *out++ = 'U';
        *out++ = '+';
    }
    while (length)
        *out++ = reversed[--length];
    return out;
}

} // namespace

void UnicodesArgumentWriter::appendCodepoint(uint codepoint)
{
    char piece[16];
    char *end = piece;
    if (!buffer.isEmpty())
        *end++ = ',';
    end = writeCodepoint(end, codepoint, true);
    buffer.append(piece, end - piece);
}

void UnicodesArgumentWriter::appendRange(uint first, uint last)
{
    char piece[24];
    char *end = piece;
    if (!buffer.isEmpty())
        *end++ = ',';
    end = writeCodepoint(end, first, true);
    *end++ = '-';
    end = writeCodepoint(end, last, false);
    buffer.append(piece, end - piece);
}

QString formatUnicodesArgument(const QList<uint> &codepoints)
{
    UnicodesArgumentWriter writer;
    writer.reserve(codepoints.size());
    for (uint codepoint : codepoints)
        writer.appendCodepoint(codepoint);
    return writer.text();
}

QString blockRangeText(uint first, uint last)
{
    UnicodesArgumentWriter writer;
    writer.appendRange(first, last);
    return writer.text();
}
