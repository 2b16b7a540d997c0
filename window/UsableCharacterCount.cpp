#include "window/UsableCharacterCount.h"

#include <QList>
#include <QRawFont>
#include <QString>

namespace {

// Every candidate is a single UTF-16 unit, so one lookup over the whole
// buffer yields exactly one glyph per code point, in order, as if each had
// been looked up alone -- at a small fraction of the cost of 63,456 strings.
const QString &candidateCodePoints()
{
    static const QString candidates = [] {
        QString text;
        text.reserve(0x10000 - 0x20 - 0x800);
        for (uint codePoint = 0x20; codePoint <= 0xFFFF; ++codePoint) {
            if (!QChar::isSurrogate(codePoint))
                text.append(QChar(char16_t(codePoint)));
        }
        return text;
    }();
    return candidates;
}

} // namespace

int countUsableCharacters(const QRawFont &font)
{
    if (!font.isValid())
        return 0;
    const QString &candidates = candidateCodePoints();
    QList<quint32> glyphs(candidates.size());
    int glyphCount = int(glyphs.size());
    if (!font.glyphIndexesForChars(candidates.constData(), int(candidates.size()), glyphs.data(),
                                   &glyphCount))
        return 0;
    int count = 0;
    for (int i = 0; i < glyphCount; ++i) {
        if (glyphs.at(i) != 0)
            ++count;
    }
    return count;
}
