#pragma once

#include "font/FontFace.h"

#include <QString>

// The file of the regular face of an installed font family, found through
// the platform's font service: the first of fontFamilyCandidates(family)
// that the service knows as a family with a TrueType or CFF face decides.
// A face inside a collection gives the collection's path and the face's
// index in it. An empty path whenever no such file can be found; the caller
// tells the user.
FontFace resolveFontFace(const QString &family);

// Only the file of resolveFontFace.
QString resolveFontFilePath(const QString &family);
