#include "charset/TextImport.h"

#include "common/RegularFile.h"
#include "common/UiText.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

bool readTextFile(const QString &path, SourceEncoding legacyEncoding, QString *text, QString *errorMessage,
                  bool *wrongEncoding)
{
    QFile file;
    if (!openRegularFile(path, &file, QIODevice::Text)) {
        if (errorMessage)
            *errorMessage = uiText("Failed to open file: %1", "无法打开文件: %1").arg(path);
        return false;
    }
    return readText(file, path, legacyEncoding, text, errorMessage, wrongEncoding);
}

bool readText(QIODevice &device, const QString &name, SourceEncoding legacyEncoding, QString *text,
              QString *errorMessage, bool *wrongEncoding)
{
    const QByteArray bytes = device.readAll();
    // A file in another encoding would otherwise arrive as a row of
    // replacement characters and be cut into a font of them.
    QStringDecoder decoder(QStringConverter::Utf8);
    QString content = decoder.decode(bytes);
    if (decoder.hasError() &&
        (legacyEncoding == SourceEncoding::Utf8Only || !decodeLegacyText(bytes, legacyEncoding, &content))) {
        if (wrongEncoding)
            *wrongEncoding = true;
        if (errorMessage) {
            *errorMessage = legacyEncoding == SourceEncoding::Utf8Only
                                ? uiText("The file is not UTF-8 text: %1", "文件不是 UTF-8 文本: %1").arg(name)
                                : uiText("The file is neither UTF-8 nor %1 text: %2",
                                         "文件既不是 UTF-8 也不是 %1 文本: %2")
                                      .arg(sourceEncodingTitle(legacyEncoding), name);
        }
        return false;
    }
    // Only a file with nothing in it is refused: one holding only spaces or
    // line breaks is the user's choice.
    if (content.isEmpty()) {
        if (errorMessage)
            *errorMessage = uiText("File is empty.", "文件内容为空。");
        return false;
    }
    if (text)
        *text = content;
    return true;
}

bool importsOneText(const QStringList &paths)
{
    return paths.size() == 1 && !QFileInfo(paths.first()).isDir();
}
