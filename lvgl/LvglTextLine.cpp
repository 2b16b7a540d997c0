#include "lvgl/LvglTextLine.h"

#include <algorithm>

namespace {

// The 4.4 kerning value between two glyph ids, as lv_font_fmt_txt looks it up.
int kerningValue(const LvglKerning &kerning, int left, int right)
{
    if (kerning.classes) {
        const auto classOf = [](const QByteArray &mapping, int id) {
            return id < mapping.size() ? int(uchar(mapping[id])) : 0;
        };
        const int leftClass = classOf(kerning.leftMapping, left), rightClass = classOf(kerning.rightMapping, right);
        if (!leftClass || !rightClass)
            return 0;
        return kerning.classValues.value((leftClass - 1) * kerning.rightClasses + rightClass - 1);
    }
    const auto found = std::lower_bound(kerning.pairs.begin(), kerning.pairs.end(), KerningPair{left, right, 0},
                                        [](const KerningPair &a, const KerningPair &b) {
                                            return a.left != b.left ? a.left < b.left : a.right < b.right;
                                        });
    return found != kerning.pairs.end() && found->left == left && found->right == right ? found->value : 0;
}

} // namespace

LvglTextLine layOutLvglLine(const LvglFont &font, const QList<uint> &codes)
{
    LvglTextLine line;
    line.height = font.ascent - font.descent;
    QList<int> ids; // glyph ids: positions + 1
    for (uint code : codes) {
        const auto found = std::lower_bound(font.codes.begin(), font.codes.end(), code);
        if (found != font.codes.end() && *found == code)
            ids.append(int(found - font.codes.begin()) + 1);
    }
    int pen = 0;
    for (qsizetype i = 0; i < ids.size(); ++i) {
        const RasterGlyph &glyph = font.face.glyphs[ids[i] - 1];
        line.glyphs.append({ids[i] - 1, pen + glyph.left, font.ascent - glyph.bottom - glyph.height});
        const int kern =
            i + 1 < ids.size() ? (kerningValue(font.kerning, ids[i], ids[i + 1]) * font.kerning.scale) >> 4 : 0;
        line.width = std::max(line.width, pen + glyph.left + glyph.width);
        pen += (roundHalfUp(glyph.advance * 16) + kern + 8) >> 4;
        line.width = std::max(line.width, pen);
    }
    return line;
}

int lvglOpacity(int value, int bpp)
{
    return value * 255 / ((1 << bpp) - 1);
}
