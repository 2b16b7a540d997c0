#include "subset/SubsetCheck.h"

#include "common/UiText.h"
#include "font/FontFileCheck.h"
#include "subset/OtsSanitizer.h"
#include "subset/SubsetRequest.h"

#include <QFile>

#include <hb.h>

#include <algorithm>

namespace {

// One face of a font file as HarfBuzz reads it; an unreadable file gives an
// empty face, which holds no table and maps nothing.
class HbFontFile
{
public:
    HbFontFile(const QString &path, int faceIndex)
        : blob(hb_blob_create_from_file_or_fail(QFile::encodeName(path).constData())),
          face(hb_face_create(blob ? blob : hb_blob_get_empty(), uint(faceIndex))),
          font(hb_font_create(face)),
          glyphCount(hb_face_get_glyph_count(face))
    {}
    ~HbFontFile()
    {
        hb_font_destroy(font);
        hb_face_destroy(face);
        hb_blob_destroy(blob);
    }
    HbFontFile(const HbFontFile &) = delete;
    HbFontFile &operator=(const HbFontFile &) = delete;

    bool isFont() const { return blob && hb_face_count(blob) > 0; }

    bool hasTable(const char *tag) const
    {
        hb_blob_t *table = hb_face_reference_table(face, hb_tag_from_string(tag, -1));
        const bool present = hb_blob_get_length(table) > 0;
        hb_blob_destroy(table);
        return present;
    }

    bool mapsToGlyph(hb_codepoint_t codepoint) const
    {
        hb_codepoint_t glyph = 0;
        return hb_font_get_nominal_glyph(font, codepoint, &glyph) && glyph != 0 && glyph < glyphCount;
    }

    QList<uint> mappedCodepoints() const
    {
        hb_set_t *set = hb_set_create();
        hb_face_collect_unicodes(face, set);
        QList<uint> mapped;
        for (hb_codepoint_t codepoint = HB_SET_VALUE_INVALID; hb_set_next(set, &codepoint);) {
            if (mapsToGlyph(codepoint))
                mapped.append(codepoint);
        }
        hb_set_destroy(set);
        return mapped;
    }

private:
    hb_blob_t *blob;
    hb_face_t *face;
    hb_font_t *font;
    unsigned glyphCount;
};

// What a browser, a word processor and the program's own font reader each
// refuse to do without.
constexpr const char *requiredTables[] = {"head", "hhea", "maxp", "hmtx", "cmap", "name", "OS/2", "post"};

} // namespace

QString subsetFontDefect(const FontFace &source, const QList<uint> &requested, const QString &subsetPath,
                         int useEnglish)
{
    const bool regularFile = checkFontFile(subsetPath) == FontFileCheck::Usable;
    const HbFontFile subset(regularFile ? subsetPath : QString(), 0);
    if (!subset.isFont())
        return uiText(useEnglish, "not an OpenType font", "不是 OpenType 字库");
    for (const char *tag : requiredTables) {
        if (!subset.hasTable(tag))
            return uiText(useEnglish, "no %1 table", "缺少 %1 表").arg(QLatin1String(tag));
    }
    if (!(subset.hasTable("glyf") && subset.hasTable("loca")) && !subset.hasTable("CFF ") &&
        !subset.hasTable("CFF2"))
        return uiText(useEnglish, "no glyph outlines", "缺少字形轮廓");

    // The source is read once more for the comparison, under the same rule
    // as every other opening of a font.
    if (checkFontFile(source.path) != FontFileCheck::Usable)
        return uiText(useEnglish, "the source font could not be read again", "无法再次读取源字库");
    const HbFontFile original(source.path, source.index);
    qsizetype lost = 0;
    for (uint codepoint : requested) {
        if (original.mapsToGlyph(codepoint) && !subset.mapsToGlyph(codepoint))
            ++lost;
    }
    if (lost > 0)
        return uiText(useEnglish, "%1 requested characters lost", "%1 个请求的字符丢失").arg(lost);
    qsizetype extra = 0;
    for (uint codepoint : subset.mappedCodepoints()) {
        if (!std::binary_search(requested.cbegin(), requested.cend(), codepoint) ||
            !original.mapsToGlyph(codepoint))
            ++extra;
    }
    if (extra > 0)
        return uiText(useEnglish, "%1 characters that were not requested", "多出 %1 个未请求的字符")
            .arg(extra);
    return QString();
}

QString subsetDamageMessage(const SubsetRequest &request, const QString &defect)
{
    if (defect.isEmpty())
        return QString();
    return uiText(request.useEnglish,
                  "The subset is not a usable font (%1). The source font may be damaged: %2",
                  "生成的子集不是可用的字库（%1）。源字库可能已损坏: %2")
        .arg(defect, request.face.path);
}

QString subsetOutputProblem(const SubsetRequest &request, const QString &subsetPath,
                            const std::atomic<bool> *stop)
{
    SanitizerRun sanitizer(subsetPath);
    QString defect = subsetFontDefect(request.face, request.codepoints, subsetPath, request.useEnglish);
    if (defect.isEmpty())
        defect = sanitizer.defect(request.useEnglish, sanitizerTimeoutMs, stop);
    return subsetDamageMessage(request, defect);
}
