#include "web/SlicingStrategy.h"

#include "charset/CodepointStream.h"
#include "font/FontFileCheck.h"
#include "web/SlicingStrategyData.h"

#include <QFile>
#include <QRegularExpression>

#include <hb-ot.h>

#include <array>

namespace {

bool isStrategy(int index)
{
    return index >= 0 && index < slicingStrategyCount;
}

// From the family name's own words: "Noto Sans CJK SC", "Source Han Sans
// JP", "Sarasa Gothic TC".
bool strategyFromFamily(const QString &family, SlicingStrategy *strategy)
{
    static const QList<std::pair<QRegularExpression, SlicingStrategy>> regions = {
        {QRegularExpression(QStringLiteral("\\b(SC|CN|GB|Hans)\\b")), SlicingStrategy::SimplifiedChinese},
        {QRegularExpression(QStringLiteral("\\b(TC|TW|Hant)\\b")), SlicingStrategy::TraditionalChinese},
        {QRegularExpression(QStringLiteral("\\b(HK)\\b")), SlicingStrategy::HongKongChinese},
        {QRegularExpression(QStringLiteral("\\b(JP|J|Japanese)\\b")), SlicingStrategy::Japanese},
        {QRegularExpression(QStringLiteral("\\b(KR|K|Korean)\\b")), SlicingStrategy::Korean},
    };
    for (const auto &[pattern, region] : regions) {
        if (pattern.match(family).hasMatch()) {
            *strategy = region;
            return true;
        }
    }
    return false;
}

bool strategyFromLanguage(const QString &language, SlicingStrategy *strategy)
{
    if (language == QLatin1String("zh-cn") || language == QLatin1String("zh-sg"))
        *strategy = SlicingStrategy::SimplifiedChinese;
    else if (language == QLatin1String("zh-tw"))
        *strategy = SlicingStrategy::TraditionalChinese;
    else if (language == QLatin1String("zh-hk") || language == QLatin1String("zh-mo"))
        *strategy = SlicingStrategy::HongKongChinese;
    else if (language.startsWith(QLatin1String("ja")))
        *strategy = SlicingStrategy::Japanese;
    else if (language.startsWith(QLatin1String("ko")))
        *strategy = SlicingStrategy::Korean;
    else
        return false;
    return true;
}

// OS/2 ulCodePageRange1 bits 17 to 21; only a face that claims exactly one
// convention says something.
bool strategyFromCodePages(hb_face_t *face, SlicingStrategy *strategy)
{
    hb_blob_t *table = hb_face_reference_table(face, HB_TAG('O', 'S', '/', '2'));
    unsigned length = 0;
    const auto *data = reinterpret_cast<const uchar *>(hb_blob_get_data(table, &length));
    bool found = false;
    if (length >= 82 && (data[0] << 8 | data[1]) >= 1) {
        const quint32 pages = quint32(data[78]) << 24 | quint32(data[79]) << 16 | quint32(data[80]) << 8 | data[81];
        const std::array<std::pair<int, SlicingStrategy>, 5> bits = {{{17, SlicingStrategy::Japanese},
                                                                      {18, SlicingStrategy::SimplifiedChinese},
                                                                      {19, SlicingStrategy::Korean},
                                                                      {20, SlicingStrategy::TraditionalChinese},
                                                                      {21, SlicingStrategy::Korean}}};
        int claimed = 0;
        for (const auto &[bit, region] : bits) {
            if (pages & (1u << bit)) {
                if (claimed == 0 || region != *strategy)
                    ++claimed;
                *strategy = region;
            }
        }
        found = claimed == 1;
    }
    hb_blob_destroy(table);
    return found;
}

QString nameText(hb_face_t *face, hb_ot_name_id_t id, hb_language_t language)
{
    char buffer[256];
    unsigned size = sizeof buffer;
    if (hb_ot_name_get_utf8(face, id, language, &size, buffer) == 0)
        return QString();
    return QString::fromUtf8(buffer, int(size));
}

} // namespace

QStringList slicingStrategyIds()
{
    QStringList ids;
    for (const SlicingStrategyTable &table : slicingStrategyTables)
        ids.append(QLatin1String(table.id));
    return ids;
}

bool slicingStrategyFromId(const QString &id, SlicingStrategy *strategy)
{
    const int index = int(slicingStrategyIds().indexOf(id.toLower()));
    if (!isStrategy(index))
        return false;
    *strategy = SlicingStrategy(index);
    return true;
}

QString slicingStrategyId(SlicingStrategy strategy)
{
    return QLatin1String(slicingStrategyTables[int(strategy)].id);
}

const QList<QList<uint>> &strategySlices(SlicingStrategy strategy)
{
    // Decoded once, on first use: each table is about 17,000 code points.
    static const std::array<QList<QList<uint>>, slicingStrategyCount> decoded = [] {
        std::array<QList<QList<uint>>, slicingStrategyCount> all;
        for (int index = 0; index < slicingStrategyCount; ++index) {
            const SlicingStrategyTable &table = slicingStrategyTables[index];
            const QList<uint> codepoints = decodeCodepointStream(table.encoded, table.count);
            qsizetype start = 0;
            for (int slice = 0; slice < table.sliceCount; ++slice) {
                all[index].append(codepoints.mid(start, table.sliceSizes[slice]));
                start += table.sliceSizes[slice];
            }
        }
        return all;
    }();
    return decoded[int(strategy)];
}

SlicingStrategy strategyForFace(const FontFace &face)
{
    SlicingStrategy strategy = SlicingStrategy::SimplifiedChinese;
    if (checkFontFile(face.path) != FontFileCheck::Usable)
        return strategy;
    hb_blob_t *blob = hb_blob_create_from_file_or_fail(QFile::encodeName(face.path).constData());
    hb_face_t *font = hb_face_create(blob ? blob : hb_blob_get_empty(), uint(face.index));
    const hb_language_t english = hb_language_from_string("en", -1);
    bool found = false;
    for (hb_ot_name_id_t id : {HB_OT_NAME_ID_TYPOGRAPHIC_FAMILY, HB_OT_NAME_ID_FONT_FAMILY}) {
        if (!found)
            found = strategyFromFamily(nameText(font, id, english), &strategy);
    }
    unsigned count = 0;
    const hb_ot_name_entry_t *entries = hb_ot_name_list_names(font, &count);
    for (unsigned i = 0; !found && i < count; ++i) {
        if (entries[i].name_id == HB_OT_NAME_ID_FONT_FAMILY ||
            entries[i].name_id == HB_OT_NAME_ID_TYPOGRAPHIC_FAMILY)
            found = strategyFromLanguage(QLatin1String(hb_language_to_string(entries[i].language)), &strategy);
    }
    if (!found)
        strategyFromCodePages(font, &strategy);
    hb_face_destroy(font);
    hb_blob_destroy(blob);
    return strategy;
}

bool isCjkPunctuation(uint codepoint)
{
    static const std::array<std::pair<uint, uint>, 9> ranges = {{
        {0x00B7, 0x00B7}, // middle dot
        {0x2010, 0x2027}, // dashes, curly quotes, the two-dot leader and the ellipsis
        {0x2030, 0x203B}, // per mille, primes, guillemets, the reference mark
        {0x3000, 0x303F}, // CJK Symbols and Punctuation
        {0x30FB, 0x30FC}, // katakana middle dot, prolonged sound mark
        {0xFE10, 0xFE1F}, // vertical forms
        {0xFE30, 0xFE4F}, // CJK compatibility forms
        {0xFE50, 0xFE6F}, // small form variants
        {0xFF00, 0xFFEF}, // halfwidth and fullwidth forms
    }};
    for (const auto &[first, last] : ranges) {
        if (codepoint >= first && codepoint <= last)
            return true;
    }
    return false;
}
