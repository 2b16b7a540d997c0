#pragma once

#include "subset/OutputFormat.h"

#include <QByteArray>
#include <QString>

// The font that an output file written as `format` holds: the file itself,
// a WOFF2 file decoded, or the bytes of a C array. False, with the reason
// naming the file, when it cannot be read as that.
bool readOutputFont(const QString &path, OutputFormat format, QByteArray *font, QString *errorMessage);
