#pragma once

#include <QList>
#include <QString>

enum class FaceSlant { Upright, Oblique, Italic };

// What decides which face of a family counts as its regular one.
struct FaceTraits
{
    QString filePath;
    // Width in percent of normal (100); condensed faces lie below.
    double width = 100;
    FaceSlant slant = FaceSlant::Upright;
    // Weight on the CSS / OpenType scale, 400 being regular.
    double weight = 400;
    // Which face of the file, for a collection.
    int faceIndex = 0;
};

// The face a request for normal width, upright style and weight 400 gets:
// the width closest to normal first (the narrower one on a tie), then
// upright before oblique before italic, then the weight by the CSS rule
// for 400 (400 up to 500 ascending, then lighter descending, then heavier
// ascending). Faces still equal go by file path and face, so the answer does not
// depend on the order the font service lists them in. Returns the index in
// `faces`, or -1 when there is none.
int regularFaceIndex(const QList<FaceTraits> &faces);
