#include "lvgl/LvglBitmap.h"

#include <vector>

void BitWriter::write(uint32_t value, int bits)
{
    for (int bit = bits - 1; bit >= 0; --bit) {
        if (used == 8) {
            data.append('\0');
            used = 0;
        }
        if ((value >> bit) & 1u)
            data.back() = char(uchar(data.back()) | (0x80u >> used));
        ++used;
    }
}

namespace {

// The reference's modified I3BN: one value as it is, a second that opens a
// run, up to 10 repeats as single 1 bits, and longer runs as a 6-bit count.
constexpr int rleSkipCount = 1;
constexpr int rleBitCollapsedCount = 10;
constexpr int rleCounterBits = 6;
constexpr int rleMaxRepeats = (1 << rleCounterBits) - 1 + rleBitCollapsedCount + 1;

void compress(BitWriter *out, const std::vector<uint8_t> &pixels, int bpp)
{
    size_t offset = 0;
    while (offset < pixels.size()) {
        const uint8_t value = pixels[offset];
        int same = 1;
        while (offset + same < pixels.size() && pixels[offset + same] == value && same < rleMaxRepeats + rleSkipCount)
            ++same;
        offset += same;
        if (same <= rleSkipCount) {
            out->write(value, bpp);
            continue;
        }
        out->write(value, bpp);
        same -= rleSkipCount;
        out->write(value, bpp);
        if (same <= rleBitCollapsedCount) {
            for (int i = 0; i < same; ++i)
                out->write(i < same - 1 ? 1 : 0, 1);
            continue;
        }
        same -= rleBitCollapsedCount + 1;
        for (int i = 0; i < rleBitCollapsedCount + 1; ++i)
            out->write(1, 1);
        out->write(uint32_t(same), rleCounterBits);
    }
}

} // namespace

void writeGlyphBitmap(BitWriter *out, const uint8_t *pixels, int width, int height, int bpp,
                      LvglBitmapFormat format)
{
    const size_t count = size_t(width) * size_t(height);
    if (format == LvglBitmapFormat::Plain) {
        for (size_t i = 0; i < count; ++i)
            out->write(pixels[i], bpp);
        return;
    }
    // Each line XORed with the one above: runs of zeros where lines repeat.
    std::vector<uint8_t> filtered(pixels, pixels + count);
    for (size_t i = count; i-- > size_t(width);)
        filtered[i] ^= pixels[i - width];
    compress(out, filtered, bpp);
}
