#include "subset/UnicodesArgument.h"

#include "charset/UnicodeBlockTable.h"

#include <QStringList>

#include <algorithm>

QString formatUnicodesArgument(const QSet<uint> &codepoints)
{
    QList<uint> sorted = codepoints.values();
    std::sort(sorted.begin(), sorted.end());
    QStringList texts;
    texts.reserve(sorted.size());
    for (uint codepoint : sorted)
        texts.append(codepointText(codepoint));
    return texts.join(QLatin1Char(','));
}

QString blockRangeText(uint first, uint last)
{
    return QStringLiteral("U+%1-%2")
        .arg(first, 4, 16, QLatin1Char('0'))
        .arg(last, 4, 16, QLatin1Char('0'))
        .toUpper();
}
