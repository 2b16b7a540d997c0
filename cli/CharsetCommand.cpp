#include "cli/CharsetCommand.h"

#include "charset/StandardCharsets.h"
#include "cli/FaceCommand.h"
#include "cli/SubsetCommandLine.h"
#include "common/UiText.h"

#include <QTextStream>

QString standardCharsetListing(const QList<int> &coverage)
{
    QString listing;
    for (int set = 0; set < standardCharsetTotal(); ++set) {
        QString line = standardCharsetId(set).leftJustified(15) +
                       QString::number(standardCharsetCharacters(set).size()).rightJustified(6);
        if (set < coverage.size())
            line += QString::number(coverage.at(set)).rightJustified(7);
        listing += line + QStringLiteral("  ") + standardCharsetName(set) + QLatin1Char('\n');
    }
    return listing;
}

int listCharsetsCommand(const SubsetCommandLine &commandLine, QTextStream &out, QTextStream &err)
{
    QList<int> coverage;
    if (!commandLine.fontPath.isEmpty() || !commandLine.family.isEmpty()) {
        FontFace face;
        QString problem;
        if (commandLineFace(commandLine, &face, &problem))
            coverage = standardCharsetCoverage(face);
        if (coverage.isEmpty()) {
            if (problem.isEmpty())
                problem = uiText("Cannot read a font from %1", "无法从 %1 读取字体").arg(face.path);
            err << "vfc-subset: " << problem << '\n';
            err.flush();
            return 1;
        }
    }
    out << standardCharsetListing(coverage);
    out.flush();
    return 0;
}
