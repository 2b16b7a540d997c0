#pragma once

#include <QList>
#include <QString>

class QTextStream;
struct SubsetCommandLine;

// One line per standard character set: its id for --charset, its size, when
// `coverage` is not empty how many of its characters the font has, and its
// name in the chosen language. Columns are separated by spaces, the name last.
QString standardCharsetListing(const QList<int> &coverage);

// vfc-subset --list-charsets [FONT]: the listing to `out`, with the coverage
// of FONT's face when one is given. Returns the exit status: 1, with the
// reason on `err`, when FONT cannot be read as a font.
int listCharsetsCommand(const SubsetCommandLine &commandLine, QTextStream &out, QTextStream &err);
