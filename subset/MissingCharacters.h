#pragma once

#include "font/FontFace.h"

#include <QList>
#include <QString>
#include <QStringList>

// The requested code points (ascending) that `face` maps to no glyph, read
// from its character map the way hb-subset reads it, so the note names
// exactly what the subset will lack. Code points below U+0020 never count as
// missing. When the file is no font, or one that checkFontFile refuses (and
// so is never opened), the result is empty: the run then goes on without a
// note.
QList<uint> findMissingCodepoints(const FontFace &face, const QList<uint> &requested);

// The two-line note for the success message: how many code points are
// missing and, as examples, the 32 lowest of them: as themselves where that
// is a visible character within U+FFFF, else as "U+XXXX". Never a raw
// control character, so it is safe on a terminal. Empty when nothing is
// missing.
QString missingCharactersNote(const QList<uint> &missing);

// Every missing code point on a line of its own: "U+4E00 一", or only the
// number where the character cannot be seen.
QStringList missingCharactersList(const QList<uint> &missing);
