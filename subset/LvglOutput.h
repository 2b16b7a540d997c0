#pragma once

#include "lvgl/GlyphRaster.h"
#include "subset/SubsetRequest.h"

#include <QByteArray>
#include <QString>

#include <atomic>

// An LVGL font made for a request, or why it could not be.
struct LvglOutput
{
    QByteArray bytes;  // the C source or the binary font, by the request's format
    qint64 flashBytes = 0; // what the font takes in a firmware
    QString flashReport;   // the flash line of the size report
    QString errorMessage;  // set when it failed, naming the source
};

// Rasterizes the request's characters from its source face into the LVGL
// font of the request's format. `ttfBytes` is the size of the TrueType subset
// of the same characters, which the report sets the flash size against.
// Setting `stop` ends it early.
LvglOutput makeLvglOutput(const SubsetRequest &request, qint64 ttfBytes, const std::atomic<bool> *stop);

// The instance a variable face is rasterized at: the subset's pins.
AxisValues rasterAxes(const QList<AxisPin> &pins);

// The C name of the font: the one asked for, else the output's base name made
// a C identifier.
QString lvglSymbol(const SubsetRequest &request);
