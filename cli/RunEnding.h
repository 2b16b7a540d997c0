#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QTextStream;
struct SubsetCommandLine;

// How a run that writes files ended, whatever it wrote.
struct RunEnding
{
    int stoppedBy = 0; // the signal that stopped it; 0: it ran to its end
    bool ok = false;
    QString errorMessage;
    QString missingCharsNote;
    QStringList sizeReports; // for --report, a line each
    QList<uint> missingCodepoints;
};

// Writes `text` and a line break unless it ends in one.
void writeLine(QTextStream &stream, const QString &text);

// Tells the user how the run ended, as --report and --list-missing ask, and
// returns the exit status: 0, 1 after a failure, 128 plus the signal's
// number after a stop, as a shell expects of a program a signal ended.
int finishRun(const SubsetCommandLine &commandLine, const RunEnding &ending, QTextStream &out, QTextStream &err);
