#pragma once

#include <QByteArray>

#include <cstdint>

// Bits written most significant first, as LVGL reads them.
class BitWriter
{
public:
    void write(uint32_t value, int bits);
    // The bytes so far, the last one filled with zero bits.
    const QByteArray &bytes() const { return data; }

private:
    QByteArray data;
    int used = 8; // bits taken in the last byte
};

// LVGL's bitmap formats: 0 plain, 1 the RLE of XOR-prefiltered lines.
enum class LvglBitmapFormat { Plain = 0, Compressed = 1 };

// Writes a glyph's pixels, `width` * `height` values of `bpp` bits each
// (0 .. 2^bpp - 1), top row first, in `format`.
void writeGlyphBitmap(BitWriter *out, const uint8_t *pixels, int width, int height, int bpp,
                      LvglBitmapFormat format);
