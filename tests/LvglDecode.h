#pragma once

#include <QByteArray>
#include <QHash>
#include <QMap>
#include <QPair>

// LVGL fonts read back as LVGL reads them, independent of the writers: the
// C source by its arrays, the binary by its blocks, bitmaps by a decoder
// that follows LVGL's (lv_font_fmt_txt.c), not the encoder.
struct DecodedGlyph
{
    int advance = 0; // 1/16 px
    int x = 0, y = 0, width = 0, height = 0;
    QByteArray pixels; // one value (0 .. 2^bpp - 1) a byte, top row first
};

struct DecodedFont
{
    bool read = false;
    int bpp = 0;
    int lineHeight = 0;
    int baseLine = 0;
    QHash<uint, DecodedGlyph> glyphs; // by code point, through the character map
    QMap<QPair<uint, uint>, int> kerning; // by code points, in 1/256 px (value times kern_scale)
};

DecodedFont decodeLvglC(const QByteArray &source);
DecodedFont decodeLvglBinary(const QByteArray &font);
