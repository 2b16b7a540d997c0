#include "charset/TextImport.h"

#include "common/RegularFile.h"
#include "common/UiText.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

bool readUtf8Text(const QString &path, QString *text, QString *errorMessage)
{
    QFile file;
    if (!openRegularFile(path, &file, QIODevice::Text)) {
        if (errorMessage)
            *errorMessage = uiText("Failed to open file: %1", "无法打开文件: %1").arg(path);
        return false;
    }
    return readUtf8Text(file, path, text, errorMessage);
}

bool readUtf8Text(QIODevice &device, const QString &name, QString *text, QString *errorMessage)
{
    // A file in another encoding would otherwise arrive as a row of
    // replacement characters and be cut into a font of them.
    QStringDecoder decoder(QStringConverter::Utf8);
    const QString content = decoder.decode(device.readAll());
    if (decoder.hasError()) {
        if (errorMessage)
            *errorMessage =
                uiText("The file is not UTF-8 text: %1", "文件不是 UTF-8 文本: %1").arg(name);
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
