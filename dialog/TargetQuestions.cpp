#include "dialog/TargetQuestions.h"

#include "common/UiText.h"
#include "subset/SubsetRequest.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

QString askTargetPath(QWidget *parent, int useEnglish, const FontFace &source, const QString &fileName,
                      QString *errorMessage)
{
    const QString directory = QFileDialog::getExistingDirectory(
        parent, uiText(useEnglish, "Select output directory", "选择输出目录"), QDir::currentPath(),
        QFileDialog::ShowDirsOnly);
    if (directory.isEmpty())
        return QString();
    const QString targetPath = QDir(directory).filePath(fileName);
    if (!QFileInfo::exists(targetPath))
        return targetPath;
    // A folder or the source itself fails before anyone is asked to replace it.
    const QString problem = targetProblem(targetPath, source, useEnglish);
    if (!problem.isEmpty()) {
        *errorMessage = problem;
        return QString();
    }
    const auto answer = QMessageBox::question(
        parent, uiText(useEnglish, "Overwrite?", "覆盖确认"),
        uiText(useEnglish, "File %1 already exists, overwrite?", "文件 %1 已存在，是否覆盖？")
            .arg(targetPath),
        QMessageBox::Yes | QMessageBox::No);
    return answer == QMessageBox::Yes ? targetPath : QString();
}
