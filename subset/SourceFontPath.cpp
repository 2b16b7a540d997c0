#include "subset/SourceFontPath.h"

#include <QFileInfo>

bool isUsableFontPath(const QString &fontPath)
{
    if (fontPath.isEmpty())
        return false;
    const QFileInfo info(fontPath);
    return info.exists() && (info.isFile() || info.isDir());
}

bool replacesSourceFont(const QString &targetPath, const QString &fontPath)
{
    const QString target = QFileInfo(targetPath).canonicalFilePath();
    return !target.isEmpty() && target == QFileInfo(fontPath).canonicalFilePath();
}
