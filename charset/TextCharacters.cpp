#include "charset/TextCharacters.h"

bool isKeptCharacter(uint codepoint)
{
    if (codepoint < 0x20 || (codepoint >= 0x7F && codepoint <= 0x9F))
        return false;
    if (codepoint >= 0xD800 && codepoint <= 0xDFFF)
        return false;
    return codepoint != 0x2028 && codepoint != 0x2029 && codepoint <= 0x10FFFF;
}

QList<CodepointRange> keptRanges(uint first, uint last)
{
    // Whatever isKeptCharacter refuses lies in these few runs.
    static constexpr CodepointRange refused[] = {
        {0x0000, 0x001F}, {0x007F, 0x009F}, {0xD800, 0xDFFF}, {0x2028, 0x2029}};
    QList<CodepointRange> runs;
    last = qMin(last, 0x10FFFFu);
    uint next = first;
    for (const CodepointRange &gap : refused) {
        if (next > last)
            break;
        if (gap.last < next || gap.first > last)
            continue;
        if (gap.first > next)
            runs.append({next, gap.first - 1});
        next = gap.last + 1;
    }
    if (next <= last)
        runs.append({next, last});
    return runs;
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
