#pragma once

#include "web/SlicingStrategy.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <optional>

struct SubsetCommandLine;
struct SubsetChoices;

// What --format=woff2-slices takes beyond a subset's options.
struct SliceCommandLine
{
    std::optional<SlicingStrategy> strategy; // --slicing
    int sliceSizeKB = 0;                     // --slice-size
    QString cssFamily;                       // --css-family
    bool allStyles = false;                  // --all-styles, with --family
    bool given = false;                      // any of them
};

// --all-styles, and --slicing, --slice-size and --css-family with a value.
bool isSliceFlag(const QString &name);
bool takesSliceValue(const QString &name);
// False with the reason in `error` for a value that is not understood.
bool takeSliceOption(const QString &name, const QString *value, SliceCommandLine *slicing, QString *error);

// The help section of the options above.
QString sliceOptionsHelp();

// The slice folder of a parsed command line whose choices (for its first
// face) are `choices`: every face of the command line, the progress on
// standard error where that is a terminal, SIGINT and SIGTERM as a cancel.
// Returns the exit status as runSubsetCommand() does.
int runSliceCommand(const SubsetCommandLine &commandLine, const SubsetChoices &choices, QTextStream &out,
                    QTextStream &err);
