#include "subset/UnicodesArgument.h"

void UnicodesArgumentWriter::appendHex(uint value)
{
    static const char digits[] = "0123456789ABCDEF";
    char text[8];
    int length = 0;
    do {
        text[length++] = digits[value & 0xF];
        value >>= 4;
    } while (value);
    while (length < 4)
        text[length++] = '0';
    while (length)
        buffer.append(text[--length]);
}

void UnicodesArgumentWriter::separate()
{
    if (!buffer.isEmpty())
        buffer.append(',');
}

void UnicodesArgumentWriter::appendCodepoint(uint codepoint)
{
    separate();
    buffer.append("U+", 2);
    appendHex(codepoint);
}

void UnicodesArgumentWriter::appendRange(uint first, uint last)
{
    separate();
    buffer.append("U+", 2);
    appendHex(first);
    buffer.append('-');
    appendHex(last);
}

QString formatUnicodesArgument(const QList<uint> &codepoints)
{
    UnicodesArgumentWriter writer;
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
