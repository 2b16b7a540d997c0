#pragma once

#include "lvgl/LvglOptions.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <atomic>

// One character rasterized at the font's pixel size.
struct RasterGlyph
{
    uint code = 0;
    uint glyphIndex = 0; // in the source face, for kerning
    double advance = 0;  // unhinted, in pixels
    int left = 0;        // box offset from the pen position
    int bottom = 0;      // box bottom above the baseline
    int width = 0;
    int height = 0;
    QByteArray coverage; // width * height bytes, 0-255, top row first
};

// A face rasterized for the characters it has, ascending, and what the
// font's writers need of its tables.
struct RasterFace
{
    QList<RasterGlyph> glyphs;
    QString family;
    int size = 0;
    int unitsPerEm = 0;
    int typoAscent = 0; // OS/2 and post values scaled to pixels
    int typoDescent = 0;
    int typoLineGap = 0;
    int underlinePosition = 0;
    int underlineThickness = 0;
    QByteArray gposTable; // raw, for kerning
    QByteArray kernTable;
};

// Rasterizes face `faceIndex` of the font file `file` (a collection too) at
// `options.size` pixels for those of `codepoints` (ascending) the face maps,
// as the reference converter does: the auto-hinter's light mode unless
// hinting is off, monochrome at 1 bit a pixel. False with the reason when
// the face cannot be read or has no outlines. Setting `stop` ends it early.
// A variable face is set to the instance `axes` pins (axis tag, user value),
// the other axes at their defaults.
using AxisValues = QList<QPair<QString, double>>;
bool rasterizeFace(const QByteArray &file, int faceIndex, const QList<uint> &codepoints,
                   const LvglOptions &options, RasterFace *face, QString *error,
                   const std::atomic<bool> *stop = nullptr, const AxisValues &axes = {});
