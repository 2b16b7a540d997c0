#pragma once

#include "app/SubsetCommandLine.h"

#include <QSet>
#include <QString>

class QTextStream;

// The characters one command line asks for, in the two forms a generation
// takes: the code points that the missing-character note is about, and
// hb-subset's --unicodes value (blocks and ranges as ranges, text as single
// code points, the same value the window would pass for each of them).
struct SubsetSelection
{
    QSet<uint> codepoints;
    QString unicodesArgument;
};

// Adds up the command line's selections, reading its text files as UTF-8.
// False when a file cannot be read or nothing is left to keep, with the
// reason in the command line's language in `errorMessage` (when given).
bool gatherSubsetSelection(const SubsetCommandLine &commandLine, SubsetSelection *selection,
                           QString *errorMessage);

// Carries out a parsed command line and returns the exit status: 0 done,
// 1 the generation failed, 2 the command line is wrong. Help, the version and
// the block table go to `out`; errors and the missing-character note go to
// `err`. hb-subset is looked for in `toolDirectory`.
int runSubsetCommand(const SubsetCommandLine &commandLine, const QString &toolDirectory, QTextStream &out,
                     QTextStream &err);
