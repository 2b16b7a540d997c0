#pragma once

#include "font/FontFace.h"

#include <QRawFont>

// `face` opened for glyph lookups and drawing at `pixelSize`. Face 0 is what
// Qt itself opens for the file's bytes; any other face of a collection is
// read from a copy that shows that face first, since Qt opens no other.
// Invalid when the face cannot be read. The file must be a regular one.
QRawFont openFaceRawFont(const FontFace &face, qreal pixelSize);
