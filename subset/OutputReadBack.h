#pragma once

#include "subset/OutputFormat.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The font that an output file written as `format` holds: the file itself,
// a WOFF2 file decoded, or the bytes of a C array. False, with the reason
// naming the file, when it cannot be read as that.
bool readOutputFont(const QString &path, OutputFormat format, QByteArray *font, QString *errorMessage);

// The characters an output file written as `format` holds, as its consumer
// maps them: a font's character map, or an LVGL font's. Ascending. False,
// with the reason naming the file, when it cannot be read as that.
bool readOutputCharacters(const QString &path, OutputFormat format, QList<uint> *codepoints,
                          QString *errorMessage);
