#include "subset/MissingCharacters.h"

#include "common/UiText.h"
#include "font/FontFileState.h"

#include <QFile>

#include <hb.h>

QList<uint> findMissingCodepoints(const FontFace &fontFace, const QList<uint> &requested)
{
    // Qt's font engines are no judge here: they answer a missing U+00A0 with
    // the space's glyph, although hb-subset keeps no U+00A0 the font's map
    // lacks. HarfBuzz's own lookup is what hb-subset goes by.
    QList<uint> missing;
    if (fontFileState(fontFace.path) != FontFileState::RegularFile)
        return missing;
    hb_blob_t *blob = hb_blob_create_from_file_or_fail(QFile::encodeName(fontFace.path).constData());
    hb_face_t *face = hb_face_create(blob, uint(fontFace.index));
    hb_font_t *font = hb_font_create(face);
    if (blob && hb_face_get_glyph_count(face) > 0) {
        for (uint codepoint : requested) {
            hb_codepoint_t glyph = 0;
            if (codepoint >= 0x20 && (!hb_font_get_nominal_glyph(font, codepoint, &glyph) || glyph == 0))
                missing.append(codepoint);
        }
    }
    hb_font_destroy(font);
    hb_face_destroy(face);
    hb_blob_destroy(blob);
    return missing;
}

QString missingCharactersNote(const QList<uint> &missing, int useEnglish)
{
    if (missing.isEmpty())
        return QString();
    QString examples;
    for (uint codepoint : missing) {
        if (examples.size() >= 32)
            break;
        if (codepoint <= 0xFFFF)
            examples.append(QChar(char16_t(codepoint)));
    }
    if (examples.isEmpty())
        examples = QStringLiteral("...");
    return uiText(useEnglish,
                  "Note: %1 requested characters are not present in the source font and will not appear in "
                  "the subset.\nExamples: \"%2\"",
                  "注意：有 %1 个请求的字符在源字库中不存在，将不会出现在生成的字库中。\n示例: \"%2\"")
        .arg(QString::number(missing.size()), examples);
}
