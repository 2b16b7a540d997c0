#pragma once

#include "charset/CharacterCollector.h"
#include "recipe/Recipe.h"
#include "subset/SubsetRequest.h"

#include <QString>

// The source face a recipe names: its file and face, or the regular face of
// the installed family. False, with the reason, for a family that leads to
// no font file.
bool recipeFace(const Recipe &recipe, FontFace *face, QString *errorMessage);

// What a run of `recipe` takes, as the command line would for the same
// choices: one text file is read whole as UTF-8, several or a folder are
// collected (`summary` then says what was found). The target and the format
// are each output's; these are the first output's. False, with the reason,
// when a file cannot be read.
bool recipeChoices(const Recipe &recipe, const FontFace &face, const QString &toolDirectory,
                   SubsetChoices *choices, QString *errorMessage, QString *summary = nullptr);

// The recipe's files as the collection reads them.
CollectionPatterns recipePatterns(const Recipe &recipe);
