#include "subset/SubsetGeneration.h"

#include "app/UiText.h"
#include "subset/HbSubsetRunner.h"
#include "subset/MissingCharacters.h"
#include "subset/SourceFontPath.h"
#include "subset/TemporarySubsetPath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

// The finished subset first moves beside the target (a plain rename when
// both folders share a file system, a copy otherwise), then replaces it with
// one rename(2), which swaps the file in atomically; QFile::rename never
// replaces. Until that last step the previous target stays as it was, and a
// failure removes the staged copy.
bool placeFile(const QString &sourcePath, const QString &targetPath)
{
    const QString staged = QFileInfo(targetPath).dir().filePath(QFileInfo(sourcePath).fileName());
    if (staged != sourcePath && !QFile::rename(sourcePath, staged))
        return false;
    if (std::rename(QFile::encodeName(staged).constData(), QFile::encodeName(targetPath).constData()) == 0)
        return true;
    QFile::remove(staged);
    return false;
}

SubsetOutcome failure(const QString &message)
{
    SubsetOutcome outcome;
    outcome.errorMessage = message;
    return outcome;
}

} // namespace

SubsetOutcome generateSubsetFile(const SubsetRequest &request)
{
    const int english = request.useEnglish;
    if (!isUsableFontPath(request.fontPath))
        return failure(uiText(english, "Please choose a valid source TTF font file first.",
                              "请先选择有效的源 TTF 字体文件。"));
    if (replacesSourceFont(request.targetPath, request.fontPath))
        return failure(
            uiText(english,
                   "The output file would replace the source font: %1. Choose another name or directory.",
                   "输出文件将覆盖源字库: %1，请更换文件名或目录。")
                .arg(request.targetPath));

    SubsetOutcome outcome;
    if (!request.requestedCodepoints.isEmpty())
        outcome.missingCharsNote = missingCharactersNote(
            findMissingCodepoints(request.fontPath, request.requestedCodepoints), english);

    const QString temporaryPath = temporarySubsetPath();
    QString runError;
    if (!runHbSubset(request.fontPath, request.unicodesArgument, temporaryPath, request.toolDirectory,
                     request.startTimeoutMs, request.finishTimeoutMs, english, &runError)) {
        QFile::remove(temporaryPath);
        return failure(!runError.isEmpty()
                           ? runError
                           : uiText(english, "Failed to run hb-subset.", "调用 hb-subset 失败。"));
    }

    const bool placed = placeFile(temporaryPath, request.targetPath);
    QFile::remove(temporaryPath);
    if (!placed)
        return failure(
            uiText(english, "Failed to save to path: %1", "无法保存到目标路径: %1").arg(request.targetPath));
    outcome.ok = true;
    return outcome;
}
