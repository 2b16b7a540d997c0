#include "subset/SubsetCheck.h"

#include "common/UiText.h"
#include "font/FontFileCheck.h"
#include "subset/SubsetRequest.h"

#include <QFile>

#include <hb.h>

#include <algorithm>
#include <iterator>

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

    // Of `candidates` (ascending), those this face maps to a real glyph.
    QList<uint> mappedAmong(const QList<uint> &candidates) const
    {
        QList<uint> mapped;
        for (uint codepoint : candidates) {
            if (mapsToGlyph(codepoint))
                mapped.append(codepoint);
        }
        return mapped;
    }

    // Every code point this face maps to a real glyph, ascending.
    QList<uint> mappedCodepoints() const { return mappedAmong(cmapCodepoints()); }

    // Those of `requested` (ascending) this face maps to a real glyph. A cmap
    // holds about one entry per glyph: a request longer than that is matched
    // against the cmap's own entries, which takes fewer look-ups.
    QList<uint> mappedOf(const QList<uint> &requested) const
    {
        if (requested.size() <= qsizetype(glyphCount))
            return mappedAmong(requested);
        const QList<uint> entries = cmapCodepoints();
        QList<uint> wanted;
        std::set_intersection(entries.cbegin(), entries.cend(), requested.cbegin(), requested.cend(),
                              std::back_inserter(wanted));
        return mappedAmong(wanted);
    }

private:
    QList<uint> cmapCodepoints() const
    {
        hb_set_t *set = hb_set_create();
        hb_face_collect_unicodes(face, set);
        QList<uint> entries;
        entries.reserve(qsizetype(hb_set_get_population(set)));
        for (hb_codepoint_t codepoint = HB_SET_VALUE_INVALID; hb_set_next(set, &codepoint);)
            entries.append(codepoint);
        hb_set_destroy(set);
        return entries;
    }

    hb_blob_t *blob;
    hb_face_t *face;
    hb_font_t *font;
    unsigned glyphCount;
};

} // namespace

QString subsetFontDefect(const FontFace &source, const QList<uint> &requested, const QString &subsetPath)
{
    const bool regularFile = checkFontFile(subsetPath) == FontFileCheck::Usable;
    const HbFontFile subset(regularFile ? subsetPath : QString(), 0);
    if (!subset.isFont())
        return uiText("not an OpenType font", "不是 OpenType 字库");
    for (const char *tag : requiredFontTables) {
        if (!subset.hasTable(tag))
            return uiText("no %1 table", "缺少 %1 表").arg(QLatin1String(tag));
    }
    if (!(subset.hasTable("glyf") && subset.hasTable("loca")) && !subset.hasTable("CFF ") &&
        !subset.hasTable("CFF2"))
        return uiText("no glyph outlines", "缺少字形轮廓");

    // The source is read once more for the comparison, under the same rule
    // as every other opening of a font.
    if (checkFontFile(source.path) != FontFileCheck::Usable)
        return uiText("the source font could not be read again", "无法再次读取源字库");
    const HbFontFile original(source.path, source.index);
    // What the subset must map, and what it does; both ascending.
    const QList<uint> expected = original.mappedOf(requested);
    const QList<uint> kept = subset.mappedCodepoints();
    // A code point missing from the subset's cmap entries may still be
    // mapped (a symbol font's cmap maps U+0041 through U+F041): only those
    // few are looked up.
    QList<uint> notListed;
    std::set_difference(expected.cbegin(), expected.cend(), kept.cbegin(), kept.cend(),
                        std::back_inserter(notListed));
    const qsizetype lost = std::count_if(notListed.cbegin(), notListed.cend(), [&subset](uint codepoint) {
        return !subset.mapsToGlyph(codepoint);
    });
    if (lost > 0)
        return uiText("%1 requested characters lost", "%1 个请求的字符丢失").arg(lost);
    QList<uint> extra;
    std::set_difference(kept.cbegin(), kept.cend(), expected.cbegin(), expected.cend(),
                        std::back_inserter(extra));
    if (!extra.isEmpty())
        return uiText("%1 characters that were not requested", "多出 %1 个未请求的字符").arg(extra.size());
    return QString();
}

QString subsetDamageMessage(const SubsetRequest &request, const QString &defect)
{
    if (defect.isEmpty())
        return QString();
    return uiText("The subset is not a usable font (%1). The source font may be damaged: %2",
                  "生成的子集不是可用的字库（%1）。源字库可能已损坏: %2")
        .arg(defect, request.face.path);
}
