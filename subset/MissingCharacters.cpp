#include "subset/MissingCharacters.h"

#include "charset/TextCharacters.h"
#include "charset/UnicodeBlockTable.h"
#include "common/UiText.h"
#include "font/FontCharacterMap.h"

QList<uint> findMissingCodepoints(const FontFace &fontFace, const QList<uint> &requested)
{
    QList<uint> missing;
    const FontCharacterMap map(fontFace);
    if (!map.isValid())
        return missing;
    for (uint codepoint : requested) {
        if (isKeptCharacter(codepoint) && !map.hasGlyph(codepoint))
            missing.append(codepoint);
    }
    return missing;
}

namespace {

// Whether a character shows as something a person can recognise on screen
// or in a terminal. Controls (U+009B even starts a terminal command),
// format characters, separators, private and unassigned code points do not.
bool isVisible(uint codepoint)
{
    switch (QChar::category(char32_t(codepoint))) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_PrivateUse:
    case QChar::Other_NotAssigned:
    case QChar::Separator_Space:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return false;
    default:
        return true;
    }
}

QString characterText(uint codepoint)
{
    return QString::fromUcs4(reinterpret_cast<const char32_t *>(&codepoint), 1);
}

} // namespace

QString missingCharactersNote(const QList<uint> &missing)
{
    if (missing.isEmpty())
        return QString();
    // Examples are shown as themselves only where that is a character one can
    // see (and, in the short note, within U+FFFF); the rest by their number.
    QString examples;
    bool spaceNeeded = false;
    for (qsizetype i = 0; i < missing.size() && i < 32; ++i) {
        const uint codepoint = missing.at(i);
        if (codepoint <= 0xFFFF && isVisible(codepoint)) {
            if (spaceNeeded)
                examples.append(QLatin1Char(' '));
            examples.append(QChar(char16_t(codepoint)));
            spaceNeeded = false;
        } else {
            if (!examples.isEmpty())
                examples.append(QLatin1Char(' '));
            examples.append(codepointText(codepoint));
            spaceNeeded = true;
        }
    }
    return uiText("Note: %1 requested characters are not present in the source font and will not appear in "
                  "the subset.\nExamples: \"%2\"",
                  "注意：有 %1 个请求的字符在源字库中不存在，将不会出现在生成的字库中。\n示例: \"%2\"")
        .arg(QString::number(missing.size()), examples);
}

QStringList missingCharactersList(const QList<uint> &missing)
{
    QStringList lines;
    lines.reserve(missing.size());
    for (uint codepoint : missing) {
        QString line = codepointText(codepoint);
        if (isVisible(codepoint))
            line += QLatin1Char(' ') + characterText(codepoint);
        lines.append(line);
    }
    return lines;
}
