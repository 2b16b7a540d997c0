#include "subset/MissingCharacters.h"

#include "app/UiText.h"

#include <QList>
#include <QRawFont>

#include <algorithm>

namespace {

// The lookup of one code point on its own. The string is built unit by unit
// for the BMP: QString::fromUcs4 would drop a U+FEFF as a byte-order mark and
// report it missing from every font that has it.
bool lacksGlyph(const QRawFont &font, uint codepoint)
{
    const QString single = codepoint <= 0xFFFF
                               ? QString(QChar(char16_t(codepoint)))
                               : QString::fromUcs4(reinterpret_cast<const char32_t *>(&codepoint), 1);
    const QList<quint32> glyphs = font.glyphIndexesForString(single);
    return glyphs.isEmpty() || glyphs.first() == 0;
}

// Code points whose one-character string is that one UTF-16 unit and looks
// the same when it stands among others. Not so: surrogate values (two of them
// side by side would pair up) and code points above U+FFFF (two units).
bool standsAlone(uint codepoint)
{
    return codepoint <= 0xFFFF && !QChar::isSurrogate(codepoint);
}

} // namespace

QSet<uint> findMissingCodepoints(const QString &fontPath, const QSet<uint> &requested, bool *fontOpened)
{
    QSet<uint> missing;
    const QRawFont font(fontPath, 16.0, QFont::PreferDefaultHinting);
    if (fontOpened)
        *fontOpened = font.isValid();
    if (!font.isValid())
        return missing;

    // A checked block asks for tens of thousands of code points; one lookup
    // over a string of them all costs little more than half of one lookup
    // each, with the same answer for every code point.
    QString batch;
    QList<uint> batched;
    batch.reserve(requested.size());
    batched.reserve(requested.size());
    for (uint codepoint : requested) {
        if (codepoint < 0x20)
            continue;
        if (standsAlone(codepoint)) {
            batch.append(QChar(char16_t(codepoint)));
            batched.append(codepoint);
        } else if (lacksGlyph(font, codepoint)) {
            missing.insert(codepoint);
        }
    }
    const QList<quint32> glyphs = font.glyphIndexesForString(batch);
    const bool oneGlyphEach = glyphs.size() == batched.size();
    for (qsizetype i = 0; i < batched.size(); ++i) {
        const uint codepoint = batched.at(i);
        if (oneGlyphEach ? glyphs.at(i) == 0 : lacksGlyph(font, codepoint))
            missing.insert(codepoint);
    }
    return missing;
}

QString missingCharactersNote(const QSet<uint> &missing, int useEnglish)
{
    if (missing.isEmpty())
        return QString();
    QList<uint> sorted = missing.values();
    std::sort(sorted.begin(), sorted.end());
    QString examples;
    for (uint codepoint : sorted) {
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
