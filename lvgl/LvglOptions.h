#pragma once

#include <QString>

// How a bitmap font for LVGL is rasterized and written. The defaults are the
// reference converter's (lv_font_conv): 4 bits a pixel, the auto-hinter's
// light mode, compressed bitmaps and kerning kept.
struct LvglOptions
{
    int size = 0; // pixels; none by default: a bitmap font has one size
    int bpp = 4;
    bool hinting = true; // false: the auto-hinter is not used
    bool compress = true;
    bool kerning = true;
    QString symbol; // the C name of the font; empty: taken from the output name
};

inline constexpr int lvglMinimumSize = 4;
inline constexpr int lvglMaximumSize = 255;

bool isLvglBpp(int bpp);

// Whether `name` may name the font in C: letters, digits and "_", no digit
// first, no keyword.
bool isCIdentifier(const QString &name);

// Why `options` cannot make a font, naming the bad value; empty when they can.
// The symbol is checked only when one is given.
QString lvglOptionsProblem(const LvglOptions &options);
