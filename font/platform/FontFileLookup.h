#pragma once

#include <QString>

// The file of the regular face of an installed font family, found through
// the platform's font service: the first of fontFamilyCandidates(family)
// that the service knows as a family with a TrueType or CFF face decides.
// A face inside a collection gives the collection's path. Empty whenever
// no such file can be found; the caller tells the user.
QString resolveFontFilePath(const QString &family);
