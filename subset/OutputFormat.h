#pragma once

#include <QString>
#include <QStringList>

// What the kept font is written as: the font itself, compressed for the web,
// or as C source to build into a firmware image.
enum class OutputFormat { TrueType, Woff2, CArray };

// ".ttf", ".woff2" or ".h".
QString outputSuffix(OutputFormat format);

// The command line's names: "ttf", "woff2" and "c". False for anything else.
bool outputFormatFromName(const QString &name, OutputFormat *format);

// The style sheet written beside a WOFF2 file: its name with ".woff2"
// replaced by (or, for another suffix, extended with) ".css".
QString cssPathBeside(const QString &woff2Path);

// Every file one generation writes, the font first.
QStringList outputFilePaths(const QString &targetPath, OutputFormat format, bool writeCss);
