#pragma once

#include <QList>
#include <QString>

// "U+20-7E, U+4E2D": code points as CSS unicode-range values, neighbours
// merged into one range. `codepoints` ascending, each once.
QString cssUnicodeRange(const QList<uint> &codepoints);

// `text` as a quoted CSS string, safe for any characters.
QString cssString(const QString &text);

// One @font-face rule for the WOFF2 file `woff2FileName` (a name beside the
// style sheet), limited to exactly `codepoints`.
QString fontFaceCss(const QString &family, const QString &woff2FileName, const QList<uint> &codepoints);
