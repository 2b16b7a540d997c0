#pragma once

#include <QString>

// The output name as typed, reduced to letters, digits, "_", "-" and ".",
// judged one UTF-16 unit at a time (so characters above U+FFFF go too).
// Slashes and colons never survive, so the file lands in the chosen folder.
QString cleanOutputName(const QString &name);

// The file name a generation writes: the cleaned name with `suffix` appended
// unless it already ends so (any case), and a doubled suffix (".ttf.ttf")
// reduced to one. Empty when nothing of the name is left.
QString outputFileName(const QString &name, const QString &suffix = QStringLiteral(".ttf"));
