#pragma once

#include <QSet>
#include <QString>

// The requested code points that the font at `fontPath` maps to no glyph,
// read from its character map the way hb-subset reads it (the first face of
// a collection), so the note names exactly what the subset will lack. Code
// points below U+0020 never count as missing. When the file is no font the
// result is empty: the run then goes on without a note.
QSet<uint> findMissingCodepoints(const QString &fontPath, const QSet<uint> &requested);

// The two-line note for the success message: how many code points are
// missing and, as examples, the 32 lowest of them within U+0000..U+FFFF
// ("..." when none is). Empty when nothing is missing.
QString missingCharactersNote(const QSet<uint> &missing, int useEnglish);
