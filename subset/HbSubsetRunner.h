#pragma once

#include "subset/SubsetOptions.h"

#include <QProcess>
#include <QString>
#include <QStringList>

class QTemporaryFile;

// hb-subset beside the program (`toolDirectory`), else in its harfbuzz/
// subfolder; nowhere else, neither the working directory nor PATH. Empty when
// neither exists.
QString findHbSubsetExecutable(const QString &toolDirectory);

// hb-subset's arguments for one run: the source (always absolute, so it
// never starts with "-"), the face, the output, the code points, every
// layout feature and what `options` change; default options add nothing.
// A list too long for one command line goes into `listFile`, which the
// caller keeps until the run is over; false when that file cannot be written.
bool hbSubsetArguments(const QString &executable, const QString &fontPath, int faceIndex,
                       const QString &unicodesArgument, const QString &outputPath, QTemporaryFile *listFile,
                       QStringList *arguments, const SubsetOptions &options = SubsetOptions());

// The message for a run that ended without success: the exit code (or
// that hb-subset was stopped), hb-subset's own standard-error text under it
// where it wrote one, and the source font, so that the user knows which
// file could not be read.
QString hbSubsetFailureMessage(QProcess::ExitStatus status, int exitCode, const QByteArray &standardError,
                               const QString &fontPath);
