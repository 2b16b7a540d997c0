#pragma once

#include <QString>

struct UnicodeBlock
{
    uint first;
    uint last;
    const char *name; // UTF-8: "中文名 (English name)", or an English name alone
};

constexpr int unicodeBlockCount = 115;
extern const UnicodeBlock unicodeBlockTable[unicodeBlockCount];

// The name a list in the given language shows for the row.
QString unicodeBlockName(const UnicodeBlock &block);

// "U+" and at least four upper-case hexadecimal digits.
QString codepointText(uint codepoint);

// "U+0001 - U+007F：name", as the block list shows it.
QString unicodeBlockItemText(const UnicodeBlock &block);
