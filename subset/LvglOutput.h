#pragma once

#include "lvgl/GlyphRaster.h"
#include "subset/SubsetFinishing.h"

#include <atomic>

// Rasterizes the request's characters from its source face and stages the
// LVGL font (C or binary, by the request's format) at `stagingPath`. False,
// with the reason naming the source, when the face cannot make one.
// `ttfBytes` is the size of the TrueType subset of the same characters, which
// the report line sets the font's flash size against.
bool writeLvglOutput(const SubsetRequest &request, const QString &stagingPath, qint64 ttfBytes,
                     FinishingResult *result, qint64 *writtenBytes, const std::atomic<bool> *stop);

// The instance a variable face is rasterized at: the subset's pins.
AxisValues rasterAxes(const QList<AxisPin> &pins);

// The C name of the font: the one asked for, else the output's base name made
// a C identifier.
QString lvglSymbol(const SubsetRequest &request);
