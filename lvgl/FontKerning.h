#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>

// A kerning pair among a list of glyphs: positions in that list, and the
// adjustment in font units.
struct KerningPair
{
    int left;
    int right;
    int value;
};

// Horizontal kerning as the reference converter reads it (opentype.js):
// with a GPOS table, the pair adjustment lookups (type 2, pairs or classes)
// of the 'kern' feature of the default script's default language, the first
// subtable that covers the left glyph deciding; without one, the kern
// table's pairs.
class FontKerning
{
public:
    FontKerning(const QByteArray &gpos, const QByteArray &kern);

    // Every non-zero pair among `glyphIds`, left then right ascending.
    QList<KerningPair> pairs(const QList<uint> &glyphIds) const;

private:
    void readGpos();
    void readKern();
    int coverageIndex(int offset, uint glyph) const;
    int glyphClass(int offset, uint glyph) const;
    int xAdvance(int record, int valueFormat) const;
    uint u16(qsizetype offset) const;

    QByteArray gpos;
    QByteArray kern;
    QList<int> subtables; // GPOS pair adjustment subtables, in lookup order
    QHash<quint64, int> kernPairs;
};
