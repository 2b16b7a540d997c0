#pragma once

#include "charset/CodepointRange.h"

#include <QList>
#include <QSet>
#include <QString>

// Whether a requested character goes into a subset: not a control character
// (below U+0020, U+007F to U+009F), not a surrogate, not a line or paragraph
// separator, and within Unicode. No font draws those, and a file's line ends
// and stray bytes would otherwise count as wanted characters.
bool isKeptCharacter(uint codepoint);

// The runs of `first`..`last` (both included) that isKeptCharacter accepts,
// ascending: a block's range without the controls, surrogates and
// separators inside it.
QList<CodepointRange> keptRanges(uint first, uint last);

// The characters of a text as code points: a valid surrogate pair is one
// character above U+FFFF, a lone surrogate stays a unit of its own.
QList<uint> textCharacters(const QString &text);

// How many different characters the text holds, white space, null and the
// controls below U+0020 left out; this is what the custom-text page shows.
// It counts by its own rule, not by isKeptCharacter(): a space is kept in a
// subset, but nobody thinks of it as a character they typed.
int countUniqueCharacters(const QString &text);

