#pragma once

class QRawFont;

// How many code points from U+0020 to U+FFFF, surrogates left out, the font
// maps to a glyph other than 0 when each is looked up on its own. Code points
// above U+FFFF are never counted. 0 for an invalid font.
int countUsableCharacters(const QRawFont &font);
