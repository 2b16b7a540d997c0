#include "charset/CodepointSet.h"

#include <QtAlgorithms>

namespace {
constexpr uint lastCodepoint = 0x10FFFF;
constexpr size_t wordCount = (lastCodepoint + 1) / 64;
} // namespace

CodepointSet::CodepointSet() : words(wordCount, 0)
{}

void CodepointSet::insert(uint codepoint)
{
    if (codepoint > lastCodepoint)
        return;
    quint64 &word = words[codepoint / 64];
    const quint64 bit = quint64(1) << (codepoint % 64);
    if (!(word & bit)) {
        word |= bit;
        ++count;
    }
}

void CodepointSet::insertRange(uint first, uint last)
{
    if (last > lastCodepoint)
        last = lastCodepoint;
    // Counting on a wider type: a range ending at the top cannot wrap around.
    for (quint64 codepoint = first; codepoint <= last; ++codepoint)
        insert(uint(codepoint));
}

QList<uint> CodepointSet::toList() const
{
    // Written through a pointer: QList::append's checks per element cost more
    // than the scan itself, and the request is built on the window's thread.
    QList<uint> list(count);
    uint *next = list.data();
    for (size_t i = 0; i < words.size(); ++i) {
        for (quint64 word = words[i]; word; word &= word - 1)
            *next++ = uint(i * 64 + qCountTrailingZeroBits(word));
    }
    return list;
}
