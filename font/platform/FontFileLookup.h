#pragma once

#include "font/FontFace.h"

#include <QList>
#include <QString>
#include <QStringList>

// One installed family as the platform's font service knows it: every name
// its fonts give it, in whichever languages, and the files of its faces.
struct InstalledFontFamily
{
    QStringList names;     // the service's own first name first
    QStringList languages; // of each name: "en", "zh-cn"; empty where the font says none
    QStringList files;
};

// The file of the regular face of an installed font family, found through
// the platform's font service: the first of fontFamilyCandidates(family)
// that the service knows as a family with a TrueType or CFF face decides.
// A face inside a collection gives the collection's path and the face's
// index in it. An empty path whenever no such file can be found; the caller
// tells the user.
FontFace resolveFontFace(const QString &family);

// Every TrueType or CFF face of an installed family, each once (a variable
// font's named instances are one face), from the lightest upright face to
// the heaviest italic; found as resolveFontFace() finds the family. Empty
// when the family has none.
QList<FontFace> resolveFamilyFaces(const QString &family);

// Only the file of resolveFontFace.
QString resolveFontFilePath(const QString &family);

// Every installed family with a TrueType or CFF face, each once: a user who
// knows a font by another name ("文泉驿微米黑" for WenQuanYi Micro Hei)
// finds it by that one.
QList<InstalledFontFamily> installedFontFamilies();
