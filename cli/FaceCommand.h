#pragma once

#include "cli/SubsetCommandLine.h"
#include "font/FontFace.h"

#include <QString>

class QTextStream;

// The face a command line names: FONT with --face-index, or the regular
// face of the installed --family, found as the window's picker finds it.
// False, with the reason, for a family that leads to no font file.
bool commandLineFace(const SubsetCommandLine &commandLine, FontFace *face, QString *errorMessage);

// The index check that makes a usage error (exit 2): a face past the last
// one of the file. Damaged collections are the run's failure, not this.
QString faceIndexUsageProblem(const FontFace &face);

// --list-faces: one line per face to `out`, "index<TAB>family<TAB>style";
// returns the exit status.
int listFacesCommand(const SubsetCommandLine &commandLine, QTextStream &out, QTextStream &err);
