#pragma once

#include "cli/SubsetCommandLine.h"

#include <QString>

class QTextStream;

// vfc-subset --recipe=FILE: builds every output of the recipe, or with
// --check compares them with what the recipe asks for today and lists each
// lacking character to `out`. Returns the exit status: 0 built or up to
// date, 1 a failure or an output out of date, 128 + the signal's number.
int runRecipeCommand(const SubsetCommandLine &commandLine, const QString &toolDirectory, QTextStream &out,
                     QTextStream &err);

// --save-recipe=FILE: writes the recipe of a subset command line, its paths
// relative to FILE's folder, and builds nothing. Returns the exit status.
int saveRecipeCommand(const SubsetCommandLine &commandLine, QTextStream &err);
