#pragma once

#include "web/WebFaceStyle.h"

#include <QList>
#include <QString>

// One slice as written: its file beside the style sheet, what it maps and
// its size.
struct WrittenSlice
{
    QString fileName;
    QList<uint> codepoints; // ascending
    qint64 bytes = 0;
};

// One face's slices, in the order of the slice table.
struct WrittenFace
{
    WebFaceStyle style;
    QList<WrittenSlice> slices;
};

// The style sheet: one @font-face per slice of every face under `family`,
// with the face's weight and style, font-display: swap and the slice's
// characters as a compact unicode-range.
QString sliceStyleSheet(const QString &family, const QList<WrittenFace> &faces);

// What a page showing `sample` loads: how many slices and bytes, of all.
struct SampleCost
{
    int slices = 0;
    qint64 bytes = 0;
    int allSlices = 0;
    qint64 allBytes = 0;
};
SampleCost sampleCost(const QList<WrittenFace> &faces, const QString &sample);

// The test page: `sample` in every face through the style sheet
// `cssFileName`, what it costs against the whole, and a line that the page
// itself fills in once its fonts have loaded (id "fontCheck": how many
// slices loaded, whether document.fonts.check() holds and whether the text
// is drawn in the web font rather than the fallback).
QString sliceTestPage(const QString &cssFileName, const QString &family, const QList<WrittenFace> &faces,
                      const QString &sample);
