#pragma once

#include "font/FontFace.h"

#include <QByteArray>

// The bytes of `face` as a font of its own, for font code that can only open
// the first face of a file: face 0 is the file as it is, any other face of a
// collection the file with that face's table directory in front. Empty when
// the file cannot be read or holds no such face.
QByteArray faceFontData(const FontFace &face);
