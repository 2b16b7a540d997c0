#include "lvgl/FontKerning.h"

#include <QSet>

#include <vector>

namespace {

quint64 pairKey(uint left, uint right)
{
    return (quint64(left) << 32) | right;
}

int valueRecordSize(int format)
{
    int size = 0;
    for (int bit = 0; bit < 8; ++bit)
        size += (format >> bit) & 1 ? 2 : 0;
    return size;
}

} // namespace

FontKerning::FontKerning(const QByteArray &gposTable, const QByteArray &kernTable) : gpos(gposTable), kern(kernTable)
{
    if (!gpos.isEmpty())
        readGpos();
    else if (!kern.isEmpty())
        readKern();
}

// Out-of-range reads give 0, which ends every walk through a damaged table.
uint FontKerning::u16(qsizetype offset) const
{
    const QByteArray &data = gpos.isEmpty() ? kern : gpos;
    if (offset < 0 || offset + 2 > data.size())
        return 0;
    return (uint(uchar(data[offset])) << 8) | uchar(data[offset + 1]);
}

void FontKerning::readGpos()
{
    const int scriptList = int(u16(4)), featureList = int(u16(6)), lookupList = int(u16(8));
    if (!scriptList || !featureList || !lookupList)
        return;
    // DFLT first, then latn, as the reference's library picks the script.
    int script = 0;
    for (const char *wanted : {"DFLT", "latn"}) {
        for (uint i = 0, n = u16(scriptList); i < n && !script; ++i) {
            const qsizetype record = scriptList + 2 + 6 * qsizetype(i);
            if (gpos.mid(record, 4) == wanted)
                script = scriptList + int(u16(record + 4));
        }
    }
    if (!script || !u16(script))
        return;
    const int langSys = script + int(u16(script));
    int feature = 0;
    for (uint i = 0, n = u16(langSys + 4); i < n && !feature; ++i) {
        const qsizetype record = featureList + 2 + 6 * qsizetype(u16(langSys + 6 + 2 * qsizetype(i)));
        if (gpos.mid(record, 4) == "kern")
            feature = featureList + int(u16(record + 4));
    }
    if (!feature)
        return;
    for (uint i = 0, n = u16(feature + 2); i < n; ++i) {
        const int lookup = lookupList + int(u16(lookupList + 2 + 2 * qsizetype(u16(feature + 4 + 2 * qsizetype(i)))));
        if (u16(lookup) != 2)
            continue;
        for (uint s = 0, count = u16(lookup + 4); s < count; ++s) {
            const int subtable = lookup + int(u16(lookup + 6 + 2 * qsizetype(s)));
            const uint format = u16(subtable);
            if (format == 1 || format == 2)
                subtables.append(subtable);
        }
    }
}

void FontKerning::readKern()
{
    // Only the first subtable counts, of the Windows or the Apple header.
    qsizetype pairsAt = 0;
    uint count = 0;
    if (u16(0) == 0 && u16(4) == 0) {
        count = u16(10);
        pairsAt = 18;
    } else if (u16(0) == 1 && (u16(12) & 0xff) == 0) {
        count = u16(16);
        pairsAt = 24;
    }
    for (uint i = 0; i < count; ++i) {
        const qsizetype at = pairsAt + 6 * qsizetype(i);
        kernPairs.insert(pairKey(u16(at), u16(at + 2)), int(qint16(u16(at + 4))));
    }
}

int FontKerning::coverageIndex(int offset, uint glyph) const
{
    const uint format = u16(offset), count = u16(offset + 2);
    int low = 0, high = int(count) - 1;
    while (low <= high) {
        const int middle = (low + high) / 2;
        if (format == 1) {
            const uint value = u16(offset + 4 + 2 * qsizetype(middle));
            if (value == glyph)
                return middle;
            if (value < glyph)
                low = middle + 1;
            else
                high = middle - 1;
        } else {
            const qsizetype range = offset + 4 + 6 * qsizetype(middle);
            if (glyph < u16(range))
                high = middle - 1;
            else if (glyph > u16(range + 2))
                low = middle + 1;
            else
                return int(u16(range + 4) + glyph - u16(range));
        }
    }
    return -1;
}

int FontKerning::glyphClass(int offset, uint glyph) const
{
    if (u16(offset) == 1) {
        const uint start = u16(offset + 2), count = u16(offset + 4);
        return glyph >= start && glyph < start + count ? int(u16(offset + 6 + 2 * qsizetype(glyph - start))) : 0;
    }
    int low = 0, high = int(u16(offset + 2)) - 1;
    while (low <= high) {
        const int middle = (low + high) / 2;
        const qsizetype range = offset + 4 + 6 * qsizetype(middle);
        if (glyph < u16(range))
            high = middle - 1;
        else if (glyph > u16(range + 2))
            low = middle + 1;
        else
            return int(u16(range + 4));
    }
    return 0;
}

int FontKerning::xAdvance(int record, int valueFormat) const
{
    if (!(valueFormat & 4))
        return 0;
    return int(qint16(u16(record + ((valueFormat & 1) ? 2 : 0) + ((valueFormat & 2) ? 2 : 0))));
}

QList<KerningPair> FontKerning::pairs(const QList<uint> &glyphIds) const
{
    QList<KerningPair> result;
    const int count = int(glyphIds.size());
    if (!kernPairs.isEmpty()) {
        for (int left = 0; left < count; ++left) {
            for (int right = 0; right < count; ++right) {
                const int value = kernPairs.value(pairKey(glyphIds[left], glyphIds[right]));
                if (value)
                    result.append({left, right, value});
            }
        }
        return result;
    }
    if (subtables.isEmpty())
        return result;
    QHash<uint, QList<int>> positions; // several characters may share a glyph
    for (int i = 0; i < count; ++i)
        positions[glyphIds[i]].append(i);
    std::vector<int> values(static_cast<size_t>(count));
    std::vector<bool> decided(static_cast<size_t>(count));
    for (int left = 0; left < count; ++left) {
        std::fill(values.begin(), values.end(), 0);
        std::fill(decided.begin(), decided.end(), false);
        bool covered = false;
        for (int subtable : subtables) {
            const int index = coverageIndex(subtable + int(u16(subtable + 2)), glyphIds[left]);
            if (index < 0)
                continue;
            covered = true;
            const int format1 = int(u16(subtable + 4)), format2 = int(u16(subtable + 6));
            const int recordSize = valueRecordSize(format1) + valueRecordSize(format2);
            if (u16(subtable) == 1) {
                const int pairSet = subtable + int(u16(subtable + 10 + 2 * qsizetype(index)));
                QSet<uint> seen; // the first record of a second glyph wins
                for (uint r = 0, n = u16(pairSet); r < n; ++r) {
                    const int record = pairSet + 2 + int(r) * (2 + recordSize);
                    const uint second = u16(record);
                    if (seen.contains(second))
                        continue;
                    seen.insert(second);
                    for (int right : positions.value(second)) {
                        if (!decided[size_t(right)]) {
                            decided[size_t(right)] = true;
                            values[size_t(right)] = xAdvance(record + 2, format1);
                        }
                    }
                }
                continue;
            }
            const int classDef1 = subtable + int(u16(subtable + 8)), classDef2 = subtable + int(u16(subtable + 10));
            const int class2Count = int(u16(subtable + 14));
            const int class1 = glyphClass(classDef1, glyphIds[left]);
            for (int right = 0; right < count; ++right) {
                if (decided[size_t(right)])
                    continue;
                const int class2 = glyphClass(classDef2, glyphIds[right]);
                values[size_t(right)] =
                    xAdvance(subtable + 16 + (class1 * class2Count + class2) * recordSize, format1);
            }
            break;
        }
        if (!covered)
            continue;
        for (int right = 0; right < count; ++right) {
            if (values[size_t(right)])
                result.append({left, right, values[size_t(right)]});
        }
    }
    return result;
}
