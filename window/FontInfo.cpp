#include "window/FontInfo.h"

#include "common/UiText.h"
#include "font/FontFileCheck.h"
#include "window/ApplicationFontRegistration.h"
#include "window/FaceRawFont.h"
#include "window/UsableCharacterCount.h"

#include <QFont>
#include <QFontDatabase>
#include <QRawFont>

#include <optional>

FontInfo readFontInfo(const FontFace &face)
{
    switch (checkFontFile(face.path)) {
    case FontFileCheck::Missing:
        return {FontInfo::Status::NoFont, 0};
    case FontFileCheck::NotAFile:
    case FontFileCheck::Unreadable:
        return {FontInfo::Status::Unreadable, 0};
    case FontFileCheck::Usable:
        break;
    }

    QRawFont font = openFaceRawFont(face, 16.0);
    std::optional<ApplicationFontRegistration> registration;
    // The database's first family is the file's first face: no stand-in for another.
    if (!font.isValid() && face.index == 0) {
        registration.emplace(face.path);
        if (!registration->family().isEmpty())
            font = QRawFont::fromFont(QFont(registration->family(), 16, -1, false), QFontDatabase::Any);
    }
    if (!font.isValid())
        return {FontInfo::Status::Unreadable, 0};
    return {FontInfo::Status::Read, countUsableCharacters(font)};
}

QString fontInfoText(const FontInfo &info)
{
    switch (info.status) {
    case FontInfo::Status::NoFont:
        return uiText("No valid font selected.", "未选择有效字库。");
    case FontInfo::Status::Unreadable:
        return uiText("Failed to read font information.", "无法读取字库信息。");
    case FontInfo::Status::Read:
        break;
    }
    return uiText("Current font contains %1 usable Unicode characters.",
                  "当前字库包含 %1 个可用 Unicode 字符。")
        .arg(info.usableCharacters);
}
