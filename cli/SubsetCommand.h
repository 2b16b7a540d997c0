#pragma once

#include "cli/SubsetCommandLine.h"
#include "subset/SubsetRequest.h"

#include <QString>

class QTextStream;

// The user's choices on one command line for the source `face` (resolved
// once, by commandLineFace()), its text files read as UTF-8 ("-" is standard
// input; several files or folders are collected, and `collectionSummary`,
// when not null, then says what was found). False, with the reason in the
// command line's language, when a file cannot be read.
bool subsetChoicesFromCommandLine(const SubsetCommandLine &commandLine, const FontFace &face,
                                  const QString &toolDirectory, SubsetChoices *choices, QString *errorMessage,
                                  QString *collectionSummary = nullptr);

// Carries out a parsed command line and returns the exit status: 0 done,
// 1 the generation failed, 2 the command line is wrong, 128 + the signal's
// number when SIGINT or SIGTERM stopped the run. Help, the version and
// the block table go to `out`; errors and the missing-character note go to
// `err`. hb-subset is looked for in `toolDirectory`.
int runSubsetCommand(const SubsetCommandLine &commandLine, const QString &toolDirectory, QTextStream &out,
                     QTextStream &err);
