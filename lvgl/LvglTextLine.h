#pragma once

#include "lvgl/LvglFont.h"

#include <QList>

// A glyph of a line placed as LVGL places it: the box's top left corner in
// the line, in pixels from the line's top left.
struct LvglPlacedGlyph
{
    int glyph; // index into the font's glyphs
    int left;
    int top;
};

struct LvglTextLine
{
    QList<LvglPlacedGlyph> glyphs;
    int width = 0;
    int height = 0;
};

// Sets `codes` on one line with `font` as LVGL's label does: each advance
// (with kerning) rounded to whole pixels, characters the font lacks left out.
LvglTextLine layOutLvglLine(const LvglFont &font, const QList<uint> &codes);

// The opacity (0-255) LVGL draws a pixel value of `bpp` bits with.
int lvglOpacity(int value, int bpp);
