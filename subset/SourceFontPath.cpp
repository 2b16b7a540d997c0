#include "subset/SourceFontPath.h"

#include "common/UiText.h"

#include <QFileInfo>

QString withSourceFont(const QString &message, const QString &fontPath)
{
    return message + QLatin1Char('\n') + uiText("Source font: %1", "源字库: %1").arg(fontPath);
}

bool replacesSourceFont(const QString &targetPath, const QString &fontPath)
{
    const QString target = QFileInfo(targetPath).canonicalFilePath();
    return !target.isEmpty() && target == QFileInfo(fontPath).canonicalFilePath();
}
