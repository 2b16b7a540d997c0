#pragma once

#include <QByteArray>
#include <QString>

// What a font path holds, judged before any font library is let near it.
enum class FontFileCheck {
    Missing,    // empty path, or nothing there
    NotAFile,   // a directory, pipe, device or socket: never opened
    Unreadable, // a regular file that cannot be read, or a collection whose header is impossible
    Usable,     // worth handing to the font code
};

// Font libraries trust a collection's header: Qt's font database registers
// every face it claims, so a header claiming 100,000 faces keeps the window
// busy for minutes. No real collection comes near this many faces.
constexpr quint32 mostCollectionFaces = 1000;

// Every function that opens a font asks this first. Symbolic links are
// followed; the file is opened without waiting, so a path that turns into a
// pipe after the first look still cannot block.
FontFileCheck checkFontFile(const QString &path);

// Whether the leading bytes of a file of `fileSize` bytes, when they start a
// collection ("ttcf"), name a believable number of faces that all lie within
// the file. Anything that is no collection passes: its own reader judges it.
// `head` must hold the whole header and offset list, or the file's start
// when the file is shorter than that.
bool collectionHeaderFits(const QByteArray &head, qint64 fileSize);

// The tables every font the tool writes must hold, and so every source it
// reads: browsers, word processors and the program's own reader refuse a
// font without one of them.
inline constexpr const char *requiredFontTables[] = {"head", "hhea", "maxp", "hmtx",
                                                     "cmap", "name", "OS/2", "post"};

// Why face `faceIndex` of the file at `path` cannot be read as a font,
// judged from its table directory alone, in a few words of the chosen
// language ("not a TrueType or OpenType font", "the file is cut short: it
// ends inside the glyf table", "no cmap table"). Empty when every table lies
// within the file and none that is required is missing. HarfBuzz takes such
// a file for a font and hb-subset then fails without a word; this says why
// before any run. A collection's own header is checkFontFile's to judge.
QString fontStructureProblem(const QString &path, int faceIndex);
