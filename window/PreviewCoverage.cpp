#include "window/PreviewCoverage.h"

#include "charset/TextCharacters.h"
#include "common/UiText.h"
#include "font/FontFileCheck.h"
#include "window/ApplicationFontRegistration.h"
#include "window/FaceRawFont.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QRawFont>

#include <optional>

namespace {

PreviewCoverage nothingShown(PreviewCoverage::Status status, const QFont &baseFont)
{
    PreviewCoverage coverage;
    coverage.status = status;
    coverage.font = baseFont;
    return coverage;
}

// Not QString::fromUcs4: it takes a leading U+FEFF for a byte-order mark and
// drops it, which would make the font seem to lack that character.
QString characterText(char32_t character)
{
    return QStringView(QChar::fromUcs4(character)).toString();
}

bool rawFontHasGlyph(const QRawFont &font, char32_t character)
{
    const QList<quint32> glyphs = font.glyphIndexesForString(characterText(character));
    return !glyphs.isEmpty() && glyphs.first() != 0;
}

} // namespace

PreviewCoverage checkPreviewCoverage(const FontFace &face, const QString &text, const QFont &baseFont)
{
    const QString path = face.path.trimmed();
    const FontFileCheck fileCheck = checkFontFile(path);
    if (fileCheck == FontFileCheck::Missing)
        return nothingShown(PreviewCoverage::Status::NoFont, baseFont);
    if (text.trimmed().isEmpty())
        return nothingShown(PreviewCoverage::Status::NoText, baseFont);
    if (fileCheck != FontFileCheck::Usable)
        return nothingShown(PreviewCoverage::Status::Unreadable, baseFont);

    QRawFont rawFont = openFaceRawFont({path, face.index}, 32.0);
    const bool fromFile = rawFont.isValid();
    QString family = rawFont.familyName();
    std::optional<ApplicationFontRegistration> registration;
    // The database's first family is the file's first face: no stand-in for another.
    if (!fromFile && face.index == 0) {
        registration.emplace(path);
        family = registration->family();
    }
    QFont previewFont = baseFont;
    if (!family.isEmpty())
        previewFont.setFamily(family);
    previewFont.setPointSize(32);
    if (!rawFont.isValid() && registration && !family.isEmpty())
        rawFont = QRawFont::fromFont(previewFont, QFontDatabase::Any);
    // Without a raw font or a family, the only font left to ask would be the
    // window's own, which says nothing about this file.
    if (!rawFont.isValid() && family.isEmpty())
        return nothingShown(PreviewCoverage::Status::Unreadable, baseFont);
    const QFontMetrics metrics(previewFont);

    PreviewCoverage coverage;
    const QList<uint> characters = textCharacters(text);
    coverage.total = int(characters.size());
    for (const uint character : characters) {
        if (character == 0)
            continue;
        if (QChar::isSpace(character)) {
            coverage.shownText.append(characterText(character));
            continue;
        }
        // A lone surrogate is no character; whatever a font library would
        // draw for it stands in for something else.
        if (QChar::isSurrogate(character))
            continue;
        const bool drawable =
            rawFont.isValid() ? rawFontHasGlyph(rawFont, character) : metrics.inFontUcs4(character);
        if (!drawable)
            continue;
        coverage.shownText.append(characterText(character));
        ++coverage.supported;
    }

    if (coverage.shownText.isEmpty()) {
        coverage.status = PreviewCoverage::Status::NothingShown;
        coverage.font = baseFont;
    } else {
        coverage.font = previewFont;
        // A raw font of a registration would outlive it; only the file's own is kept.
        if (fromFile)
            coverage.rawFont = rawFont;
        if (coverage.supported == 0)
            coverage.status = PreviewCoverage::Status::OnlySpaceShown;
        else if (coverage.supported == coverage.total)
            coverage.status = PreviewCoverage::Status::AllSupported;
        else
            coverage.status = PreviewCoverage::Status::SomeSupported;
    }
    return coverage;
}

QString previewStatusText(const PreviewCoverage &coverage)
{
    switch (coverage.status) {
    case PreviewCoverage::Status::NoFont:
        return uiText("No valid font selected.", "未选择有效字库。");
    case PreviewCoverage::Status::NoText:
        return uiText("Please input characters to preview.", "请输入要预览的字符。");
    case PreviewCoverage::Status::Unreadable:
        return uiText("Failed to read font information.", "无法读取字库信息。");
    case PreviewCoverage::Status::NothingShown:
        return uiText("Selected font does not contain the preview characters.",
                      "所选字库不包含上述预览字符。");
    case PreviewCoverage::Status::OnlySpaceShown:
        return uiText("Current font does not support any of the preview characters.",
                      "当前字库不支持预览输入的任何字符。");
    case PreviewCoverage::Status::AllSupported:
        return uiText("Current font supports all preview characters (%1).",
                      "当前字库支持全部预览字符（%1 个）。")
            .arg(coverage.supported);
    case PreviewCoverage::Status::SomeSupported:
        break;
    }
    return uiText("Current font supports %1/%2 preview characters.", "当前字库支持 %1/%2 个预览字符。")
        .arg(coverage.supported)
        .arg(coverage.total);
}
