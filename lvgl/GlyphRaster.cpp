#include "lvgl/GlyphRaster.h"

#include "common/UiText.h"
#include "lvgl/LvglFont.h"

#include <QtConcurrent>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_MULTIPLE_MASTERS_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H

#include <cmath>

namespace {

// One library and face per thread: FreeType objects are not shared.
class FreeTypeFace
{
public:
    FreeTypeFace(const QByteArray &file, int index, int size, const AxisValues &axes)
    {
        if (FT_Init_FreeType(&library) != 0)
            return;
        if (FT_New_Memory_Face(library, reinterpret_cast<const FT_Byte *>(file.constData()), file.size(), index,
                               &face) != 0) {
            face = nullptr;
            return;
        }
        // The reference sets the size twice, and the second call decides.
        if (FT_IS_SCALABLE(face))
            FT_Set_Pixel_Sizes(face, 0, FT_UInt(size));
        if (!axes.isEmpty())
            setInstance(axes);
    }
    ~FreeTypeFace()
    {
        if (face)
            FT_Done_Face(face);
        if (library)
            FT_Done_FreeType(library);
    }
    FreeTypeFace(const FreeTypeFace &) = delete;
    FreeTypeFace &operator=(const FreeTypeFace &) = delete;

    FT_Library library = nullptr;
    FT_Face face = nullptr;

private:
    void setInstance(const AxisValues &axes)
    {
        FT_MM_Var *variations = nullptr;
        if (!FT_HAS_MULTIPLE_MASTERS(face) || FT_Get_MM_Var(face, &variations) != 0)
            return;
        QList<FT_Fixed> coordinates;
        for (FT_UInt i = 0; i < variations->num_axis; ++i) {
            const FT_Var_Axis &axis = variations->axis[i];
            FT_Fixed value = axis.def;
            for (const auto &[tag, pinned] : axes) {
                const QByteArray name = tag.toLatin1().leftJustified(4, ' ');
                if (FT_MAKE_TAG(name[0], name[1], name[2], name[3]) == axis.tag)
                    value = FT_Fixed(pinned * 65536.0);
            }
            coordinates.append(value);
        }
        FT_Set_Var_Design_Coordinates(face, variations->num_axis, coordinates.data());
        FT_Done_MM_Var(library, variations);
    }
};

QByteArray sfntTable(FT_Face face, FT_ULong tag)
{
    FT_ULong length = 0;
    if (FT_Load_Sfnt_Table(face, tag, 0, nullptr, &length) != 0 || length == 0)
        return QByteArray();
    QByteArray bytes(qsizetype(length), Qt::Uninitialized);
    if (FT_Load_Sfnt_Table(face, tag, 0, reinterpret_cast<FT_Byte *>(bytes.data()), &length) != 0)
        return QByteArray();
    return bytes;
}

FT_Int32 loadFlags(const LvglOptions &options)
{
    FT_Int32 flags = FT_LOAD_RENDER;
    flags |= options.bpp == 1 ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_LIGHT;
    flags |= options.hinting ? FT_LOAD_FORCE_AUTOHINT : FT_LOAD_NO_AUTOHINT;
    return flags;
}

bool renderGlyph(FT_Face face, FT_Int32 flags, RasterGlyph *glyph)
{
    if (FT_Load_Glyph(face, glyph->glyphIndex, flags) != 0)
        return false;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap &bitmap = slot->bitmap;
    glyph->advance = double(slot->linearHoriAdvance) / 65536.0;
    glyph->width = int(bitmap.width);
    glyph->height = int(bitmap.rows);
    glyph->left = slot->bitmap_left;
    glyph->bottom = slot->bitmap_top - glyph->height;
    glyph->coverage = QByteArray(qsizetype(glyph->width) * glyph->height, Qt::Uninitialized);
    const int pitch = std::abs(bitmap.pitch);
    auto *out = reinterpret_cast<uchar *>(glyph->coverage.data());
    for (int y = 0; y < glyph->height; ++y) {
        const uchar *row = bitmap.buffer + qsizetype(y) * pitch;
        for (int x = 0; x < glyph->width; ++x) {
            if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
                *out++ = (row[x / 8] & (0x80 >> (x % 8))) ? 255 : 0;
            else
                *out++ = row[x];
        }
    }
    return true;
}

// Renders `glyphs[begin, end)` with a face of its own. The glyph it stopped
// at, or -1 when it rendered all.
qsizetype renderRange(const QByteArray &file, int faceIndex, const LvglOptions &options, const AxisValues &axes,
                      RasterGlyph *glyphs, qsizetype begin, qsizetype end, const std::atomic<bool> *stop)
{
    FreeTypeFace ft(file, faceIndex, options.size, axes);
    const FT_Int32 flags = loadFlags(options);
    for (qsizetype i = begin; i < end; ++i) {
        if (!ft.face || (stop && *stop) || !renderGlyph(ft.face, flags, glyphs + i))
            return i;
    }
    return -1;
}

} // namespace

bool rasterizeFace(const QByteArray &file, int faceIndex, const QList<uint> &codepoints,
                   const LvglOptions &options, RasterFace *result, QString *error, const std::atomic<bool> *stop,
                   const AxisValues &axes)
{
    FreeTypeFace ft(file, faceIndex, options.size, axes);
    if (!ft.face) {
        *error = uiText("FreeType cannot read face %1 of this font.", "FreeType 无法读取此字体的第 %1 个字体。")
                     .arg(faceIndex);
        return false;
    }
    if (!FT_IS_SCALABLE(ft.face) || !FT_IS_SFNT(ft.face)) {
        *error = uiText("This face has no outlines (a bitmap-only font) and cannot be rasterized.",
                        "此字体没有轮廓（仅含点阵），无法栅格化。");
        return false;
    }
    RasterFace face;
    face.size = options.size;
    face.family = QString::fromUtf8(ft.face->family_name ? ft.face->family_name : "");
    face.unitsPerEm = ft.face->units_per_EM;
    const double scale = double(options.size) / face.unitsPerEm;
    if (const auto *os2 = static_cast<const TT_OS2 *>(FT_Get_Sfnt_Table(ft.face, FT_SFNT_OS2))) {
        face.typoAscent = roundHalfUp(os2->sTypoAscender * scale);
        face.typoDescent = roundHalfUp(os2->sTypoDescender * scale);
        face.typoLineGap = roundHalfUp(os2->sTypoLineGap * scale);
    }
    if (const auto *post = static_cast<const TT_Postscript *>(FT_Get_Sfnt_Table(ft.face, FT_SFNT_POST))) {
        face.underlinePosition = roundHalfUp(post->underlinePosition * scale);
        face.underlineThickness = roundHalfUp(post->underlineThickness * scale);
    }
    face.gposTable = sfntTable(ft.face, TTAG_GPOS);
    face.kernTable = sfntTable(ft.face, TTAG_kern);
    for (uint code : codepoints) {
        const FT_UInt index = FT_Get_Char_Index(ft.face, code);
        if (index == 0)
            continue;
        RasterGlyph glyph;
        glyph.code = code;
        glyph.glyphIndex = index;
        face.glyphs.append(glyph);
    }

    // Rendering is nearly all of the time: each thread renders a slice with
    // a face of its own.
    const qsizetype count = face.glyphs.size();
    const int slices = count < 256 ? 1 : qMax(1, QThreadPool::globalInstance()->maxThreadCount());
    RasterGlyph *glyphs = face.glyphs.data();
    QList<QFuture<qsizetype>> runs;
    for (int s = 1; s < slices; ++s) {
        const qsizetype begin = count * s / slices, end = count * (s + 1) / slices;
        runs.append(QtConcurrent::run(
            [&, begin, end] { return renderRange(file, faceIndex, options, axes, glyphs, begin, end, stop); }));
    }
    qsizetype failed = renderRange(file, faceIndex, options, axes, glyphs, 0, count / slices, stop);
    for (QFuture<qsizetype> &run : runs) {
        const qsizetype stoppedAt = run.result(); // every slice ends before the glyphs go
        failed = failed < 0 ? stoppedAt : failed;
    }
    if (failed >= 0) {
        *error = uiText("FreeType could not rasterize U+%1 of this face.", "FreeType 无法栅格化此字体的 U+%1。")
                     .arg(QString::number(face.glyphs[failed].code, 16).toUpper().rightJustified(4, QLatin1Char('0')));
        return false;
    }
    *result = std::move(face);
    return true;
}
