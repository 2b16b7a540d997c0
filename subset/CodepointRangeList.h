#pragma once

#include "charset/CodepointRange.h"

#include <QList>
#include <QString>

// hb-subset's --unicodes syntax: hexadecimal code points ("4E2D", "U+4E2D",
// "0x4E2D") and ranges of them ("U+4E00-9FBF"), separated by commas or white
// space, none above U+10FFFF. Appends them to `ranges`; false, with the
// reason in `error`, when an item is not one. `where` names the list in the
// message: an option, or a recipe's key.
bool parseCodepointRangeList(const QString &list, const QString &where, QList<CodepointRange> *ranges,
                             QString *error);

// The ranges written back in that syntax, in their order: "U+20AC,U+2190-21FF".
QString codepointRangeListText(const QList<CodepointRange> &ranges);
