#include "cli/RunEnding.h"

#include "cli/SubsetCommandLine.h"
#include "subset/MissingCharacters.h"

#include <QTextStream>

void writeLine(QTextStream &stream, const QString &text)
{
    stream << text;
    if (!text.endsWith(QLatin1Char('\n')))
        stream << '\n';
    stream.flush();
}

int finishRun(const SubsetCommandLine &commandLine, const RunEnding &ending, QTextStream &out, QTextStream &err)
{
    if (ending.stoppedBy)
        return 128 + ending.stoppedBy;
    if (!ending.ok) {
        writeLine(err, QStringLiteral("vfc-subset: ") + ending.errorMessage);
        return 1;
    }
    if (!ending.missingCharsNote.isEmpty())
        writeLine(err, ending.missingCharsNote);
    if (commandLine.report) {
        for (const QString &line : ending.sizeReports)
            writeLine(err, line);
    }
    if (commandLine.listMissing) {
        for (const QString &line : missingCharactersList(ending.missingCodepoints))
            out << line << '\n';
        out.flush();
    }
    return 0;
}
