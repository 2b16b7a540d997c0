#include "lvgl/LvglCharacterMap.h"

#include "lvgl/LvglCmap.h"

#include <QHash>
#include <QRegularExpression>
#include <QtEndian>

#include <algorithm>

namespace {

// One subtable, its lists already read: the unicode list holds offsets from
// `start`, the glyph id list one offset a code (0 beyond the first: none).
bool addSubtable(LvglCmapType type, uint start, uint length, const QList<uint> &unicodeList,
                 const QList<uint> &idList, QList<uint> *codepoints)
{
    switch (type) {
    case LvglCmapType::Format0Tiny:
        for (uint i = 0; i < length; ++i)
            codepoints->append(start + i);
        return true;
    case LvglCmapType::Format0Full:
        if (uint(idList.size()) < length)
            return false;
        for (uint i = 0; i < length; ++i) {
            if (i == 0 || idList.at(i) != 0)
                codepoints->append(start + i);
        }
        return true;
    case LvglCmapType::SparseTiny:
    case LvglCmapType::SparseFull:
        for (uint offset : unicodeList)
            codepoints->append(start + offset);
        return true;
    }
    return false;
}

void sortUnique(QList<uint> *codepoints)
{
    std::sort(codepoints->begin(), codepoints->end());
    codepoints->erase(std::unique(codepoints->begin(), codepoints->end()), codepoints->end());
}

} // namespace

bool readLvglBinaryCharacters(const QByteArray &bytes, QList<uint> *codepoints)
{
    const auto *data = reinterpret_cast<const uchar *>(bytes.constData());
    const auto u16 = [&](qsizetype at) { return uint(qFromLittleEndian<quint16>(data + at)); };
    const auto u32 = [&](qsizetype at) { return uint(qFromLittleEndian<quint32>(data + at)); };
    // Blocks follow each other, each led by its size and its label.
    qsizetype block = 0;
    while (block + 12 <= bytes.size() && bytes.mid(block + 4, 4) != "cmap") {
        const uint size = u32(block);
        if (size < 8)
            return false;
        block += size;
    }
    if (block + 12 > bytes.size())
        return false;
    const qsizetype end = block + u32(block);
    const uint count = u32(block + 8);
    if (end > bytes.size() || block + 12 + 16 * qsizetype(count) > end)
        return false;
    QList<uint> found;
    for (uint i = 0; i < count; ++i) {
        const qsizetype record = block + 12 + 16 * qsizetype(i);
        const qsizetype list = block + u32(record);
        const uint start = u32(record + 4), length = u16(record + 8), entries = u16(record + 12);
        const auto type = LvglCmapType(data[record + 14]);
        if (data[record + 14] > 3)
            return false;
        QList<uint> unicodeList, idList;
        const bool sparse = type == LvglCmapType::SparseTiny || type == LvglCmapType::SparseFull;
        const qsizetype listBytes = sparse                              ? 2 * qsizetype(entries)
                                    : type == LvglCmapType::Format0Full ? length
                                                                        : 0;
        if (list < block || list + listBytes > end)
            return false;
        for (uint k = 0; sparse && k < entries; ++k)
            unicodeList.append(u16(list + 2 * k));
        for (uint k = 0; type == LvglCmapType::Format0Full && k < length; ++k)
            idList.append(data[list + k]);
        if (!addSubtable(type, start, length, unicodeList, idList, &found))
            return false;
    }
    sortUnique(&found);
    *codepoints = found;
    return true;
}

bool readLvglSourceCharacters(const QByteArray &source, QList<uint> *codepoints)
{
    const QString text = QString::fromUtf8(source);
    // The lists a subtable may name, by their C names; one that is not plain
    // numbers counts only when a subtable needs it.
    QHash<QString, QList<uint>> lists;
    static const QRegularExpression listPattern(
        QStringLiteral(R"(static\s+const\s+uint(?:8|16)_t\s+(\w+)\s*\[\]\s*=\s*\{([^}]*)\})"));
    for (auto match = listPattern.globalMatch(text); match.hasNext();) {
        const QRegularExpressionMatch list = match.next();
        QList<uint> values;
        bool ok = true;
        for (const QString &item : list.captured(2).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            if (ok && !item.trimmed().isEmpty())
                values.append(item.trimmed().toUInt(&ok, 0));
        }
        if (ok)
            lists.insert(list.captured(1), values);
    }
    static const QRegularExpression subtablePattern(QStringLiteral(
        R"(\.range_start\s*=\s*(\d+)\s*,\s*\.range_length\s*=\s*(\d+)\s*,\s*\.glyph_id_start\s*=\s*\d+\s*,)"
        R"(\s*\.unicode_list\s*=\s*(\w+)\s*,\s*\.glyph_id_ofs_list\s*=\s*(\w+)\s*,\s*\.list_length\s*=\s*\d+\s*,)"
        R"(\s*\.type\s*=\s*LV_FONT_FMT_TXT_CMAP_(FORMAT0_FULL|SPARSE_FULL|FORMAT0_TINY|SPARSE_TINY))"));
    static const QStringList typeNames = {QStringLiteral("FORMAT0_FULL"), QStringLiteral("SPARSE_FULL"),
                                          QStringLiteral("FORMAT0_TINY"), QStringLiteral("SPARSE_TINY")};
    QList<uint> found;
    bool any = false;
    for (auto match = subtablePattern.globalMatch(text); match.hasNext();) {
        const QRegularExpressionMatch subtable = match.next();
        const auto type = LvglCmapType(typeNames.indexOf(subtable.captured(5)));
        const bool sparse = type == LvglCmapType::SparseTiny || type == LvglCmapType::SparseFull;
        const QString unicodeName = subtable.captured(3), idName = subtable.captured(4);
        if ((sparse && !lists.contains(unicodeName)) ||
            (type == LvglCmapType::Format0Full && !lists.contains(idName)))
            return false;
        if (!addSubtable(type, subtable.captured(1).toUInt(), subtable.captured(2).toUInt(),
                         lists.value(unicodeName), lists.value(idName), &found))
            return false;
        any = true;
    }
    if (!any)
        return false;
    sortUnique(&found);
    *codepoints = found;
    return true;
}
