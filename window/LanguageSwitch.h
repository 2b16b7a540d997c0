#pragma once

#include <QStringList>

// Returns 1 (English) or 0 (Chinese) from the arguments left after Qt took its
// own; the first entry is the program and is not examined.
int useEnglishFromArguments(const QStringList &arguments);

// The same scan over the raw argument vector, decoded as the local encoding.
int useEnglishFromArgv(int argc, char **argv);
