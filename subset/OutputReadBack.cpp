#include "subset/OutputReadBack.h"

#include "common/SystemReason.h"
#include "common/UiText.h"
#include "lvgl/LvglCharacterMap.h"
#include "subset/SubsetFontFacts.h"

#include <QFile>

#include <woff2/decode.h>
#include <woff2/output.h>

#include <string>

namespace {

QByteArray decodedWoff2(const QByteArray &bytes)
{
    const auto *data = reinterpret_cast<const uint8_t *>(bytes.constData());
    std::string font(
        std::min(woff2::ComputeWOFF2FinalSize(data, size_t(bytes.size())), woff2::kDefaultMaxSize), '\0');
    woff2::WOFF2StringOut out(&font);
    out.SetMaxSize(woff2::kDefaultMaxSize);
    if (!woff2::ConvertWOFF2ToTTF(data, size_t(bytes.size()), &out))
        return QByteArray();
    return QByteArray(font.data(), qsizetype(out.Size()));
}

// The "0x.." bytes between the array's braces, as cArrayHeader() writes them.
QByteArray arrayBytes(const QByteArray &header)
{
    // The comment above the array may hold any text.
    const qsizetype open = header.indexOf("[] = {") + 5;
    const qsizetype close = header.indexOf('}', open);
    QByteArray font;
    if (open < 5 || close < 0)
        return font;
    for (const QByteArray &item : header.mid(open + 1, close - open - 1).split(',')) {
        bool ok = false;
        const uint byte = item.trimmed().toUInt(&ok, 16);
        if (ok && byte < 256)
            font.append(char(byte));
        else if (!item.trimmed().isEmpty())
            return QByteArray();
    }
    return font;
}

bool readWhole(const QString &path, QByteArray *bytes, QString *errorMessage)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        *bytes = file.readAll();
        return true;
    }
    *errorMessage = uiText("Failed to open file: %1", "无法打开文件: %1").arg(path) + QLatin1Char('\n') +
                    systemReason(file);
    return false;
}

QString notWrittenAs(const QString &path, OutputFormat format)
{
    return uiText("%1 holds no font written as %2.", "%1 中没有以 %2 格式写入的字体。")
        .arg(path, outputFormatName(format));
}

} // namespace

bool readOutputFont(const QString &path, OutputFormat format, QByteArray *font, QString *errorMessage)
{
    QByteArray bytes;
    if (!readWhole(path, &bytes, errorMessage))
        return false;
    switch (format) {
    case OutputFormat::TrueType:
        *font = bytes;
        break;
    case OutputFormat::Woff2:
        *font = decodedWoff2(bytes);
        break;
    case OutputFormat::CArray:
        *font = arrayBytes(bytes);
        break;
    case OutputFormat::Lvgl:
    case OutputFormat::LvglBin:
    case OutputFormat::Woff2Slices:
        break; // bitmaps, or a folder of fonts: no one font
    }
    if (!font->isEmpty())
        return true;
    *errorMessage = notWrittenAs(path, format);
    return false;
}

bool readOutputCharacters(const QString &path, OutputFormat format, QList<uint> *codepoints,
                          QString *errorMessage)
{
    QByteArray bytes;
    if (isLvglFormat(format)) {
        if (!readWhole(path, &bytes, errorMessage))
            return false;
        const bool read = format == OutputFormat::Lvgl ? readLvglSourceCharacters(bytes, codepoints)
                                                       : readLvglBinaryCharacters(bytes, codepoints);
        if (!read)
            *errorMessage = notWrittenAs(path, format);
        return read;
    }
    if (!readOutputFont(path, format, &bytes, errorMessage))
        return false;
    const SubsetFontFacts facts = readSubsetFontFacts(bytes);
    if (!facts.read) {
        *errorMessage = uiText("%1 is no font that can be read.", "%1 不是可读取的字体。").arg(path);
        return false;
    }
    *codepoints = facts.codepoints;
    return true;
}
