#pragma once

#include "lvgl/LvglFont.h"

#include <QByteArray>
#include <QString>

// The font as C source in the layout of the reference converter's lvgl
// output, so that a project compiling its files compiles this one: the font
// is the `const lv_font_t` named `symbol`, with guards for LVGL 6 to 9.
// `origin` lines go into the comment at the top.
QByteArray lvglCSource(const LvglFont &font, const QString &symbol, const QStringList &origin);

// The font in LVGL's binary layout (head, cmap, loca, glyf and kern
// blocks), as the reference converter's bin output and LVGL's loader have it.
QByteArray lvglBinary(const LvglFont &font);
