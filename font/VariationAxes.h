#pragma once

#include "font/FontFace.h"

#include <QList>
#include <QString>

// One axis of a variable face's fvar table.
struct VariationAxis
{
    QString tag;  // four characters, such as "wght"
    QString name; // from the face's name table; the tag when it has none
    double minimum = 0;
    double defaultValue = 0;
    double maximum = 0;
};

// The axes of the face, in the font's own order; empty for a face that is
// not variable or cannot be read.
QList<VariationAxis> variationAxes(const FontFace &face);

// True when the face keeps its outlines in a CFF2 table.
bool hasCff2Outlines(const FontFace &face);
