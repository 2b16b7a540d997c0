#pragma once

#include "lvgl/FontKerning.h"
#include "lvgl/GlyphRaster.h"
#include "lvgl/LvglBitmap.h"
#include "lvgl/LvglCmap.h"

#include <QByteArray>
#include <QList>

// Kerning as LVGL stores it: values in 4.4 fixed point, scaled down by
// `scale` / 16, either as glyph id pairs or as left and right classes,
// whichever is smaller.
struct LvglKerning
{
    int scale = 16; // FP12.4
    bool classes = false;
    QList<KerningPair> pairs; // glyph ids (list positions + 1), values in 4.4
    int leftClasses = 0;
    int rightClasses = 0;
    QByteArray leftMapping; // class of every glyph id, 0 for none
    QByteArray rightMapping;
    QList<int> classValues; // left class major, in 4.4
    bool isEmpty() const { return pairs.isEmpty() && !classes; }
};

// Everything both LVGL writers put out for one rasterized face, decided
// once: glyph ids (1 upward in code point order; 0 reserved), each
// glyph's bitmap, the character map split and kerning.
struct LvglFont
{
    RasterFace face;
    int bpp = 4;
    LvglBitmapFormat bitmapFormat = LvglBitmapFormat::Compressed;
    QList<QByteArray> bitmaps; // per glyph, in `bitmapFormat`
    QList<LvglCmapRange> cmap;
    QList<uint> codes;
    LvglKerning kerning;
    int ascent = 0; // top of the highest box above the baseline
    int descent = 0; // bottom of the lowest, negative below it

    // What LVGL keeps in flash of the C font: bitmaps and descriptors.
    qint64 bitmapBytes() const;
    qint64 descriptorBytes() const;
};

// Builds the font from `face` (not empty) with `options`.
LvglFont buildLvglFont(RasterFace face, const LvglOptions &options);

// The pixel values at `bpp` bits of an 8-bit coverage, as the reference
// converter reduces them: the top bits.
QByteArray reduceCoverage(const QByteArray &coverage, int bpp);

// JavaScript's Math.round, which the reference's numbers go through.
int roundHalfUp(double value);
