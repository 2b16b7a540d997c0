#pragma once

#include "charset/CodepointRange.h"

#include <QList>
#include <QString>
#include <QStringList>

// The lists that vfc-subset's selections and --list-blocks are written in.

// "1,3-5,all": row numbers of the block table, ranges of them, or "all",
// separated by commas. Adds the rows to `rows` (a flag per row, index 0 for
// row 1). False, with the reason in `error`, when an item is not a row.
bool parseBlockRows(const QString &list, QList<bool> *rows, QString *error);

// hb-subset's --unicodes syntax: hexadecimal code points ("4E2D", "U+4E2D",
// "0x4E2D") and ranges of them ("U+4E00-9FBF"), separated by commas or white
// space, none above U+10FFFF. Appends them to `ranges`; false, with the
// reason in `error`, when an item is not one.
bool parseUnicodeRanges(const QString &list, QList<CodepointRange> *ranges, QString *error);

// "gb2312,big5": ids of standard character sets, separated by commas. Adds
// those not yet in `ids`; false, with the valid ids named in `error`, when an
// item is none.
bool parseCharsetIds(const QString &list, QStringList *ids, QString *error);

// One line per row of the block table: its number for --blocks, its range
// and its name in the chosen language.
QString unicodeBlockListing();
