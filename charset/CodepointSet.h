#pragma once

#include "charset/CodepointRange.h"

#include <QList>

#include <vector>

// Gathers code points from every kind of selection and yields them ascending,
// each once. A bit per code point of U+0000..U+10FFFF (136 KiB) is cheaper
// than a hash set for the tens of thousands that whole blocks bring in.
class CodepointSet
{
public:
    CodepointSet();

    void insert(uint codepoint);
    void insertRange(uint first, uint last); // both ends included; clipped to U+10FFFF
    // Inline: collecting from files asks once for nearly every character.
    bool contains(uint codepoint) const
    {
        return codepoint <= 0x10FFFF && (words[codepoint / 64] >> (codepoint % 64)) & 1;
    }
    bool isEmpty() const { return count == 0; }
    qsizetype size() const { return count; }
    QList<uint> toList() const; // ascending

private:
    std::vector<quint64> words;
    qsizetype count = 0;
};
