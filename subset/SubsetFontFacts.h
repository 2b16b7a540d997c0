#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// What a written subset holds, read back from its own bytes.
struct SubsetFontFacts
{
    bool read = false;      // false when the bytes are no font HarfBuzz can open
    QList<uint> codepoints; // ascending: what its character map keeps
    int glyphs = 0;
    QString family; // the typographic family where the font names one, else its family
};

SubsetFontFacts readSubsetFontFacts(const QByteArray &font);
