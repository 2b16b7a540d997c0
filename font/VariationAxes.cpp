#include "font/VariationAxes.h"

#include <QFile>

#include <hb-ot.h>

namespace {

class FaceHandle
{
public:
    explicit FaceHandle(const FontFace &fontFace)
    {
        blob = hb_blob_create_from_file_or_fail(QFile::encodeName(fontFace.path).constData());
        face = blob && fontFace.index >= 0 && unsigned(fontFace.index) < hb_face_count(blob)
                   ? hb_face_create(blob, unsigned(fontFace.index))
                   : nullptr;
    }
    ~FaceHandle()
    {
        hb_face_destroy(face);
        hb_blob_destroy(blob);
    }
    FaceHandle(const FaceHandle &) = delete;
    FaceHandle &operator=(const FaceHandle &) = delete;

    hb_face_t *get() const { return face; }

private:
    hb_blob_t *blob = nullptr;
    hb_face_t *face = nullptr;
};

QString axisName(hb_face_t *face, hb_ot_name_id_t nameId, const QString &tag)
{
    // English first: the tag beside it is Latin too, and every font names its axes in English.
    for (const char *language : {"en", static_cast<const char *>(nullptr)}) {
        char buffer[256];
        unsigned size = sizeof buffer;
        const hb_language_t wanted = language ? hb_language_from_string(language, -1) : HB_LANGUAGE_INVALID;
        if (hb_ot_name_get_utf8(face, nameId, wanted, &size, buffer) > 0 && size > 0)
            return QString::fromUtf8(buffer, int(size));
    }
    return tag;
}

} // namespace

QList<VariationAxis> variationAxes(const FontFace &fontFace)
{
    const FaceHandle handle(fontFace);
    hb_face_t *face = handle.get();
    QList<VariationAxis> axes;
    if (!face || !hb_ot_var_has_data(face))
        return axes;
    const unsigned count = hb_ot_var_get_axis_count(face);
    QList<hb_ot_var_axis_info_t> infos(count);
    unsigned got = count;
    hb_ot_var_get_axis_infos(face, 0, &got, infos.data());
    for (unsigned i = 0; i < got; ++i) {
        const hb_ot_var_axis_info_t &info = infos.at(i);
        char tagText[5] = {};
        hb_tag_to_string(info.tag, tagText);
        VariationAxis axis;
        axis.tag = QString::fromLatin1(tagText, 4);
        axis.name = axisName(face, info.name_id, axis.tag);
        axis.minimum = info.min_value;
        axis.defaultValue = info.default_value;
        axis.maximum = info.max_value;
        axes.append(axis);
    }
    return axes;
}

bool hasCff2Outlines(const FontFace &fontFace)
{
    const FaceHandle handle(fontFace);
    if (!handle.get())
        return false;
    hb_blob_t *table = hb_face_reference_table(handle.get(), HB_TAG('C', 'F', 'F', '2'));
    const bool present = hb_blob_get_length(table) > 0;
    hb_blob_destroy(table);
    return present;
}
