#pragma once

#include "charset/CodepointRange.h"
#include "charset/LegacyEncoding.h"
#include "lvgl/LvglOptions.h"
#include "subset/OutputFormat.h"
#include "subset/SubsetOptions.h"

#include <QList>
#include <QString>
#include <QStringList>

// One file a recipe builds.
struct RecipeOutput
{
    OutputFormat format = OutputFormat::TrueType;
    bool css = false; // WOFF2 only: the style sheet beside it
    QString path;     // absolute
    LvglOptions lvgl; // the LVGL formats only: the bitmap font's size and the rest
};

// A whole setup of the tool, as a file that both front ends read and write.
// Every path here is absolute; the file holds them relative to its folder.
struct Recipe
{
    QString file; // where it was read from, for messages; not written

    QString fontPath; // empty when `family` names an installed font instead
    QString family;
    int faceIndex = 0;

    // The characters; all of them add up.
    QString text;
    QStringList files;   // text files and folders
    QStringList include; // empty: the default kinds of file
    QStringList exclude;
    SourceEncoding sourceEncoding = SourceEncoding::Utf8Only; // for files that are not UTF-8
    QStringList charsets;
    QList<int> blockRows; // counted from 1, ascending
    QList<CodepointRange> ranges;

    SubsetOptions options;
    QList<RecipeOutput> outputs;
};

// Whether a recipe can describe an output of `format`: a folder of slices
// with its strategy has no place in one yet.
bool recipeHoldsFormat(OutputFormat format);

// The newest format version this program reads and the one it writes.
constexpr int recipeVersion = 1;

// Reads and checks the recipe at `path`. False, with a message naming the
// file and the place in it (and nothing else done), when it is no JSON, has
// a key that is unknown or of the wrong type, names an unknown character
// set, block or format, was made by a newer version, names a source font
// that is not there or an output that is a folder.
bool readRecipe(const QString &path, Recipe *recipe, QString *errorMessage);

// Writes `recipe` to `path` in one step (an earlier file stays whole until
// the new one is complete), its paths relative to the file's folder.
bool writeRecipe(const Recipe &recipe, const QString &path, QString *errorMessage);
