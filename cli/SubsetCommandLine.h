#pragma once

#include "cli/SelectionLists.h"
#include "cli/SliceOptions.h"

#include "charset/CodepointRange.h"
#include "charset/LegacyEncoding.h"
#include "lvgl/LvglOptions.h"
#include "subset/OutputFormat.h"
#include "subset/SubsetOptions.h"

#include <QList>
#include <QString>
#include <QStringList>

// What one vfc-subset command line asks for. Reading the text files is left
// to the run, so that a file that cannot be read is a failure of the run
// (exit 1) rather than of the command line (exit 2).
struct SubsetCommandLine
{
    enum class Action {
        Subset,
        Help,
        Version,
        ListBlocks,
        UsageError,
        ListFaces,
        ListCharsets,
        CollectOnly,
        Recipe
    };

    Action action = Action::UsageError;
    bool english = false; // --lang=en; Chinese by default, as in the window
    QString fontPath;
    QString outputPath; // as given: no cleaning, no ".ttf" appended
    bool force = false;
    bool listMissing = false; // every missing character to standard output, one a line
    QStringList texts;
    QStringList textFiles;               // "-" stands for standard input
    QList<int> blockRows;                // rows of the block table, counted from 1, ascending, each once
    QList<CodepointRange> unicodeRanges; // in the order given
    QString usageError;                  // in the chosen language; set for UsageError only
    // The face of FONT, or an installed family (with its own face) instead of FONT.
    int faceIndex = 0;
    QString family;
    // Ids for --charset, each once; ListCharsets takes an optional
    // fontPath whose coverage it shows.
    QStringList charsets;
    OutputFormat format = OutputFormat::TrueType; // --format, else what the output's extension names
    bool writeCss = false;                        // a style sheet beside a WOFF2 file
    bool report = false;                          // the size line on standard error
    SubsetOptions options;
    LvglOptions lvgl; // --size, --bpp and the rest, for --format=lvgl and lvgl-bin
    // Several --text-file paths, folders among them, are walked with these
    // globs (the default kinds of file when `includePatterns` is empty); CollectOnly
    // prints what `textFiles` show.
    QStringList includePatterns;
    QStringList excludePatterns;
    bool collectOnly = false;
    // How files that are not UTF-8 are read; with none, they add nothing.
    SourceEncoding legacyEncoding = SourceEncoding::Utf8Only;
    // --recipe=FILE builds a recipe (Recipe), with --check checks its
    // outputs; --save-recipe=FILE writes a subset command line's recipe instead of building.
    QString recipePath;
    QString saveRecipePath;
    bool check = false;
    // --format=woff2-slices: every font file given (a family), and its options.
    QStringList fontPaths;
    SliceCommandLine slicing;
};

// Reads the arguments that follow the program name. Options take their value
// after "=" or as the next argument; "--" ends the options. This is also the
// command line's language switch: from here on every text speaks the
// language --lang chose.
SubsetCommandLine parseSubsetCommandLine(const QStringList &arguments);
