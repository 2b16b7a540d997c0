#pragma once

#include <QByteArray>

// Face `index` of the font file `file` as a font of its own, for font code
// that can only open the first face of a file: face 0 is the file as it is,
// any other face of a collection a copy of the file with that face's table
// directory in front. Empty when the file holds no such face.
QByteArray faceFontData(const QByteArray &file, int index);

// The same, but face 0 of a collection too comes as a font of its own, for
// readers that know no collections at all.
QByteArray standaloneFaceData(const QByteArray &file, int index);
