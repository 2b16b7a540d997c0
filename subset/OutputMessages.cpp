#include "subset/OutputMessages.h"

#include "common/UiText.h"
#include "subset/SubsetJob.h"

#include <QDir>

QString generationDoneText(const SubsetOutcome &outcome)
{
    QString text;
    switch (outcome.format) {
    case OutputFormat::TrueType:
        text =
            uiText("Subset font has been generated. You can continue generating more subsets or close this "
                   "tool.",
                   "子集字库已生成，可继续生成其他字库或关闭本工具。");
        break;
    case OutputFormat::Woff2:
    case OutputFormat::Woff2Slices:
        text =
            uiText("WOFF2 subset font has been generated. You can continue generating more subsets or close "
                   "this tool.",
                   "WOFF2 子集字库已生成，可继续生成其他字库或关闭本工具。");
        break;
    case OutputFormat::CArray:
        text = uiText("Subset font has been generated as a C array. You can continue generating more subsets "
                      "or close this tool.",
                      "子集字库已生成为 C 数组，可继续生成其他字库或关闭本工具。");
        break;
    case OutputFormat::Lvgl:
    case OutputFormat::LvglBin:
        text = uiText("LVGL bitmap font has been generated. You can continue generating more subsets or close "
                      "this tool.",
                      "LVGL 点阵字库已生成，可继续生成其他字库或关闭本工具。");
        break;
    }
    const QStringList files =
        outcome.writtenFiles.isEmpty() ? QStringList{outcome.writtenPath} : outcome.writtenFiles;
    for (const QString &file : files)
        text += QLatin1Char('\n') + QDir::toNativeSeparators(file);
    if (!outcome.sizeReport.isEmpty())
        text += QLatin1Char('\n') + outcome.sizeReport;
    return text;
}

QString overwriteQuestion(const QStringList &existing)
{
    if (existing.size() == 1)
        return uiText("File %1 already exists, overwrite?", "文件 %1 已存在，是否覆盖？")
            .arg(existing.first());
    return uiText("These files already exist, overwrite?\n%1", "以下文件已存在，是否覆盖？\n%1")
        .arg(existing.join(QLatin1Char('\n')));
}
