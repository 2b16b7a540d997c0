#include "TestFonts.h"
#include "TestFiles.h"

#include <QFile>
#include <QFontDatabase>

namespace TestFonts {

bool cutFont(const QString &source, const QString &unicodes, const QString &outputPath, QString *error)
{
    const ProgramRun run = runProgram(QStringLiteral(VFC_HB_SUBSET),
                                      {source, "--output-file=" + outputPath, "--unicodes=" + unicodes});
    if (run.exitCode != 0 && error)
        *error = run.err;
    return run.exitCode == 0 && QFile::exists(outputPath);
}

namespace {

struct Reader
{
    QByteArray data;
    bool ok = true;

    quint32 u32(qsizetype at)
    {
        if (at < 0 || at + 4 > data.size()) {
            ok = false;
            return 0;
        }
        const auto *p = reinterpret_cast<const uchar *>(data.constData() + at);
        return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | p[3];
    }
    quint16 u16(qsizetype at)
    {
        if (at < 0 || at + 2 > data.size()) {
            ok = false;
            return 0;
        }
        const auto *p = reinterpret_cast<const uchar *>(data.constData() + at);
        return quint16((p[0] << 8) | p[1]);
    }
};

void readFormat4(Reader &r, qsizetype table, QSet<uint> &map)
{
    const int segments = r.u16(table + 6) / 2;
    const qsizetype ends = table + 14;
    const qsizetype starts = ends + 2 * segments + 2;
    const qsizetype deltas = starts + 2 * segments;
    const qsizetype offsets = deltas + 2 * segments;
    for (int s = 0; s < segments && r.ok; ++s) {
        const uint end = r.u16(ends + 2 * s);
        const uint start = r.u16(starts + 2 * s);
        const quint16 delta = r.u16(deltas + 2 * s);
        const quint16 rangeOffset = r.u16(offsets + 2 * s);
        for (uint c = start; c <= end && c != 0xFFFF && r.ok; ++c) {
            quint16 glyph;
            if (rangeOffset == 0) {
                glyph = quint16(c + delta);
            } else {
                const qsizetype at = offsets + 2 * s + rangeOffset + 2 * (c - start);
                glyph = r.u16(at);
                if (glyph != 0)
                    glyph = quint16(glyph + delta);
            }
            if (glyph != 0)
                map.insert(c);
        }
    }
}

void readFormat12(Reader &r, qsizetype table, QSet<uint> &map)
{
    const quint32 groups = r.u32(table + 12);
    for (quint32 g = 0; g < groups && r.ok; ++g) {
        const qsizetype at = table + 16 + 12 * qsizetype(g);
        const quint32 start = r.u32(at);
        const quint32 end = r.u32(at + 4);
        quint32 glyph = r.u32(at + 8);
        for (quint32 c = start; c <= end && c <= 0x10FFFF; ++c, ++glyph) {
            if (glyph != 0)
                map.insert(c);
        }
    }
}

} // namespace

QSet<uint> readCharacterMap(const QString &fontPath, int faceIndex)
{
    QFile file(fontPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    Reader r{file.readAll()};
    qsizetype face = 0;
    if (r.u32(0) == 0x74746366) { // 'ttcf'
        if (faceIndex < 0 || quint32(faceIndex) >= r.u32(8))
            return {};
        face = r.u32(12 + 4 * faceIndex);
    }
    const int tables = r.u16(face + 4);
    qsizetype cmap = -1;
    for (int t = 0; t < tables && r.ok; ++t) {
        const qsizetype record = face + 12 + 16 * t;
        if (r.u32(record) == 0x636D6170) // 'cmap'
            cmap = r.u32(record + 8);
    }
    if (cmap < 0 || !r.ok)
        return {};

    // Prefer the full-repertoire subtable (format 12) and fall back to the
    // BMP one, as font engines do; symbol subtables are read as they stand.
    qsizetype best = -1;
    int bestRank = 0;
    const int subtables = r.u16(cmap + 2);
    for (int i = 0; i < subtables && r.ok; ++i) {
        const quint16 platform = r.u16(cmap + 4 + 8 * i);
        const quint16 encoding = r.u16(cmap + 6 + 8 * i);
        const qsizetype table = cmap + r.u32(cmap + 8 + 8 * i);
        const quint16 format = r.u16(table);
        int rank = 0;
        if (format == 12 && ((platform == 3 && encoding == 10) || platform == 0))
            rank = 3;
        else if (format == 4 && ((platform == 3 && encoding == 1) || platform == 0))
            rank = 2;
        else if (format == 4 && platform == 3 && encoding == 0)
            rank = 1;
        if (rank > bestRank) {
            bestRank = rank;
            best = table;
        }
    }
    QSet<uint> map;
    if (best < 0 || !r.ok)
        return map;
    if (r.u16(best) == 12)
        readFormat12(r, best, map);
    else
        readFormat4(r, best, map);
    if (!r.ok)
        return {};
    return map;
}

int registeredApplicationFonts()
{
    // Ids are handed out from 0 and freed ones are reused, so a short scan
    // finds every registration a test can have left.
    int count = 0;
    for (int id = 0; id < 256; ++id) {
        if (!QFontDatabase::applicationFontFamilies(id).isEmpty())
            ++count;
    }
    return count;
}

} // namespace TestFonts
