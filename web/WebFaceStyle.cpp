#include "web/WebFaceStyle.h"

#include "font/FontFileCheck.h"

#include <QFile>

#include <hb-ot.h>

#include <cmath>

namespace {

QString nameText(hb_face_t *face, hb_ot_name_id_t id)
{
    // English first: a style sheet is read by people of any language.
    for (const char *language : {static_cast<const char *>("en"), static_cast<const char *>(nullptr)}) {
        char buffer[256];
        unsigned size = sizeof buffer;
        const hb_language_t wanted = language ? hb_language_from_string(language, -1) : HB_LANGUAGE_INVALID;
        if (hb_ot_name_get_utf8(face, id, wanted, &size, buffer) > 0 && size > 0)
            return QString::fromUtf8(buffer, int(size));
    }
    return QString();
}

quint16 readUInt16(const uchar *data)
{
    return quint16(data[0] << 8 | data[1]);
}

} // namespace

WebFaceStyle readWebFaceStyle(const FontFace &face)
{
    WebFaceStyle style;
    style.weight = QStringLiteral("400");
    style.style = QStringLiteral("Regular");
    if (checkFontFile(face.path) != FontFileCheck::Usable)
        return style;
    hb_blob_t *blob = hb_blob_create_from_file_or_fail(QFile::encodeName(face.path).constData());
    hb_face_t *font = hb_face_create(blob ? blob : hb_blob_get_empty(), uint(face.index));

    style.family = nameText(font, HB_OT_NAME_ID_TYPOGRAPHIC_FAMILY);
    if (style.family.isEmpty())
        style.family = nameText(font, HB_OT_NAME_ID_FONT_FAMILY);
    QString subfamily = nameText(font, HB_OT_NAME_ID_TYPOGRAPHIC_SUBFAMILY);
    if (subfamily.isEmpty())
        subfamily = nameText(font, HB_OT_NAME_ID_FONT_SUBFAMILY);
    if (!subfamily.isEmpty())
        style.style = subfamily;

    hb_blob_t *os2 = hb_face_reference_table(font, HB_TAG('O', 'S', '/', '2'));
    unsigned length = 0;
    const auto *data = reinterpret_cast<const uchar *>(hb_blob_get_data(os2, &length));
    if (length >= 64) {
        const int weightClass = readUInt16(data + 4);
        if (weightClass >= 1 && weightClass <= 1000)
            style.weight = QString::number(weightClass);
        style.italic = readUInt16(data + 62) & 1;
    } else {
        hb_blob_t *head = hb_face_reference_table(font, HB_TAG('h', 'e', 'a', 'd'));
        const auto *headData = reinterpret_cast<const uchar *>(hb_blob_get_data(head, &length));
        style.italic = length >= 46 && (readUInt16(headData + 44) & 2);
        hb_blob_destroy(head);
    }
    hb_blob_destroy(os2);

    hb_ot_var_axis_info_t axis;
    if (hb_ot_var_find_axis_info(font, HB_TAG('w', 'g', 'h', 't'), &axis))
        style.weight = QStringLiteral("%1 %2").arg(std::lround(axis.min_value)).arg(std::lround(axis.max_value));
    hb_face_destroy(font);
    hb_blob_destroy(blob);
    return style;
}

QString styleFileNamePart(const QString &style)
{
    QString part;
    for (const QChar unit : style) {
        if (unit.unicode() < 0x80 && unit.isLetterOrNumber())
            part += unit;
        else if (!part.isEmpty() && !part.endsWith(QLatin1Char('-')))
            part += QLatin1Char('-');
    }
    while (part.endsWith(QLatin1Char('-')))
        part.chop(1);
    return part.isEmpty() ? QStringLiteral("Style") : part;
}
