#include "cli/SubsetCommand.h"

#include "charset/UnicodeBlockTable.h"
#include "cli/CharsetCommand.h"
#include "cli/CollectOptions.h"
#include "cli/FaceCommand.h"
#include "cli/RecipeCommand.h"
#include "cli/StandardInput.h"
#include "cli/SubsetCommandHelp.h"
#include "cli/RunEnding.h"
#include "cli/TerminationSignals.h"
#include "common/UiText.h"
#include "subset/SubsetJob.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace {


} // namespace

bool subsetChoicesFromCommandLine(const SubsetCommandLine &commandLine, const FontFace &face,
                                  const QString &toolDirectory, SubsetChoices *choices, QString *errorMessage,
                                  QString *collectionSummary)
{
    SubsetChoices chosen;
    chosen.face = face;
    chosen.targetPath = commandLine.outputPath;
    chosen.createFolders = true;
    chosen.texts = commandLine.texts;
    if (commandLine.textFiles.contains(QStringLiteral("-"))) {
        QString text;
        if (!readStandardInput(commandLine.legacyEncoding, &text, errorMessage))
            return false;
        chosen.texts.append(text);
    }
    if (!readCommandLineTextFiles(commandLine, &chosen.texts, collectionSummary, errorMessage))
        return false;
    chosen.blockRows = commandLine.blockRows;
    chosen.ranges = commandLine.unicodeRanges;
    chosen.rule = SelectionRule::AddUp;
    chosen.toolDirectory = toolDirectory;
    chosen.charsets = commandLine.charsets;
    chosen.format = commandLine.format;
    chosen.writeCss = commandLine.writeCss;
    chosen.options = commandLine.options;
    chosen.lvgl = commandLine.lvgl;
    *choices = chosen;
    return true;
}

int runSubsetCommand(const SubsetCommandLine &commandLine, const QString &toolDirectory, QTextStream &out,
                     QTextStream &err)
{
    const QString program = QStringLiteral("vfc-subset: ");
    switch (commandLine.action) {
    case SubsetCommandLine::Action::Help:
        out << subsetCommandHelp();
        out.flush();
        return 0;
    case SubsetCommandLine::Action::Version:
        out << "vfc-subset " VFC_VERSION "\n";
        out.flush();
        return 0;
    case SubsetCommandLine::Action::ListBlocks:
        out << unicodeBlockListing();
        out.flush();
        return 0;
    case SubsetCommandLine::Action::ListCharsets:
        return listCharsetsCommand(commandLine, out, err);
    case SubsetCommandLine::Action::UsageError:
        writeLine(err, program + commandLine.usageError);
        writeLine(err, uiText("Try 'vfc-subset --help' for more information.",
                              "运行 'vfc-subset --help' 查看用法。"));
        return 2;
    case SubsetCommandLine::Action::ListFaces:
        return listFacesCommand(commandLine, out, err);
    case SubsetCommandLine::Action::CollectOnly:
        return collectOnlyCommand(commandLine, out, err);
    case SubsetCommandLine::Action::Recipe:
        return runRecipeCommand(commandLine, toolDirectory, out, err);
    case SubsetCommandLine::Action::Subset:
        break;
    }
    if (!commandLine.saveRecipePath.isEmpty())
        return saveRecipeCommand(commandLine, err);

    FontFace face;
    QString faceProblem;
    if (!commandLineFace(commandLine, &face, &faceProblem)) {
        writeLine(err, program + faceProblem);
        return 1;
    }
    faceProblem = faceIndexUsageProblem(face);
    if (!faceProblem.isEmpty()) {
        SubsetCommandLine usage = commandLine;
        usage.action = SubsetCommandLine::Action::UsageError;
        usage.usageError = faceProblem;
        return runSubsetCommand(usage, toolDirectory, out, err);
    }

    SubsetChoices choices;
    SubsetRequest request;
    QString errorMessage;
    QString collectionSummary;
    const bool read = subsetChoicesFromCommandLine(commandLine, face, toolDirectory, &choices, &errorMessage,
                                                   &collectionSummary);
    if (!collectionSummary.isEmpty())
        writeLine(err, collectionSummary);
    if (read && choices.format == OutputFormat::Woff2Slices)
        return runSliceCommand(commandLine, choices, out, err);
    if (!read || !buildSubsetRequest(choices, &request, &errorMessage)) {
        writeLine(err, program + errorMessage);
        return 1;
    }
    for (const QString &path : outputFilePaths(request.targetPath, request.format, request.writeCss)) {
        const QString problem = targetProblem(path, request.face);
        if (!problem.isEmpty()) {
            writeLine(err, program + problem);
            return 1;
        }
        if (!commandLine.force && targetExists(path)) {
            writeLine(err, program + uiText("File %1 already exists; add --force to replace it.",
                                            "文件 %1 已存在；如需覆盖请加上 --force。")
                                         .arg(path));
            return 1;
        }
    }

    // SIGINT or SIGTERM stops hb-subset and cleans up before the program
    // ends with the status a shell expects of a program the signal ended.
    SubsetJob job;
    SubsetOutcome outcome;
    const int stoppedBy = runUntilFinished(job, &SubsetJob::finished, &outcome, [&] { job.start(request); });
    return finishRun(commandLine,
                     {stoppedBy, outcome.ok, outcome.errorMessage, outcome.missingCharsNote, {outcome.sizeReport},
                      outcome.missingCodepoints},
                     out, err);
}
