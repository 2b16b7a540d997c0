#include "cli/SubsetCommand.h"
#include "cli/SubsetCommandLine.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const SubsetCommandLine commandLine = parseSubsetCommandLine(arguments);

    QTextStream out(stdout);
    QTextStream err(stderr);
    if (commandLine.action != SubsetCommandLine::Action::Subset &&
        commandLine.action != SubsetCommandLine::Action::Recipe)
        return runSubsetCommand(commandLine, QString(), out, err);

    // Only for the program's own directory, where hb-subset lives. Qt gets
    // nothing but the program name, so that no argument of the user's is
    // taken for one of Qt's own options.
    int qtArgumentCount = 1;
    QCoreApplication application(qtArgumentCount, argv);
    return runSubsetCommand(commandLine, QCoreApplication::applicationDirPath(), out, err);
}
