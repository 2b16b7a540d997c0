#pragma once

#include <QString>
#include <QStringList>

// What the kept font is written as: the font itself, compressed for the web,
// or as C source to build into a firmware image; bitmaps rasterized for LVGL;
// or a folder of WOFF2 slices with their style sheet (web/).
enum class OutputFormat { TrueType, Woff2, CArray, Lvgl, LvglBin, Woff2Slices };

// The formats that hold bitmaps rasterized for LVGL rather than the font.
inline bool isLvglFormat(OutputFormat format)
{
    return format == OutputFormat::Lvgl || format == OutputFormat::LvglBin;
}

// ".ttf", ".woff2", ".h", ".c" or ".bin"; none for a folder of slices.
QString outputSuffix(OutputFormat format);

// The command line's names: "ttf", "woff2", "c", "lvgl", "lvgl-bin" and
// "woff2-slices". False for anything else.
bool outputFormatFromName(const QString &name, OutputFormat *format);
QString outputFormatName(OutputFormat format);

// The format a file name's extension stands for, letter case aside: ".woff2"
// WOFF2, ".h" a C array, ".ttf" and ".otf" the font itself. False for any
// other extension (or none), which stands for no format in particular.
bool outputFormatFromSuffix(const QString &path, OutputFormat *format);

// The style sheet written beside a WOFF2 file: its name with ".woff2"
// replaced by (or, for another suffix, extended with) ".css".
QString cssPathBeside(const QString &woff2Path);

// Every file one generation writes, the font first.
QStringList outputFilePaths(const QString &targetPath, OutputFormat format, bool writeCss);
