#include "LvglDecode.h"

#include <QRegularExpression>
#include <QtEndian>

namespace {

class BitReader
{
public:
    BitReader(const QByteArray &bytes, qint64 bit) : bytes(bytes), bit(bit) {}
    uint read(int bits)
    {
        uint value = 0;
        for (int i = 0; i < bits; ++i, ++bit) {
            const qsizetype byte = qsizetype(bit / 8);
            value = (value << 1) | (byte < bytes.size() ? (uchar(bytes[byte]) >> (7 - bit % 8)) & 1 : 0);
        }
        return value;
    }
    int readSigned(int bits)
    {
        const uint value = read(bits);
        return bits && (value >> (bits - 1)) ? int(value) - (1 << bits) : int(value);
    }

private:
    const QByteArray &bytes;
    qint64 bit;
};

// LVGL's decompression: a value, a repeat opened by the same value twice, 1
// bits repeating it, and after 10 of them a 6-bit count; lines XORed back.
QByteArray decodePixels(BitReader *in, int width, int height, int bpp, int format)
{
    QByteArray pixels(qsizetype(width) * height, '\0');
    enum { Single, Repeat, Counter } state = Single;
    int previous = 0, count = 0;
    bool first = true;
    for (qsizetype i = 0; i < pixels.size(); ++i) {
        int value = 0;
        if (format == 0) {
            value = int(in->read(bpp));
        } else if (state == Single) {
            value = int(in->read(bpp));
            if (!first && value == previous) {
                count = 0;
                state = Repeat;
            }
        } else if (state == Repeat) {
            ++count;
            value = previous;
            if (in->read(1) == 0) {
                value = int(in->read(bpp));
                state = Single;
            } else if (count == 11) {
                count = int(in->read(6));
                if (count == 0) {
                    value = int(in->read(bpp));
                    state = Single;
                } else {
                    state = Counter;
                }
            }
        } else if (--count == 0) {
            value = int(in->read(bpp));
            state = Single;
        } else {
            value = previous;
        }
        previous = value;
        first = false;
        pixels[i] = char(value);
    }
    if (format == 1) {
        for (qsizetype i = width; i < pixels.size(); ++i)
            pixels[i] = char(pixels[i] ^ pixels[i - width]);
    }
    return pixels;
}

QList<int> cArray(const QByteArray &source, const QByteArray &name)
{
    QList<int> values;
    const qsizetype start = source.indexOf(name + "[] =");
    if (start < 0)
        return values;
    const qsizetype open = source.indexOf('{', start), close = source.indexOf("};", open);
    const QByteArray body = source.mid(open + 1, close - open - 1);
    static const QRegularExpression comment("/\\*.*?\\*/"), number("-?(0x[0-9a-f]+|\\d+)");
    const QString text = QString::fromUtf8(body).remove(comment);
    for (const auto &match : number.globalMatch(text))
        values.append(match.captured(0).toInt(nullptr, 0));
    return values;
}

int field(const QByteArray &source, const char *name)
{
    const auto match = QRegularExpression(QStringLiteral("\\.%1 = (-?\\d+)").arg(name)).match(source);
    return match.captured(1).toInt();
}

} // namespace

DecodedFont decodeLvglC(const QByteArray &source)
{
    DecodedFont font;
    font.bpp = field(source, "bpp");
    font.lineHeight = field(source, "line_height");
    font.baseLine = field(source, "base_line");
    const int format = field(source, "bitmap_format");
    QByteArray bitmap;
    for (int value : cArray(source, "glyph_bitmap"))
        bitmap.append(char(value));
    QList<DecodedGlyph> byId;
    static const QRegularExpression description(
        "\\{\\.bitmap_index = (\\d+), \\.adv_w = (\\d+), \\.box_w = (\\d+), \\.box_h = (\\d+), "
        "\\.ofs_x = (-?\\d+), \\.ofs_y = (-?\\d+)\\}");
    for (const auto &m : description.globalMatch(QString::fromUtf8(source))) {
        DecodedGlyph glyph{m.captured(2).toInt(), m.captured(5).toInt(), m.captured(6).toInt(),
                           m.captured(3).toInt(), m.captured(4).toInt(), {}};
        BitReader in(bitmap, m.captured(1).toLongLong() * 8);
        glyph.pixels = decodePixels(&in, glyph.width, glyph.height, font.bpp, format);
        byId.append(glyph);
    }
    static const QRegularExpression cmap(
        "\\.range_start = (\\d+), \\.range_length = (\\d+), \\.glyph_id_start = (\\d+),\\s*"
        "\\.unicode_list = (\\w+), \\.glyph_id_ofs_list = (\\w+), \\.list_length = \\d+, \\.type = \\w+_(\\w+)");
    QHash<int, uint> codeOf;
    for (const auto &m : cmap.globalMatch(QString::fromUtf8(source))) {
        const uint start = m.captured(1).toUInt();
        const int length = m.captured(2).toInt(), firstId = m.captured(3).toInt();
        const QList<int> codes = cArray(source, m.captured(4).toLatin1());
        const QList<int> offsets = cArray(source, m.captured(5).toLatin1());
        for (int i = 0; i < (codes.isEmpty() ? length : int(codes.size())); ++i) {
            const uint code = start + uint(codes.isEmpty() ? i : codes[i]);
            const int id = firstId + (offsets.isEmpty() ? i : offsets[i]);
            if ((offsets.isEmpty() || offsets[i] || i == 0) && id < byId.size()) {
                font.glyphs.insert(code, byId[id]);
                codeOf.insert(id, code);
            }
        }
    }
    const int scale = field(source, "kern_scale");
    const QList<int> pairIds = cArray(source, "kern_pair_glyph_ids"), pairValues = cArray(source, "kern_pair_values");
    for (qsizetype i = 0; i < pairValues.size(); ++i)
        font.kerning.insert({codeOf.value(pairIds[2 * i]), codeOf.value(pairIds[2 * i + 1])}, pairValues[i] * scale);
    const QList<int> left = cArray(source, "kern_left_class_mapping"), right = cArray(source, "kern_right_class_mapping");
    const QList<int> classValues = cArray(source, "kern_class_values");
    const int rightClasses = field(source, "right_class_cnt");
    for (qsizetype l = 0; l < left.size(); ++l) {
        for (qsizetype r = 0; r < right.size() && left[l]; ++r) {
            const int value = right[r] ? classValues.value((left[l] - 1) * rightClasses + right[r] - 1) : 0;
            if (value)
                font.kerning.insert({codeOf.value(int(l)), codeOf.value(int(r))}, value * scale);
        }
    }
    font.read = !byId.isEmpty();
    return font;
}

DecodedFont decodeLvglBinary(const QByteArray &bytes)
{
    DecodedFont font;
    const auto u8 = [&](qsizetype at) { return at < bytes.size() ? int(uchar(bytes[at])) : 0; };
    const auto u16 = [&](qsizetype at) { return u8(at) | u8(at + 1) << 8; };
    const auto u32 = [&](qsizetype at) { return qint64(u16(at)) | qint64(u16(at + 2)) << 16; };
    QHash<QByteArray, qsizetype> blocks;
    for (qsizetype at = 0; at + 8 <= bytes.size() && u32(at) > 0; at += u32(at))
        blocks.insert(bytes.mid(at + 4, 4), at);
    const qsizetype head = blocks.value("head", -1), cmap = blocks.value("cmap", -1);
    const qsizetype loca = blocks.value("loca", -1), glyf = blocks.value("glyf", -1);
    if (head < 0 || cmap < 0 || loca < 0 || glyf < 0)
        return font;
    font.bpp = u8(head + 37);
    font.lineHeight = qint16(u16(head + 16)) - qint16(u16(head + 18));
    font.baseLine = -qint16(u16(head + 18));
    const bool longOffsets = u8(head + 34), fractional = u8(head + 36);
    const int xyBits = u8(head + 38), whBits = u8(head + 39), advanceBits = u8(head + 40), format = u8(head + 41);
    const int monospacedAdvance = u16(head + 30);
    const auto glyphAt = [&](int id) {
        const qsizetype offset = longOffsets ? u32(loca + 12 + 4 * id) : u16(loca + 12 + 2 * id);
        BitReader in(bytes, (glyf + offset) * 8);
        DecodedGlyph glyph;
        const int advance = advanceBits ? int(in.read(advanceBits)) : monospacedAdvance;
        glyph.advance = fractional ? advance : advance * 16;
        glyph.x = in.readSigned(xyBits);
        glyph.y = in.readSigned(xyBits);
        glyph.width = int(in.read(whBits));
        glyph.height = int(in.read(whBits));
        glyph.pixels = decodePixels(&in, glyph.width, glyph.height, font.bpp, format);
        return glyph;
    };
    for (int s = 0, count = int(u32(cmap + 8)); s < count; ++s) {
        const qsizetype sub = cmap + 12 + 16 * s, data = cmap + u32(sub);
        const uint start = uint(u32(sub + 4));
        const int length = u16(sub + 8), firstId = u16(sub + 10), total = u16(sub + 12), type = u8(sub + 14);
        for (int i = 0; i < (type % 2 ? total : length); ++i) {
            const uint code = start + uint(type % 2 ? u16(data + 2 * i) : i);
            const int offset = type == 0 ? u8(data + i) : type == 1 ? u16(data + 2 * total + 2 * i) : i;
            if (type != 0 || offset || i == 0)
                font.glyphs.insert(code, glyphAt(firstId + offset));
        }
    }
    font.read = !font.glyphs.isEmpty();
    return font;
}
