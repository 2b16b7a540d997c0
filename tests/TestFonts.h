#pragma once

#include <QSet>
#include <QString>

// Fonts that the setup installs from Debian, and tools to make fonts with
// known gaps from them.
namespace TestFonts {

inline QString dejaVuSans() // .ttf
{
    return QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
}
inline QString wqyMicroHei() // .ttc, CJK; its first face is "WenQuanYi Micro Hei"
{
    return QStringLiteral("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc");
}
inline QString nimbusSansOtf() // .otf with CFF outlines
{
    return QStringLiteral("/usr/share/fonts/opentype/urw-base35/NimbusSans-Regular.otf");
}

// Cuts `source` down to `unicodes` (hb-subset's syntax) into `outputPath`
// with the system's hb-subset. Returns false, with hb-subset's words in
// `error`, when that fails.
bool cutFont(const QString &source, const QString &unicodes, const QString &outputPath,
             QString *error = nullptr);

// The code points that the font's character map gives a non-zero glyph,
// read straight from the file's cmap table (formats 4 and 12; face
// `faceIndex` of a collection). Independent of Qt's font code on purpose.
// An empty set means the file could not be read as a font.
QSet<uint> readCharacterMap(const QString &fontPath, int faceIndex = 0);

// How many fonts are registered with the application font database right
// now; an operation that registers one must have undone it when it returns.
int registeredApplicationFonts();

} // namespace TestFonts
