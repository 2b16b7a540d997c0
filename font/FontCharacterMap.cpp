#include "font/FontCharacterMap.h"

#include "font/FontFileCheck.h"

#include <QFile>

#include <hb.h>

FontCharacterMap::FontCharacterMap(const FontFace &fontFace)
{
    if (checkFontFile(fontFace.path) != FontFileCheck::Usable)
        return;
    blob = hb_blob_create_from_file_or_fail(QFile::encodeName(fontFace.path).constData());
    if (!blob)
        return;
    face = hb_face_create(blob, uint(fontFace.index));
    font = hb_font_create(face);
    valid = hb_face_get_glyph_count(face) > 0;
}

FontCharacterMap::~FontCharacterMap()
{
    hb_font_destroy(font);
    hb_face_destroy(face);
    hb_blob_destroy(blob);
}

bool FontCharacterMap::hasGlyph(uint codepoint) const
{
    hb_codepoint_t glyph = 0;
    return valid && hb_font_get_nominal_glyph(font, codepoint, &glyph) && glyph != 0;
}
