#include "subset/SubsetFinishing.h"

#include "common/UiText.h"
#include "subset/HbSubsetRunner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

FinishingResult finishSubsetOutput(const SubsetRequest &request, const QString &subsetPath)
{
    FinishingResult result;
    if (!holdsFontTables(subsetPath)) {
        result.errorMessage = uiText(
            request.useEnglish,
            "hb-subset produced no usable font. Please check that the source is a valid font file.",
            "hb-subset 未生成有效字库，请确认源文件是有效的字体文件。");
        return result;
    }
    result.files.append({subsetPath, request.targetPath});
    return result;
}

bool placeStagedFile(const StagedFile &file, int useEnglish, QString *errorMessage)
{
    // The file first moves beside the target (a plain rename when both
    // folders share a file system, a copy otherwise), then replaces it with
    // one rename(2), which swaps the file in atomically; QFile::rename never
    // replaces. Until that last step the previous target stays as it was, and
    // a failure removes the staged copy.
    const QString staged =
        QFileInfo(file.targetPath).dir().filePath(QFileInfo(file.temporaryPath).fileName());
    bool placed = staged == file.temporaryPath || QFile::rename(file.temporaryPath, staged);
    if (placed) {
        placed = std::rename(QFile::encodeName(staged).constData(),
                             QFile::encodeName(file.targetPath).constData()) == 0;
        if (!placed)
            QFile::remove(staged);
    }
    if (!placed && errorMessage)
        *errorMessage = uiText(useEnglish, "Failed to save to path: %1", "无法保存到目标路径: %1")
                            .arg(file.targetPath);
    return placed;
}
