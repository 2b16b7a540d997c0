#pragma once

#include "font/FontFace.h"

#include <QList>
#include <QString>
#include <QStringList>

// The standard character sets (通用规范汉字表, GB 2312, Big5, Jōyō kanji, ...)
// that the custom-text page and vfc-subset --charset offer, numbered from 0 in
// the order the menu and the listing show them.
int standardCharsetTotal();

// The set's number for an id such as "gb2312" (exact, lower case); -1 when
// there is no such set.
int findStandardCharset(const QString &id);
QString standardCharsetId(int set);
QStringList standardCharsetIds();
QString standardCharsetName(int set);

// The set's characters in its own order (TGH position, code order of the
// charmap it comes from), each once.
const QList<uint> &standardCharsetCharacters(int set);

// What adding the set to `text` appends: the set's characters that the text
// does not hold yet, in the set's order.
QString standardCharsetAddition(int set, const QString &text);

// How many characters of each set the face maps to a glyph, indexed by set;
// empty when the face cannot be read.
QList<int> standardCharsetCoverage(const FontFace &face);

// "GB 2312 level 1 hanzi — 3,755, this font has 3,700" in the chosen
// language; without the coverage part when `covered` is negative.
QString standardCharsetMenuText(int set, int covered);
