#pragma once

#include "recipe/Recipe.h"
#include "subset/SubsetRequest.h"

#include <QList>
#include <QString>
#include <QStringList>

// A character the recipe asks for, the source has, and an output lacks.
struct LackingCharacter
{
    uint codepoint = 0;
    // Where the recipe first asks for it: "src/ui/strings.json:12" (relative
    // to the recipe's folder), "text", "charset gb2312", "block 3" or
    // "unicodes".
    QString place;
};

struct RecipeCheckResult
{
    QStringList outOfDate;           // outputs missing or unreadable, with the reason
    QList<LackingCharacter> lacking; // ascending, each once over all outputs
    bool upToDate() const { return outOfDate.isEmpty() && lacking.isEmpty(); }
};

// Compares each output of the recipe at `recipePath` with `request`, what the
// recipe asks for today (built from recipeChoices()); writes nothing.
RecipeCheckResult checkRecipeOutputs(const QString &recipePath, const Recipe &recipe,
                                     const SubsetRequest &request);

// "U+946B 鑫  src/ui/strings.json:12", one line per lacking character, then
// one per output that is out of date.
QStringList recipeCheckReport(const RecipeCheckResult &result);
