#include "subset/SubsetFontFacts.h"

#include <hb-ot.h>
#include <hb.h>

#include <memory>

namespace {

QString englishName(hb_face_t *face, hb_ot_name_id_t id)
{
    const hb_language_t english = hb_language_from_string("en", -1);
    unsigned int size = hb_ot_name_get_utf8(face, id, english, nullptr, nullptr) + 1;
    if (size <= 1)
        return QString();
    QByteArray text(int(size), '\0');
    hb_ot_name_get_utf8(face, id, english, &size, text.data());
    return QString::fromUtf8(text.constData(), int(size));
}

} // namespace

SubsetFontFacts readSubsetFontFacts(const QByteArray &font)
{
    SubsetFontFacts facts;
    // The blob borrows the bytes, which outlive every use of the face below.
    std::unique_ptr<hb_blob_t, decltype(&hb_blob_destroy)> blob(
        hb_blob_create(font.constData(), unsigned(font.size()), HB_MEMORY_MODE_READONLY, nullptr, nullptr),
        hb_blob_destroy);
    std::unique_ptr<hb_face_t, decltype(&hb_face_destroy)> face(hb_face_create(blob.get(), 0),
                                                                hb_face_destroy);
    facts.glyphs = int(hb_face_get_glyph_count(face.get()));
    if (facts.glyphs == 0)
        return facts;
    facts.read = true;

    std::unique_ptr<hb_set_t, decltype(&hb_set_destroy)> unicodes(hb_set_create(), hb_set_destroy);
    hb_face_collect_unicodes(face.get(), unicodes.get());
    facts.codepoints.reserve(int(hb_set_get_population(unicodes.get())));
    hb_codepoint_t codepoint = HB_SET_VALUE_INVALID;
    while (hb_set_next(unicodes.get(), &codepoint))
        facts.codepoints.append(codepoint);

    facts.family = englishName(face.get(), HB_OT_NAME_ID_TYPOGRAPHIC_FAMILY);
    if (facts.family.isEmpty())
        facts.family = englishName(face.get(), HB_OT_NAME_ID_FONT_FAMILY);
    return facts;
}
