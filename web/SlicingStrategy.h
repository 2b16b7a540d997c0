#pragma once

#include "font/FontFace.h"

#include <QList>
#include <QString>
#include <QStringList>

// The published CJK slicing strategies (web/slicing/), one per writing
// convention, in the order of the generated table.
enum class SlicingStrategy { SimplifiedChinese, TraditionalChinese, HongKongChinese, Japanese, Korean };

// The command line's words, "sc", "tc", "hk", "ja" and "ko", in enum order.
QStringList slicingStrategyIds();
bool slicingStrategyFromId(const QString &id, SlicingStrategy *strategy);
QString slicingStrategyId(SlicingStrategy strategy);

// The strategy's slices, most frequent characters first, each ascending;
// no code point is in two of them.
const QList<QList<uint>> &strategySlices(SlicingStrategy strategy);

// The convention a face is made for: a region in its family name ("SC",
// "JP", "KR" and the like), else the languages its name table speaks, else
// the one CJK code page of its OS/2 table. Simplified Chinese when none of
// them tells.
SlicingStrategy strategyForFace(const FontFace &face);

// Whether the code point is CJK punctuation, or punctuation that CJK text
// sets beside it (curly quotes, the ellipsis, the middle dot, fullwidth
// forms): the characters that spacing features such as halt and chws adjust
// against one another, so a page needs them from one font file.
bool isCjkPunctuation(uint codepoint);
