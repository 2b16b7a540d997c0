#include "subset/OutputSizeLine.h"

#include "common/UiText.h"

#include <QFileInfo>
#include <QLocale>

namespace {

QString sizeText(qint64 bytes)
{
    return QLocale::c().formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}

} // namespace

QString outputSizeLine(const QString &writtenPath, int useEnglish)
{
    const qint64 bytes = QFileInfo(writtenPath).size();
    // Rounded sizes of two runs can look alike; the byte count tells them apart.
    return uiText(useEnglish, "Size: %1 (%2 bytes)", "大小: %1（%2 字节）").arg(sizeText(bytes)).arg(bytes);
}
