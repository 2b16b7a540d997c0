#pragma once

#include <QString>

// "Size: 5.2 MB → 256 KB (4.9%), 3,500 characters, 3,527 glyphs": the source
// file against what was written, in decimal units as file managers show them.
QString sizeReportLine(qint64 sourceBytes, qint64 outputBytes, int characters, int glyphs);

// "Flash: 250 KB (bitmaps 200 KB + descriptors 50 KB); TrueType subset: 600 KB":
// what a bitmap font takes in a firmware against the TrueType font of the
// same characters, for choosing between the two.
QString flashReportLine(qint64 bitmapBytes, qint64 descriptorBytes, qint64 ttfBytes);
// "256 KB": a size in decimal units, one decimal below 10.
QString byteSizeText(qint64 bytes);
