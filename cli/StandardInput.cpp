#include "cli/StandardInput.h"

#include "charset/TextImport.h"
#include "common/UiText.h"

#include <QFile>

#include <cstdio>

bool readStandardInput(SourceEncoding legacyEncoding, QString *text, QString *errorMessage)
{
    // The import's own reader refuses anything but a regular file, and a
    // pipeline hands over a pipe: the stream is opened here instead.
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly | QIODevice::Text)) {
        if (errorMessage)
            *errorMessage = uiText("Failed to open file: %1", "无法打开文件: %1").arg(QStringLiteral("-"));
        return false;
    }
    return readText(input, QStringLiteral("-"), legacyEncoding, text, errorMessage);
}
