#pragma once

#include <QString>

// hb-subset beside the program (`toolDirectory`), else in its harfbuzz/
// subfolder; nowhere else, neither the working directory nor PATH. Empty when
// neither exists.
QString findHbSubsetExecutable(const QString &toolDirectory);

// Runs hb-subset from `toolDirectory` on `fontPath`, keeping the code points
// of `unicodesArgument` (hb-subset's --unicodes syntax) and all layout
// features, writing to `outputPath`. True only when the tool exited normally
// with code 0 and left a file with font tables at `outputPath`. On failure
// `errorMessage` (if given) receives hb-subset's own standard-error text or a
// message in the chosen language; it stays untouched when the tool reported
// success but wrote no file. The caller removes `outputPath` after a failure.
//
// Waits at most `startTimeoutMs` for the tool to start and `finishTimeoutMs`
// for it to finish; a tool that outlasts the second limit is killed.
bool runHbSubset(const QString &fontPath, const QString &unicodesArgument, const QString &outputPath,
                 const QString &toolDirectory, int startTimeoutMs, int finishTimeoutMs, int useEnglish,
                 QString *errorMessage);
