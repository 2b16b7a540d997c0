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

QString outputSizeLine(const QString &sourcePath, const QString &writtenPath, int useEnglish)
{
    // A collection's size is that of every face in it: still the file the user chose.
    return uiText(useEnglish, "Size: %1 (source font file: %2)", "大小: %1（源字库文件: %2）")
        .arg(sizeText(QFileInfo(writtenPath).size()), sizeText(QFileInfo(sourcePath).size()));
}
