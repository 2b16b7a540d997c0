#include "window/TargetQuestions.h"

#include "common/UiText.h"
#include "subset/OutputMessages.h"
#include "subset/SubsetRequest.h"
#include "web/SliceFolder.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

QString askTargetPath(QWidget *parent, const FontFace &source, const QString &fileName, OutputFormat format,
                      bool writeCss, QString *errorMessage, const QString &startFolder)
{
    const QString directory = QFileDialog::getExistingDirectory(
        parent, uiText("Select output directory", "选择输出目录"),
        startFolder.isEmpty() ? QDir::currentPath() : startFolder, QFileDialog::ShowDirsOnly);
    if (directory.isEmpty())
        return QString();
    const QString targetPath = QDir(directory).filePath(fileName);
    QStringList existing;
    for (const QString &path : outputFilePaths(targetPath, format, writeCss)) {
        if (!targetExists(path))
            continue;
        // A folder or the source itself fails before anyone is asked to replace it.
        const QString problem = targetProblem(path, source);
        if (!problem.isEmpty()) {
            *errorMessage = problem;
            return QString();
        }
        existing.append(path);
    }
    if (existing.isEmpty())
        return targetPath;
    const auto answer =
        QMessageBox::question(parent, uiText("Overwrite?", "覆盖确认"), overwriteQuestion(existing),
                              QMessageBox::Yes | QMessageBox::No);
    return answer == QMessageBox::Yes ? targetPath : QString();
}

QString askSliceFolder(QWidget *parent, const QString &folderName, QString *errorMessage)
{
    const QString directory =
        QFileDialog::getExistingDirectory(parent, uiText("Select output directory", "选择输出目录"),
                                          QDir::currentPath(), QFileDialog::ShowDirsOnly);
    if (directory.isEmpty())
        return QString();
    const QString targetPath = QDir(directory).filePath(folderName);
    *errorMessage = sliceFolderProblem(targetPath);
    if (!errorMessage->isEmpty())
        return QString();
    if (!targetExists(targetPath))
        return targetPath;
    const auto answer = QMessageBox::question(
        parent, uiText("Overwrite?", "覆盖确认"),
        uiText("Folder %1 already exists, replace it?", "文件夹 %1 已存在，是否替换？").arg(targetPath),
        QMessageBox::Yes | QMessageBox::No);
    return answer == QMessageBox::Yes ? targetPath : QString();
}
