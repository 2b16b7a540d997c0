#pragma once

#include <QSet>
#include <QString>

// The requested code points that the font at `fontPath` has no glyph for, as
// QRawFont (16 px, default hinting; the first face of a collection) sees
// them. Code points below U+0020 never count as missing. When the font
// cannot be opened the result is empty and `fontOpened` (if given) is false.
QSet<uint> findMissingCodepoints(const QString &fontPath, const QSet<uint> &requested,
                                 bool *fontOpened = nullptr);

// The two-line note for the success message: how many code points are
// missing and, as examples, the 32 lowest of them within U+0000..U+FFFF
// ("..." when none is). Empty when nothing is missing.
QString missingCharactersNote(const QSet<uint> &missing, int useEnglish);
