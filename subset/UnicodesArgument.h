#pragma once

#include <QSet>
#include <QString>

// hb-subset's --unicodes value for single code points: each one written as
// "U+" and at least four upper-case hexadecimal digits, ascending, joined by
// "," without spaces. Neighbours are deliberately not merged into ranges.
QString formatUnicodesArgument(const QSet<uint> &codepoints);

// One block as "U+first-last"; only the first bound carries the "U+".
QString blockRangeText(uint first, uint last);
