#pragma once

#include <QByteArray>
#include <QString>

// The output name as a C identifier: letters, digits and "_" kept, every
// other character "_", and "font_" in front of a name that would not start
// with a letter or would be a C keyword ("12MyFont" → "font_12MyFont").
QString cIdentifier(const QString &outputName);

// A C header holding `font`: include guard, a comment naming where it comes
// from (`origin`, e.g. the source file and face), the array `identifier`
// (16 hexadecimal bytes a line) and `identifier`_len.
QByteArray cArrayHeader(const QByteArray &font, const QString &identifier, const QString &origin);
