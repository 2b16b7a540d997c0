#pragma once

#include "font/FontFace.h"

#include <QString>

// What a style sheet says of one face, read from the face itself.
struct WebFaceStyle
{
    QString family;   // typographic family where the font names one, else its family; English first
    QString style;    // the subfamily, "Bold", "Light Italic"; "Regular" when the font names none
    QString weight;   // "400", or "100 900" for a variable font's wght axis
    bool italic = false; // the OS/2 italic bit, or head's
};

WebFaceStyle readWebFaceStyle(const FontFace &face);

// "Bold Italic" as a part of a file name: "Bold-Italic"; only letters and
// digits of ASCII, hyphens between words.
QString styleFileNamePart(const QString &style);
