#include "recipe/RecipeCheck.h"

#include "charset/StandardCharsets.h"
#include "charset/TextCharacters.h"
#include "charset/UnicodeBlockTable.h"
#include "common/UiText.h"
#include "recipe/RecipeChoices.h"
#include "subset/MissingCharacters.h"
#include "subset/OutputReadBack.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

// Names where each character first comes from, in the order the recipe
// file lists its parts.
QList<LackingCharacter> placesOf(const QString &recipePath, const Recipe &recipe,
                                 const QList<uint> &codepoints)
{
    QHash<uint, QString> places;
    QList<uint> left = codepoints;
    const auto take = [&](const auto &holds, const QString &place) {
        left.removeIf([&](uint codepoint) {
            if (!holds(codepoint))
                return false;
            places.insert(codepoint, place);
            return true;
        });
    };
    const QList<uint> text = textCharacters(recipe.text);
    take([&](uint c) { return text.contains(c); }, QStringLiteral("text"));
    if (!left.isEmpty() && !recipe.files.isEmpty()) {
        const QDir folder(QFileInfo(recipePath).absoluteDir().canonicalPath());
        const QHash<uint, CharacterPlace> found =
            findCharacterPlaces(recipe.files, recipePatterns(recipe), left);
        for (auto it = found.cbegin(); it != found.cend(); ++it)
            places.insert(it.key(),
                          folder.relativeFilePath(it->file) + QLatin1Char(':') + QString::number(it->line));
        left.removeIf([&](uint codepoint) { return found.contains(codepoint); });
    }
    for (const QString &id : recipe.charsets) {
        const QList<uint> &set = standardCharsetCharacters(findStandardCharset(id));
        take([&](uint c) { return set.contains(c); }, QStringLiteral("charset ") + id);
    }
    for (int row : recipe.blockRows) {
        const UnicodeBlock &block = unicodeBlockTable[row - 1];
        take([&](uint c) { return c >= block.first && c <= block.last; },
             QStringLiteral("block %1").arg(row));
    }
    take([](uint) { return true; }, QStringLiteral("unicodes"));

    QList<LackingCharacter> lacking;
    for (uint codepoint : codepoints)
        lacking.append({codepoint, places.value(codepoint)});
    return lacking;
}

} // namespace

RecipeCheckResult checkRecipeOutputs(const QString &recipePath, const Recipe &recipe,
                                     const SubsetRequest &request)
{
    RecipeCheckResult result;
    // What a build would keep: the requested characters the source has.
    const QList<uint> missing = findMissingCodepoints(request.face, request.codepoints);
    QList<uint> kept;
    std::set_difference(request.codepoints.cbegin(), request.codepoints.cend(), missing.cbegin(),
                        missing.cend(), std::back_inserter(kept));

    QList<uint> lacking;
    for (const RecipeOutput &output : recipe.outputs) {
        // A style sheet that is gone is as out of date as a font.
        bool complete = true;
        for (const QString &path : outputFilePaths(output.path, output.format, output.css)) {
            if (QFileInfo::exists(path))
                continue;
            complete = false;
            result.outOfDate.append(uiText("%1: missing", "%1：不存在")
                                        .arg(QFileInfo(recipePath).absoluteDir().relativeFilePath(path)));
        }
        if (!complete)
            continue;
        QList<uint> held;
        QString reason;
        if (!readOutputCharacters(output.path, output.format, &held, &reason)) {
            result.outOfDate.append(reason);
            continue;
        }
        QList<uint> notThere;
        std::set_difference(kept.cbegin(), kept.cend(), held.cbegin(), held.cend(),
                            std::back_inserter(notThere));
        QList<uint> merged;
        std::set_union(lacking.cbegin(), lacking.cend(), notThere.cbegin(), notThere.cend(),
                       std::back_inserter(merged));
        lacking = merged;
    }
    result.lacking = placesOf(recipePath, recipe, lacking);
    return result;
}

QStringList recipeCheckReport(const RecipeCheckResult &result)
{
    QStringList lines;
    for (const LackingCharacter &character : result.lacking)
        lines.append(missingCharactersList({character.codepoint}).value(0) + QStringLiteral("  ") +
                     character.place);
    for (const QString &output : result.outOfDate)
        lines.append(uiText("Out of date: %1", "需要重新生成: %1").arg(output));
    return lines;
}
