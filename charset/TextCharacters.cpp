#include "charset/TextCharacters.h"

bool isKeptCharacter(uint codepoint)
{
    if (codepoint < 0x20 || (codepoint >= 0x7F && codepoint <= 0x9F))
        return false;
    if (codepoint >= 0xD800 && codepoint <= 0xDFFF)
        return false;
    return codepoint != 0x2028 && codepoint != 0x2029 && codepoint <= 0x10FFFF;
}

QList<uint> textCharacters(const QString &text)
{
    QList<uint> characters;
    characters.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar unit = text.at(i);
        if (unit.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            characters.append(QChar::surrogateToUcs4(unit, text.at(i + 1)));
            ++i;
        } else {
            characters.append(unit.unicode());
        }
    }
    return characters;
}

int countUniqueCharacters(const QString &text)
{
    QSet<uint> seen;
    for (uint codepoint : textCharacters(text)) {
        if (codepoint < 0x20 || QChar::isSpace(codepoint))
            continue;
        seen.insert(codepoint);
    }
    return int(seen.size());
}
