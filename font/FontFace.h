#pragma once

#include <QString>

// One face of a font file: a plain .ttf/.otf has only face 0, a collection
// (.ttc/.otc) several. Everything that reads, shows or cuts a font takes the
// pair, so that what the user sees and what is written come from one face.
struct FontFace
{
    QString path;
    int index = 0;

    bool operator==(const FontFace &other) const { return path == other.path && index == other.index; }
    bool operator!=(const FontFace &other) const { return !(*this == other); }
};
