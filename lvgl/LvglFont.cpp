#include "lvgl/LvglFont.h"

#include "lvgl/FontKerning.h"

#include <QMap>

#include <algorithm>
#include <cmath>
#include <limits>

int roundHalfUp(double value)
{
    return int(std::floor(value + 0.5));
}

QByteArray reduceCoverage(const QByteArray &coverage, int bpp)
{
    QByteArray values(coverage.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < coverage.size(); ++i)
        values[i] = char(uchar(coverage[i]) >> (8 - bpp));
    return values;
}

namespace {

int alignedTo4(qint64 size)
{
    return int((size + 3) / 4 * 4);
}

// A class per distinct row of (partner, value) pairs, numbered from 1 in the
// order their first member comes.
int classesOf(const QMap<int, QList<QPair<int, double>>> &rows, QByteArray *mapping, QList<int> *firstMembers)
{
    QMap<QList<QPair<int, double>>, int> classes;
    for (auto row = rows.begin(); row != rows.end(); ++row) {
        int id = classes.value(row.value());
        if (!id) {
            id = int(classes.size()) + 1;
            classes.insert(row.value(), id);
            firstMembers->append(row.key());
        }
        (*mapping)[row.key() + 1] = char(id);
    }
    return int(classes.size());
}

LvglKerning buildKerning(const RasterFace &face, const QList<KerningPair> &unitPairs)
{
    LvglKerning kerning;
    if (unitPairs.isEmpty())
        return kerning;
    QList<double> pixels;
    double largest = 0;
    for (const KerningPair &pair : unitPairs) {
        pixels.append(double(pair.value) * face.size / face.unitsPerEm);
        largest = std::max(largest, std::abs(pixels.back()));
    }
    double scale = 1.0;
    if (largest >= 7.5)
        scale = std::ceil(largest / 7.5 * 16) / 16;
    kerning.scale = roundHalfUp(scale * 16);
    const auto fixed = [scale](double value) { return roundHalfUp(value / scale * 16); };

    const int glyphCount = int(face.glyphs.size());
    QMap<int, QList<QPair<int, double>>> leftRows, rightRows;
    QHash<quint64, double> byPair;
    for (qsizetype i = 0; i < unitPairs.size(); ++i) {
        const KerningPair &pair = unitPairs[i];
        kerning.pairs.append({pair.left + 1, pair.right + 1, fixed(pixels[i])});
        leftRows[pair.left].append({pair.right, pixels[i]});
        rightRows[pair.right].append({pair.left, pixels[i]});
        byPair.insert((quint64(pair.left) << 32) | uint(pair.right), pixels[i]);
    }
    const qint64 count = unitPairs.size();
    const int pairsSize = alignedTo4(4 + (glyphCount > 255 ? 4 : 2) * count + count);

    QByteArray leftMapping(glyphCount + 1, '\0'), rightMapping(glyphCount + 1, '\0');
    QList<int> leftFirst, rightFirst;
    const int left = classesOf(leftRows, &leftMapping, &leftFirst);
    // Right rows list their partners by left position already, as wanted.
    const int right = classesOf(rightRows, &rightMapping, &rightFirst);
    if (left >= 255 || right >= 255)
        return kerning;
    const int classesSize = alignedTo4(4 + 2 * qint64(glyphCount + 1) + qint64(left) * right);
    if (classesSize > pairsSize)
        return kerning;
    kerning.classes = true;
    kerning.leftClasses = left;
    kerning.rightClasses = right;
    kerning.leftMapping = leftMapping;
    kerning.rightMapping = rightMapping;
    for (int l : leftFirst) {
        for (int r : rightFirst)
            kerning.classValues.append(fixed(byPair.value((quint64(l) << 32) | uint(r))));
    }
    return kerning;
}

} // namespace

LvglFont buildLvglFont(RasterFace face, const LvglOptions &options)
{
    LvglFont font;
    font.bpp = options.bpp;
    font.bitmapFormat =
        options.compress && options.bpp > 1 ? LvglBitmapFormat::Compressed : LvglBitmapFormat::Plain;
    font.ascent = std::numeric_limits<int>::min();
    font.descent = std::numeric_limits<int>::max();
    QList<uint> glyphIds;
    for (const RasterGlyph &glyph : face.glyphs) {
        font.codes.append(glyph.code);
        glyphIds.append(glyph.glyphIndex);
        font.ascent = std::max(font.ascent, glyph.bottom + glyph.height);
        font.descent = std::min(font.descent, glyph.bottom);
        BitWriter bits;
        const QByteArray values = reduceCoverage(glyph.coverage, options.bpp);
        writeGlyphBitmap(&bits, reinterpret_cast<const uint8_t *>(values.constData()), glyph.width, glyph.height,
                         options.bpp, font.bitmapFormat);
        font.bitmaps.append(bits.bytes());
    }
    font.cmap = planCmap(font.codes);
    if (options.kerning)
        font.kerning = buildKerning(face, FontKerning(face.gposTable, face.kernTable).pairs(glyphIds));
    font.face = std::move(face);
    return font;
}

qint64 LvglFont::bitmapBytes() const
{
    qint64 total = 0;
    for (const QByteArray &bitmap : bitmaps)
        total += bitmap.size();
    return total;
}

qint64 LvglFont::descriptorBytes() const
{
    // lv_font_fmt_txt_glyph_dsc_t is 8 bytes, a cmap entry 20 (with padding
    // on 32-bit targets); lists and kerning as stored.
    qint64 total = 8 * (qint64(bitmaps.size()) + 1);
    for (const LvglCmapRange &range : cmap) {
        total += 20;
        const qint64 span = qint64(codes[range.last]) - codes[range.first] + 1;
        if (range.type == LvglCmapType::Format0Full)
            total += span;
        else if (range.type == LvglCmapType::SparseTiny)
            total += 2 * (range.last - range.first + 1);
    }
    if (kerning.classes)
        total += kerning.leftMapping.size() + kerning.rightMapping.size() + kerning.classValues.size();
    else
        total += kerning.pairs.size() * ((bitmaps.size() > 255 ? 4 : 2) + 1);
    return total;
}
