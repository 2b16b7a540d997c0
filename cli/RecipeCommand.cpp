#include "cli/RecipeCommand.h"

#include "cli/StandardInput.h"
#include "cli/RunEnding.h"
#include "cli/TerminationSignals.h"
#include "common/UiText.h"
#include "recipe/RecipeBuild.h"
#include "recipe/RecipeCheck.h"
#include "recipe/RecipeChoices.h"

#include <QFileInfo>
#include <QTextStream>

namespace {

const QLatin1String program("vfc-subset: ");


QString absolute(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}

int buildRecipe(const SubsetCommandLine &commandLine, const SubsetRequest &request, const Recipe &recipe,
                QTextStream &out, QTextStream &err)
{
    // As for a single run: SIGINT or SIGTERM stops every output and leaves
    // every target as it was.
    RecipeBuild build;
    RecipeBuildOutcome outcome;
    const int stoppedBy = runUntilFinished(build, &RecipeBuild::finished, &outcome,
                                           [&] { build.start(request, recipe.outputs); });
    return finishRun(commandLine,
                     {stoppedBy, outcome.ok, outcome.errorMessage, outcome.missingCharsNote, outcome.sizeReports,
                      outcome.missingCodepoints},
                     out, err);
}

} // namespace

int runRecipeCommand(const SubsetCommandLine &commandLine, const QString &toolDirectory, QTextStream &out,
                     QTextStream &err)
{
    Recipe recipe;
    FontFace face;
    SubsetChoices choices;
    SubsetRequest request;
    QString error, summary;
    if (!readRecipe(commandLine.recipePath, &recipe, &error) || !recipeFace(recipe, &face, &error)) {
        writeLine(err, program + error);
        return 1;
    }
    const bool read = recipeChoices(recipe, face, toolDirectory, &choices, &error, &summary);
    if (!summary.isEmpty())
        writeLine(err, summary);
    if (!read || !buildSubsetRequest(choices, &request, &error)) {
        writeLine(err, program + error);
        return 1;
    }
    if (!commandLine.check)
        return buildRecipe(commandLine, request, recipe, out, err);

    const RecipeCheckResult result = checkRecipeOutputs(commandLine.recipePath, recipe, request);
    for (const QString &line : recipeCheckReport(result))
        out << line << '\n';
    out.flush();
    if (result.upToDate())
        writeLine(err, uiText("Every output of %1 holds every character it asks for.",
                              "%1 的每个输出都包含其要求的全部字符。")
                           .arg(commandLine.recipePath));
    return result.upToDate() ? 0 : 1;
}

int saveRecipeCommand(const SubsetCommandLine &commandLine, QTextStream &err)
{
    Recipe recipe;
    if (commandLine.family.isEmpty())
        recipe.fontPath = absolute(commandLine.fontPath);
    recipe.family = commandLine.family;
    recipe.faceIndex = commandLine.faceIndex;
    recipe.text = commandLine.texts.join(QString());
    QString error;
    for (const QString &path : commandLine.textFiles) {
        if (path != QLatin1String("-")) {
            recipe.files.append(absolute(path));
            continue;
        }
        // Standard input is gone once read: the recipe keeps its text.
        QString text;
        if (!readStandardInput(commandLine.legacyEncoding, &text, &error)) {
            writeLine(err, program + error);
            return 1;
        }
        recipe.text += text;
    }
    recipe.include = commandLine.includePatterns;
    recipe.exclude = commandLine.excludePatterns;
    recipe.sourceEncoding = commandLine.legacyEncoding;
    recipe.charsets = commandLine.charsets;
    recipe.blockRows = commandLine.blockRows;
    recipe.ranges = commandLine.unicodeRanges;
    recipe.options = commandLine.options;
    recipe.outputs.append(
        {commandLine.format, commandLine.writeCss, absolute(commandLine.outputPath), commandLine.lvgl});
    if (!writeRecipe(recipe, commandLine.saveRecipePath, &error)) {
        writeLine(err, program + error);
        return 1;
    }
    return 0;
}
