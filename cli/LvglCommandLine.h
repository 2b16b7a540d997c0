#pragma once

#include "lvgl/LvglOptions.h"

#include <QString>

// How an LVGL font is made, on the command line: --size=PX, --bpp=1|2|4|8,
// --hinting=light|none, --no-compress, --no-kerning and --symbol=NAME.
bool isLvglOptionFlag(const QString &name);
bool isLvglOptionWithValue(const QString &name);

// Applies one of the options above to `options` (`value` is null for a
// flag). False, with the reason naming the value, when it is not allowed.
bool takeLvglOption(const QString &name, const QString *value, LvglOptions *options, QString *error);

// The help's section about them.
QString lvglOptionsHelp();
