#pragma once

#include "font/FontFace.h"
#include "font/FontFileCheck.h"

#include <QList>
#include <QString>

// The faces of one font file, as the font itself names them.
struct FontFaceList
{
    enum class Status {
        Listed,            // `faces` holds every face of the file
        NotAFont,          // nothing HarfBuzz can read as a font (also no regular file)
        DamagedCollection, // a collection whose header or offset table cannot be read
        TooManyFaces,      // a collection claiming more than mostCollectionFaces
    };
    struct Face
    {
        QString family; // empty when the font names none
        QString style;
        QString postScriptName; // empty when the font names none
        bool readable = false;  // false for a face whose tables lie outside the file
    };

    Status status = Status::NotAFont;
    bool collection = false; // a .ttc/.otc, even a damaged one
    int claimedFaces = 0;    // what the file says, also when refused
    QList<Face> faces;       // face i at index i
};

// Lists the faces of the file at `path` with their family and style names
// in the chosen language where the font has them (Simplified before
// Traditional Chinese), else in English, else the first the font carries.
FontFaceList listFontFaces(const QString &path);

// "N: family style" for the face selector; "N: face N" for a face without a name.
QString fontFaceLabel(int index, const FontFaceList::Face &face);

// Why `face` cannot be cut or shown: a damaged or oversized collection, an
// index past the last face, a face that cannot be read. Empty when it may be
// used, and for a file that is no font at all asked for its face 0: that case
// keeps the rules it always had.
QString fontFaceProblem(const FontFace &face);

// Only the index check of fontFaceProblem, with the listing already made:
// the command line tells this mistake apart as a usage error.
QString faceIndexProblem(const FontFace &face, const FontFaceList &list);
