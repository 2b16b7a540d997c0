#include "font/FontFaceList.h"

#include "common/UiText.h"
#include "font/FontFileCheck.h"

#include <QFile>

#include <hb-ot.h>
#include <hb.h>

namespace {

// How well a name's language suits the window: lower is better.
int languageRank(const char *language)
{
    const QByteArray tag = QByteArray(language ? language : "").toLower();
    const bool english = tag == "en" || tag.startsWith("en-");
    if (uiEnglish())
        return english ? 0 : 4;
    // Simplified Chinese first, then any other Chinese.
    if (tag == "zh-cn" || tag == "zh-sg" || tag.startsWith("zh-hans"))
        return 0;
    if (tag == "zh" || tag.startsWith("zh-"))
        return 1;
    return english ? 2 : 4;
}

struct Name
{
    QString text;
    int rank = 5; // of its language; 5 when the font has no such name
};

Name nameOf(hb_face_t *face, hb_ot_name_id_t id)
{
    unsigned int count = 0;
    const hb_ot_name_entry_t *entries = hb_ot_name_list_names(face, &count);
    hb_language_t best = HB_LANGUAGE_INVALID;
    int bestRank = 5;
    for (unsigned int i = 0; i < count; ++i) {
        if (entries[i].name_id != id)
            continue;
        const int rank = languageRank(hb_language_to_string(entries[i].language));
        if (rank < bestRank) {
            bestRank = rank;
            best = entries[i].language;
        }
    }
    if (bestRank == 5)
        return Name();
    unsigned int length = hb_ot_name_get_utf16(face, id, best, nullptr, nullptr);
    QList<uint16_t> text(length + 1, 0);
    length = text.size();
    hb_ot_name_get_utf16(face, id, best, &length, text.data());
    return {QString::fromUtf16(reinterpret_cast<const char16_t *>(text.constData()), length).trimmed(),
            bestRank};
}

// The name in the window's language first; between two in the same
// language the typographic one, which keeps "Bold" out of the family as a
// person would say it.
QString preferredNameOf(hb_face_t *face, hb_ot_name_id_t typographic, hb_ot_name_id_t legacy)
{
    const Name preferred = nameOf(face, typographic);
    const Name plain = nameOf(face, legacy);
    return plain.rank < preferred.rank ? plain.text : preferred.text;
}

} // namespace

FontFaceList listFontFaces(const QString &path)
{
    FontFaceList list;
    // An impossible collection header is still read for what it claims, so
    // the message can say so; nothing but a regular file is ever opened.
    const FontFileCheck check = checkFontFile(path);
    if (check == FontFileCheck::Missing || check == FontFileCheck::NotAFile)
        return list;
    hb_blob_t *blob = hb_blob_create_from_file_or_fail(QFile::encodeName(path).constData());
    if (!blob)
        return list;
    unsigned int length = 0;
    const char *data = hb_blob_get_data(blob, &length);
    list.collection = length >= 4 && QByteArray::fromRawData(data, 4) == "ttcf";
    // HarfBuzz answers 0 for a collection whose offset table does not fit
    // the file, and for one whose count is too absurd to check.
    list.claimedFaces = int(qMin(hb_face_count(blob), 0x7fffffffu));
    if (list.claimedFaces == 0) {
        list.status =
            list.collection ? FontFaceList::Status::DamagedCollection : FontFaceList::Status::NotAFont;
    } else if (list.claimedFaces > int(mostCollectionFaces)) {
        list.status = FontFaceList::Status::TooManyFaces;
    } else if (check != FontFileCheck::Usable) {
        list.status = FontFaceList::Status::DamagedCollection;
    } else {
        list.status = FontFaceList::Status::Listed;
        for (int index = 0; index < list.claimedFaces; ++index) {
            hb_face_t *face = hb_face_create(blob, unsigned(index));
            FontFaceList::Face names;
            names.readable = hb_face_get_glyph_count(face) > 0;
            names.family = preferredNameOf(face, HB_OT_NAME_ID_TYPOGRAPHIC_FAMILY, HB_OT_NAME_ID_FONT_FAMILY);
            names.style =
                preferredNameOf(face, HB_OT_NAME_ID_TYPOGRAPHIC_SUBFAMILY, HB_OT_NAME_ID_FONT_SUBFAMILY);
            names.postScriptName = nameOf(face, HB_OT_NAME_ID_POSTSCRIPT_NAME).text;
            list.faces.append(names);
            hb_face_destroy(face);
        }
    }
    hb_blob_destroy(blob);
    return list;
}

QString fontFaceLabel(int index, const FontFaceList::Face &face)
{
    if (face.family.isEmpty())
        return uiText("%1: face %1", "%1: 字体 %1").arg(index);
    const QString name = face.style.isEmpty() ? face.family : face.family + QLatin1Char(' ') + face.style;
    return QStringLiteral("%1: %2").arg(QString::number(index), name);
}

QString faceIndexProblem(const FontFace &face, const FontFaceList &list)
{
    const int faces = int(list.faces.size());
    if (face.index == 0 || (list.status == FontFaceList::Status::Listed && face.index < faces))
        return QString();
    if (face.index < 0)
        return uiText("Face index %1 is negative: faces are counted from 0.",
                      "字体序号 %1 为负数：序号从 0 开始。")
            .arg(face.index);
    if (faces == 0)
        return uiText("There is no face %1 in %2: it holds no font that can be read.",
                      "%2 中没有第 %1 号字体：该文件不含可读取的字体。")
            .arg(QString::number(face.index), face.path);
    if (faces == 1)
        return uiText("There is no face %1 in %2: the file holds a single face, 0.",
                      "%2 中没有第 %1 号字体：该文件只有一个字体（0 号）。")
            .arg(QString::number(face.index), face.path);
    return uiText("There is no face %1 in %2: the file holds %3 faces, 0 to %4.",
                  "%2 中没有第 %1 号字体：该文件共有 %3 个字体（0 到 %4 号）。")
        .arg(QString::number(face.index), face.path, QString::number(faces), QString::number(faces - 1));
}

QString fontFaceProblem(const FontFace &face)
{
    const FontFaceList list = listFontFaces(face.path);
    switch (list.status) {
    case FontFaceList::Status::DamagedCollection:
        return uiText("%1 is a damaged font collection: its header or offset table cannot be read.",
                      "%1 是损坏的字体集合：无法读取其文件头或偏移表。")
            .arg(face.path);
    case FontFaceList::Status::TooManyFaces:
        return uiText("%1 claims to hold %2 faces; a collection of more than 1,000 faces is taken for a "
                      "damaged file.",
                      "%1 声称包含 %2 个字体；超过 1000 个字体的集合被视为损坏的文件。")
            .arg(face.path, QString::number(list.claimedFaces));
    case FontFaceList::Status::NotAFont:
        // A file that is no font keeps its old road: hb-subset says why.
        if (face.index == 0)
            return QString();
        break;
    case FontFaceList::Status::Listed:
        break;
    }
    const QString indexProblem = faceIndexProblem(face, list);
    if (!indexProblem.isEmpty())
        return indexProblem;
    if (list.collection && !list.faces.at(face.index).readable)
        return uiText("Face %1 of %2 is damaged: its tables lie outside the file.",
                      "%2 的第 %1 号字体已损坏：其数据表超出了文件范围。")
            .arg(QString::number(face.index), face.path);
    return QString();
}
