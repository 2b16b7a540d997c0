#pragma once

#include <QString>
#include <QStringList>

class QTextStream;
struct SubsetCommandLine;

// --include=PATTERNS, --exclude=PATTERNS and the flag --collect-only, whose free arguments are
// the files and folders to read.
bool isCollectFlag(const QString &name);
bool takesCollectValue(const QString &name);
// Takes one of the options above into `commandLine`; false with the reason
// in `error` when its value lists no pattern.
bool takeCollectOption(const QString &name, const QString *value, SubsetCommandLine *commandLine,
                       QString *error);

// Reads the --text-file paths other than "-" into `texts`. A single file is
// read as the one-file import reads it, all of it, strictly UTF-8; several,
// or any folder, are collected (see collectCharacters()) into one text, and
// `summary` then says what was found and skipped. False, with the reason,
// when a path does not exist or the single file cannot be read.
bool readCommandLineTextFiles(const SubsetCommandLine &commandLine, QStringList *texts, QString *summary,
                              QString *errorMessage);

// vfc-subset --collect-only: the characters found, in code point order, to
// `out`, the summary to `err`. Returns the exit status.
int collectOnlyCommand(const SubsetCommandLine &commandLine, QTextStream &out, QTextStream &err);
