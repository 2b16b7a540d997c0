#pragma once

#include "font/FontFace.h"

#include <QString>

// The outcome of reading a source font for the information line.
struct FontInfo
{
    enum class Status {
        NoFont,     // no path, or nothing at it
        Unreadable, // something is there, but no font could be read from it
        Read,
    };
    Status status = Status::NoFont;
    int usableCharacters = 0; // meaningful only when Read
};

// Opens `face` and counts its usable characters. A face 0 that Qt cannot
// open directly is tried once more through the application font database;
// that registration is gone again when this returns.
FontInfo readFontInfo(const FontFace &face);

// The line the window shows for `info`, in the chosen language.
QString fontInfoText(const FontInfo &info);
