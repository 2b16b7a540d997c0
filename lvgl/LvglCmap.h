#pragma once

#include <QList>

// LVGL's character map subtable types, by their values in lv_font_fmt_txt.h
// and in the binary font.
enum class LvglCmapType { Format0Full = 0, SparseFull = 1, Format0Tiny = 2, SparseTiny = 3 };

// A run of the font's characters that one subtable maps: `first` and `last`
// index the ascending code point list (and, plus one, the glyph ids).
struct LvglCmapRange
{
    LvglCmapType type;
    int first;
    int last;
};

// The split of `codes` (ascending, each once) into subtables that takes the
// fewest bytes, by the reference converter's estimates and with its choice
// among equal splits, so that both map every character alike.
QList<LvglCmapRange> planCmap(const QList<uint> &codes);
