#include "lvgl/LvglWriters.h"

#include <QtEndian>

#include <algorithm>

namespace {

// Little-endian fields appended to a block.
class Block
{
public:
    explicit Block(const char *label) { bytes.append(4, '\0').append(label, 4); }
    void u8(int value) { bytes.append(char(value)); }
    void u16(int value) { append(quint16(value)); }
    void u32(qint64 value) { append(quint32(value)); }
    void raw(const QByteArray &data) { bytes.append(data); }
    void align() { bytes.append((4 - bytes.size() % 4) % 4, '\0'); }
    qsizetype size() const { return bytes.size(); }
    void put32(qsizetype at, qint64 value) { qToLittleEndian(quint32(value), bytes.data() + at); }
    // The block with its size in front.
    QByteArray finished()
    {
        put32(0, bytes.size());
        return bytes;
    }

private:
    template <typename T> void append(T value)
    {
        char little[sizeof(T)];
        qToLittleEndian(value, little);
        bytes.append(little, sizeof(T));
    }
    QByteArray bytes;
};

int unsignedBits(int value)
{
    int bits = 0;
    for (uint v = uint(value); v; v >>= 1)
        ++bits;
    return bits;
}

int signedBits(int value)
{
    return value >= 0 ? unsignedBits(value) + 1 : unsignedBits(-value - 1) + 1;
}

// Per-glyph layout facts the head and every glyph record share.
struct GlyphLayout
{
    bool monospaced = true;
    bool fractionalWidths = false; // 1/16 px where kerning adjusts the pen
    int xyBits = 0;
    int whBits = 0;
    int advanceBits = 0;
    int width(double advance) const { return roundHalfUp(fractionalWidths ? advance * 16 : advance); }
};

GlyphLayout layoutOf(const LvglFont &font)
{
    GlyphLayout layout;
    layout.fractionalWidths = !font.kerning.isEmpty();
    const QList<RasterGlyph> &glyphs = font.face.glyphs;
    for (const RasterGlyph &glyph : glyphs) {
        layout.monospaced = layout.monospaced && glyph.advance == glyphs.first().advance;
        layout.xyBits = std::max({layout.xyBits, signedBits(glyph.left), signedBits(glyph.bottom)});
        layout.whBits = std::max({layout.whBits, unsignedBits(glyph.width), unsignedBits(glyph.height)});
        layout.advanceBits = std::max(layout.advanceBits, signedBits(layout.width(glyph.advance)));
    }
    return layout;
}

QList<QByteArray> glyphRecords(const LvglFont &font, const GlyphLayout &layout)
{
    QList<QByteArray> records{QByteArray()};
    for (const RasterGlyph &glyph : font.face.glyphs) {
        BitWriter bits;
        if (!layout.monospaced)
            bits.write(uint32_t(layout.width(glyph.advance)), layout.advanceBits);
        bits.write(uint32_t(glyph.left), layout.xyBits);
        bits.write(uint32_t(glyph.bottom), layout.xyBits);
        bits.write(uint32_t(glyph.width), layout.whBits);
        bits.write(uint32_t(glyph.height), layout.whBits);
        const QByteArray values = reduceCoverage(glyph.coverage, font.bpp);
        writeGlyphBitmap(&bits, reinterpret_cast<const uint8_t *>(values.constData()), glyph.width, glyph.height,
                         font.bpp, font.bitmapFormat);
        records.append(bits.bytes());
    }
    return records;
}

QByteArray cmapBlock(const LvglFont &font)
{
    Block block("cmap");
    block.u32(font.cmap.size());
    QList<QByteArray> data;
    for (const LvglCmapRange &range : font.cmap) {
        const uint start = font.codes[range.first], end = font.codes[range.last];
        QByteArray bytes;
        int entries = int(end - start + 1);
        if (range.type == LvglCmapType::Format0Full) {
            for (uint code = start, next = uint(range.first); code <= end; ++code)
                bytes.append(char(font.codes[next] == code ? int(next++) - range.first : 0));
        } else if (range.type == LvglCmapType::SparseTiny) {
            for (int i = range.first; i <= range.last; ++i) {
                char little[2];
                qToLittleEndian(quint16(font.codes[i] - start), little);
                bytes.append(little, 2);
            }
            entries = range.last - range.first + 1;
        }
        bytes.append((4 - bytes.size() % 4) % 4, '\0');
        data.append(bytes);
        block.u32(0); // the offset, filled in below
        block.u32(start);
        block.u16(int(end - start + 1));
        block.u16(range.first + 1);
        block.u16(entries);
        block.u8(int(range.type));
        block.u8(0);
    }
    qsizetype offset = block.size();
    for (qsizetype i = 0; i < data.size(); ++i) {
        block.put32(12 + 16 * i, offset);
        offset += data[i].size();
        block.raw(data[i]);
    }
    return block.finished();
}

QByteArray kernBlock(const LvglFont &font)
{
    const LvglKerning &kerning = font.kerning;
    Block block("kern");
    block.u8(kerning.classes ? 3 : 0);
    block.align();
    if (kerning.classes) {
        block.u16(int(font.bitmaps.size() + 1));
        block.u8(kerning.leftClasses);
        block.u8(kerning.rightClasses);
        block.raw(kerning.leftMapping);
        block.raw(kerning.rightMapping);
        for (int value : kerning.classValues)
            block.u8(value);
    } else {
        const bool wide = font.bitmaps.size() > 255;
        block.u32(kerning.pairs.size());
        for (const KerningPair &pair : kerning.pairs) {
            if (wide) {
                block.u16(pair.left);
                block.u16(pair.right);
            } else {
                block.u8(pair.left);
                block.u8(pair.right);
            }
        }
        for (const KerningPair &pair : kerning.pairs)
            block.u8(pair.value);
    }
    block.align();
    return block.finished();
}

} // namespace

QByteArray lvglBinary(const LvglFont &font)
{
    const GlyphLayout layout = layoutOf(font);
    const QList<QByteArray> records = glyphRecords(font, layout);
    Block glyf("glyf");
    QList<qint64> offsets;
    for (const QByteArray &record : records) {
        offsets.append(glyf.size());
        glyf.raw(record);
    }
    glyf.align();
    const bool longOffsets = glyf.size() > 65535;

    Block loca("loca");
    loca.u32(records.size());
    for (qint64 offset : offsets)
        longOffsets ? loca.u32(offset) : loca.u16(int(offset));
    loca.align();

    const RasterFace &face = font.face;
    Block head("head");
    head.u32(1); // version
    head.u16(font.kerning.isEmpty() ? 3 : 4);
    head.u16(face.size);
    head.u16(font.ascent);
    head.u16(font.descent);
    head.u16(face.typoAscent);
    head.u16(face.typoDescent);
    head.u16(face.typoLineGap);
    head.u16(font.descent); // lowest and highest pixel
    head.u16(font.ascent);
    head.u16(layout.monospaced ? layout.width(face.glyphs.first().advance) : 0);
    head.u16(font.kerning.isEmpty() ? 16 : font.kerning.scale);
    head.u8(longOffsets ? 1 : 0);
    head.u8(font.bitmaps.size() > 255 ? 1 : 0);
    head.u8(layout.fractionalWidths ? 1 : 0);
    head.u8(font.bpp);
    head.u8(layout.xyBits);
    head.u8(layout.whBits);
    head.u8(layout.monospaced ? 0 : layout.advanceBits);
    head.u8(int(font.bitmapFormat));
    head.u8(0); // no subpixels
    head.u8(0);
    head.u16(face.underlinePosition);
    head.u16(face.underlineThickness);
    head.align();

    QByteArray result = head.finished() + cmapBlock(font) + loca.finished() + glyf.finished();
    if (!font.kerning.isEmpty())
        result += kernBlock(font);
    return result;
}
