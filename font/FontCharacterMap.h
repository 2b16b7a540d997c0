#pragma once

#include "font/FontFace.h"

struct hb_blob_t;
struct hb_face_t;
struct hb_font_t;

// One face's character map read the way hb-subset reads it, so that what it
// answers is exactly what a subset of the face can keep. Qt's font engines
// are no judge here: they answer a missing U+00A0 with the space's glyph.
class FontCharacterMap
{
public:
    // A path that is no regular file is never opened; the map is then invalid.
    explicit FontCharacterMap(const FontFace &face);
    ~FontCharacterMap();
    FontCharacterMap(const FontCharacterMap &) = delete;
    FontCharacterMap &operator=(const FontCharacterMap &) = delete;

    // False when the file is no font, or the face has no glyphs.
    bool isValid() const { return valid; }
    // Whether the face maps the code point to a glyph other than 0.
    bool hasGlyph(uint codepoint) const;

private:
    hb_blob_t *blob = nullptr;
    hb_face_t *face = nullptr;
    hb_font_t *font = nullptr;
    bool valid = false;
};
