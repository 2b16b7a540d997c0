#include "lvgl/LvglWriters.h"

#include <QStringList>

namespace {

QString dump(const QList<int> &values, bool hex)
{
    QStringList lines;
    for (qsizetype i = 0; i < values.size(); i += 8) {
        QStringList line;
        for (qsizetype j = i; j < qMin(values.size(), i + 8); ++j)
            line.append(hex ? QStringLiteral("0x%1").arg(values[j], 0, 16) : QString::number(values[j]));
        lines.append(QStringLiteral("    ") + line.join(QStringLiteral(", ")));
    }
    return lines.join(QStringLiteral(",\n"));
}

QList<int> bytesOf(const QByteArray &bytes)
{
    QList<int> values;
    values.reserve(bytes.size());
    for (char byte : bytes)
        values.append(uchar(byte));
    return values;
}

// The character as a JSON string, as the reference names it in comments.
QString quotedCharacter(uint code)
{
    if (code == '"' || code == '\\')
        return QStringLiteral("\"\\%1\"").arg(QChar(code));
    if (code < 0x20) {
        static const char *const named[] = {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                            "b",     "t",     "n",     nullptr, "f",     "r"};
        if (code < 14 && named[code])
            return QStringLiteral("\"\\%1\"").arg(QLatin1String(named[code]));
        return QStringLiteral("\"\\u%1\"").arg(code, 4, 16, QLatin1Char('0'));
    }
    const char32_t character = code;
    return QLatin1Char('"') + QString::fromUcs4(&character, 1) + QLatin1Char('"');
}

QString bitmapSection(const LvglFont &font)
{
    QString glyphs;
    for (qsizetype i = 0; i < font.bitmaps.size(); ++i) {
        glyphs += QStringLiteral("    /* U+%1 %2 */\n")
                      .arg(QString::number(font.codes[i], 16).toUpper().rightJustified(4, QLatin1Char('0')),
                           quotedCharacter(font.codes[i]));
        glyphs += dump(bytesOf(font.bitmaps[i]), true);
        if (i < font.bitmaps.size() - 1)
            glyphs += font.bitmaps[i].isEmpty() ? QStringLiteral("\n") : QStringLiteral(",\n\n");
    }
    QStringList descriptions{QStringLiteral("    {.bitmap_index = 0, .adv_w = 0, .box_w = 0, .box_h = 0, .ofs_x = 0, "
                                            ".ofs_y = 0} /* id = 0 reserved */")};
    qint64 offset = 0;
    for (qsizetype i = 0; i < font.bitmaps.size(); ++i) {
        const RasterGlyph &glyph = font.face.glyphs[i];
        descriptions.append(
            QStringLiteral("    {.bitmap_index = %1, .adv_w = %2, .box_w = %3, .box_h = %4, .ofs_x = %5, .ofs_y = %6}")
                .arg(offset)
                .arg(roundHalfUp(glyph.advance * 16))
                .arg(glyph.width)
                .arg(glyph.height)
                .arg(glyph.left)
                .arg(glyph.bottom));
        offset += font.bitmaps[i].size();
    }
    return QStringLiteral("/*-----------------\n *    BITMAPS\n *----------------*/\n\n"
                          "/*Store the image of the glyphs*/\n"
                          "static LV_ATTRIBUTE_LARGE_CONST const uint8_t glyph_bitmap[] = {\n%1\n};\n\n\n"
                          "/*---------------------\n *  GLYPH DESCRIPTION\n *--------------------*/\n\n"
                          "static const lv_font_fmt_txt_glyph_dsc_t glyph_dsc[] = {\n%2\n};")
        .arg(glyphs, descriptions.join(QStringLiteral(",\n")));
}

QString cmapSection(const LvglFont &font)
{
    static const char *const typeNames[] = {"LV_FONT_FMT_TXT_CMAP_FORMAT0_FULL", "LV_FONT_FMT_TXT_CMAP_SPARSE_FULL",
                                            "LV_FONT_FMT_TXT_CMAP_FORMAT0_TINY", "LV_FONT_FMT_TXT_CMAP_SPARSE_TINY"};
    QStringList definitions, heads;
    for (qsizetype index = 0; index < font.cmap.size(); ++index) {
        const LvglCmapRange &range = font.cmap[index];
        const uint start = font.codes[range.first], end = font.codes[range.last];
        QString unicodeList = QStringLiteral("NULL"), idList = QStringLiteral("NULL");
        qsizetype entries = 0;
        QList<int> values;
        if (range.type == LvglCmapType::Format0Full) {
            for (uint code = start, next = uint(range.first); code <= end; ++code)
                values.append(font.codes[next] == code ? int(next++) - range.first : 0);
            idList = QStringLiteral("glyph_id_ofs_list_%1").arg(index);
            definitions.append(
                QStringLiteral("static const uint8_t %1[] = {\n%2\n};").arg(idList, dump(values, false)));
        } else if (range.type == LvglCmapType::SparseTiny) {
            for (int i = range.first; i <= range.last; ++i)
                values.append(int(font.codes[i] - start));
            unicodeList = QStringLiteral("unicode_list_%1").arg(index);
            definitions.append(
                QStringLiteral("static const uint16_t %1[] = {\n%2\n};").arg(unicodeList, dump(values, true)));
        }
        entries = values.size();
        heads.append(QStringLiteral("    {\n        .range_start = %1, .range_length = %2, .glyph_id_start = %3,\n"
                                    "        .unicode_list = %4, .glyph_id_ofs_list = %5, .list_length = %6, "
                                    ".type = %7\n    }")
                         .arg(start)
                         .arg(end - start + 1)
                         .arg(range.first + 1)
                         .arg(unicodeList, idList)
                         .arg(entries)
                         .arg(QLatin1String(typeNames[int(range.type)])));
    }
    return QStringLiteral("/*---------------------\n *  CHARACTER MAPPING\n *--------------------*/\n\n%1\n\n"
                          "/*Collect the unicode lists and glyph_id offsets*/\n"
                          "static const lv_font_fmt_txt_cmap_t cmaps[] =\n{\n%2\n};")
        .arg(definitions.join(QStringLiteral("\n\n")), heads.join(QStringLiteral(",\n")));
}

QString kerningSection(const LvglFont &font)
{
    const LvglKerning &kerning = font.kerning;
    if (kerning.isEmpty())
        return QString();
    const QString title = QStringLiteral("/*-----------------\n *    KERNING\n *----------------*/\n\n\n");
    if (kerning.classes) {
        return title + QStringLiteral("/*Map glyph_ids to kern left classes*/\n"
                                      "static const uint8_t kern_left_class_mapping[] =\n{\n%1\n};\n\n"
                                      "/*Map glyph_ids to kern right classes*/\n"
                                      "static const uint8_t kern_right_class_mapping[] =\n{\n%2\n};\n\n"
                                      "/*Kern values between classes*/\n"
                                      "static const int8_t kern_class_values[] =\n{\n%3\n};\n\n\n"
                                      "/*Collect the kern class' data in one place*/\n"
                                      "static const lv_font_fmt_txt_kern_classes_t kern_classes =\n{\n"
                                      "    .class_pair_values   = kern_class_values,\n"
                                      "    .left_class_mapping  = kern_left_class_mapping,\n"
                                      "    .right_class_mapping = kern_right_class_mapping,\n"
                                      "    .left_class_cnt      = %4,\n"
                                      "    .right_class_cnt     = %5,\n};")
                           .arg(dump(bytesOf(kerning.leftMapping), false), dump(bytesOf(kerning.rightMapping), false),
                                dump(kerning.classValues, false))
                           .arg(kerning.leftClasses)
                           .arg(kerning.rightClasses);
    }
    QStringList ids;
    QList<int> values;
    for (const KerningPair &pair : kerning.pairs) {
        ids.append(QStringLiteral("    %1, %2").arg(pair.left).arg(pair.right));
        values.append(pair.value);
    }
    const bool wideIds = font.bitmaps.size() > 255;
    return title + QStringLiteral("/*Pair left and right glyphs for kerning*/\n"
                                  "static const %1 kern_pair_glyph_ids[] =\n{\n%2\n};\n\n"
                                  "/* Kerning between the respective left and right glyphs\n"
                                  " * 4.4 format which needs to scaled with `kern_scale`*/\n"
                                  "static const int8_t kern_pair_values[] =\n{\n%3\n};\n\n"
                                  "/*Collect the kern pair's data in one place*/\n"
                                  "static const lv_font_fmt_txt_kern_pair_t kern_pairs =\n{\n"
                                  "    .glyph_ids = kern_pair_glyph_ids,\n"
                                  "    .values = kern_pair_values,\n"
                                  "    .pair_cnt = %4,\n"
                                  "    .glyph_ids_size = %5\n};")
                       .arg(QLatin1String(wideIds ? "uint16_t" : "uint8_t"), ids.join(QStringLiteral(",\n")),
                            dump(values, false))
                       .arg(kerning.pairs.size())
                       .arg(wideIds ? 1 : 0);
}

QString headSection(const LvglFont &font, const QString &symbol)
{
    const LvglKerning &kerning = font.kerning;
    const QString kernDsc = kerning.isEmpty() ? QStringLiteral("NULL")
                            : kerning.classes ? QStringLiteral("&kern_classes")
                                              : QStringLiteral("&kern_pairs");
    return QStringLiteral(
               "/*--------------------\n *  ALL CUSTOM DATA\n *--------------------*/\n\n"
               "#if LVGL_VERSION_MAJOR == 8\n/*Store all the custom data of the font*/\n"
               "static  lv_font_fmt_txt_glyph_cache_t cache;\n#endif\n\n"
               "#if LVGL_VERSION_MAJOR >= 8\nstatic const lv_font_fmt_txt_dsc_t font_dsc = {\n#else\n"
               "static lv_font_fmt_txt_dsc_t font_dsc = {\n#endif\n"
               "    .glyph_bitmap = glyph_bitmap,\n    .glyph_dsc = glyph_dsc,\n    .cmaps = cmaps,\n"
               "    .kern_dsc = %1,\n    .kern_scale = %2,\n    .cmap_num = %3,\n    .bpp = %4,\n"
               "    .kern_classes = %5,\n    .bitmap_format = %6,\n"
               "#if LVGL_VERSION_MAJOR == 8\n    .cache = &cache\n#endif\n};\n\n\n\n"
               "/*-----------------\n *  PUBLIC FONT\n *----------------*/\n\n"
               "/*Initialize a public general font descriptor*/\n"
               "#if LVGL_VERSION_MAJOR >= 8\nconst lv_font_t %7 = {\n#else\nlv_font_t %7 = {\n#endif\n"
               "    .get_glyph_dsc = lv_font_get_glyph_dsc_fmt_txt,    /*Function pointer to get glyph's data*/\n"
               "    .get_glyph_bitmap = lv_font_get_bitmap_fmt_txt,    /*Function pointer to get glyph's bitmap*/\n"
               "    .line_height = %8,          /*The maximum line height required by the font*/\n"
               "    .base_line = %9,             /*Baseline measured from the bottom of the line*/\n"
               "#if !(LVGL_VERSION_MAJOR == 6 && LVGL_VERSION_MINOR == 0)\n    .subpx = LV_FONT_SUBPX_NONE,\n#endif\n"
               "#if LV_VERSION_CHECK(7, 4, 0) || LVGL_VERSION_MAJOR >= 8\n"
               "    .underline_position = %10,\n    .underline_thickness = %11,\n#endif\n"
               "#if LVGL_VERSION_MAJOR > 9 || (LVGL_VERSION_MAJOR == 9 && LVGL_VERSION_MINOR >= 3)\n"
               "    .static_bitmap = 0,\n#endif\n"
               "    .dsc = &font_dsc,          /*The custom font data. Will be accessed by `get_glyph_bitmap/dsc` */\n"
               "#if LV_VERSION_CHECK(8, 2, 0) || LVGL_VERSION_MAJOR >= 9\n    .fallback = NULL,\n#endif\n"
               "    .user_data = NULL,\n};")
        .arg(kernDsc, kerning.isEmpty() ? QStringLiteral("0") : QString::number(kerning.scale))
        .arg(font.cmap.size())
        .arg(font.bpp)
        .arg(kerning.classes ? 1 : 0)
        .arg(int(font.bitmapFormat))
        .arg(symbol)
        .arg(font.ascent - font.descent)
        .arg(-font.descent)
        .arg(font.face.underlinePosition)
        .arg(font.face.underlineThickness);
}

// The reference's check that the font fits LVGL's small descriptor fields.
QString largeFormatGuard(const LvglFont &font, const QString &guard)
{
    bool large = font.bitmapBytes() > 1024 * 1024;
    for (const RasterGlyph &glyph : font.face.glyphs) {
        large = large || glyph.width > 255 || glyph.height > 255 || std::abs(glyph.left) > 127 ||
                std::abs(glyph.bottom) > 127 || roundHalfUp(glyph.advance * 16) > 4096;
    }
    if (!large)
        return QString();
    return QStringLiteral("#if (LV_FONT_FMT_TXT_LARGE == 0)\n#  error \"Too large font or glyphs in %1. Enable "
                          "LV_FONT_FMT_TXT_LARGE in lv_conf.h\")\n#endif\n")
        .arg(guard);
}

} // namespace

QByteArray lvglCSource(const LvglFont &font, const QString &symbol, const QStringList &origin)
{
    const QString guard = symbol.toUpper();
    QString header = QStringLiteral("/*******************************************************************************\n"
                                    " * Size: %1 px\n * Bpp: %2\n")
                         .arg(font.face.size)
                         .arg(font.bpp);
    for (const QString &line : origin)
        header += QStringLiteral(" * %1\n").arg(line);
    header += QStringLiteral(" ******************************************************************************/\n\n");
    const QString body =
        QStringLiteral("#ifdef LV_LVGL_H_INCLUDE_SIMPLE\n#include \"lvgl.h\"\n#else\n#include \"lvgl/lvgl.h\"\n#endif\n\n"
                       "#ifndef %1\n#define %1 1\n#endif\n\n#if %1\n\n%2\n\n%3\n\n%4\n\n%5\n\n%6\n\n#endif /*#if %1*/\n\n")
            .arg(guard, bitmapSection(font), cmapSection(font), kerningSection(font), headSection(font, symbol),
                 largeFormatGuard(font, guard));
    return (header + body).toUtf8();
}
