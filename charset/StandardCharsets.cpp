#include "charset/StandardCharsets.h"

#include "charset/CodepointSet.h"
#include "charset/CodepointStream.h"
#include "charset/StandardCharsetData.h"
#include "charset/TextCharacters.h"
#include "common/UiText.h"
#include "font/FontCharacterMap.h"

#include <QLocale>

#include <array>

namespace {

// Decoded once, on first use; the streams are 80 KB of text and every front
// end needs at most a few of them per run.
const std::array<QList<uint>, standardCharsetCount> &decodedSets()
{
    static const std::array<QList<uint>, standardCharsetCount> sets = [] {
        std::array<QList<uint>, standardCharsetStreamCount> streams;
        for (int i = 0; i < standardCharsetStreamCount; ++i)
            streams[i] = decodeCodepointStream(standardCharsetStreams[i].encoded, standardCharsetStreams[i].count);
        std::array<QList<uint>, standardCharsetCount> result;
        for (int i = 0; i < standardCharsetCount; ++i) {
            const StandardCharsetEntry &entry = standardCharsetEntries[i];
            result[i] = streams[entry.stream].mid(entry.start, entry.count);
        }
        return result;
    }();
    return sets;
}

bool isSet(int set)
{
    return set >= 0 && set < standardCharsetCount;
}

// Both languages group thousands with a comma: "3,500 字".
QString groupedNumber(int number)
{
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(number);
}

} // namespace

int standardCharsetTotal()
{
    return standardCharsetCount;
}

int findStandardCharset(const QString &id)
{
    for (int set = 0; set < standardCharsetCount; ++set) {
        if (id == QLatin1String(standardCharsetEntries[set].id))
            return set;
    }
    return -1;
}

QString standardCharsetId(int set)
{
    return isSet(set) ? QString::fromLatin1(standardCharsetEntries[set].id) : QString();
}

QStringList standardCharsetIds()
{
    QStringList ids;
    for (int set = 0; set < standardCharsetCount; ++set)
        ids.append(standardCharsetId(set));
    return ids;
}

QString standardCharsetName(int set)
{
    if (!isSet(set))
        return QString();
    return uiText(standardCharsetEntries[set].englishName, standardCharsetEntries[set].chineseName);
}

const QList<uint> &standardCharsetCharacters(int set)
{
    static const QList<uint> none;
    return isSet(set) ? decodedSets()[set] : none;
}

QString standardCharsetAddition(int set, const QString &text)
{
    CodepointSet held;
    for (uint codepoint : textCharacters(text))
        held.insert(codepoint);
    QString addition;
    for (uint codepoint : standardCharsetCharacters(set)) {
        if (!held.contains(codepoint))
            addition.append(QStringView(QChar::fromUcs4(char32_t(codepoint))));
    }
    return addition;
}

QList<int> standardCharsetCoverage(const FontFace &face)
{
    const FontCharacterMap map(face);
    if (!map.isValid())
        return {};
    QList<int> coverage;
    for (const QList<uint> &characters : decodedSets()) {
        int covered = 0;
        for (uint codepoint : characters)
            covered += map.hasGlyph(codepoint) ? 1 : 0;
        coverage.append(covered);
    }
    return coverage;
}

QString standardCharsetMenuText(int set, int covered)
{
    const QString count = groupedNumber(int(standardCharsetCharacters(set).size()));
    QString text = standardCharsetName(set) + QStringLiteral(" — ") + count;
    if (!uiEnglish())
        text += QStringLiteral(" 字");
    if (covered >= 0)
        text += uiText(", this font has %1", "，当前字体含 %1").arg(groupedNumber(covered));
    return text;
}
