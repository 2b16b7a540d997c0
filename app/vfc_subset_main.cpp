#include "app/SubsetCommand.h"
#include "app/SubsetCommandLine.h"

#include <QGuiApplication>
#include <QTextStream>

#include <fontconfig/fontconfig.h>

#include <cstdio>

namespace {

QtMessageHandler previousHandler = nullptr;

// Starting the platform layer without a desktop session makes Qt warn about
// things this program never uses (the runtime folder of a display server);
// standard error is where scripts read the program's own messages.
void dropStartUpWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        previousHandler(type, context, message);
}

} // namespace

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const SubsetCommandLine commandLine = parseSubsetCommandLine(arguments);

    QTextStream out(stdout);
    QTextStream err(stderr);
    if (commandLine.action != SubsetCommandLine::Action::Subset)
        return runSubsetCommand(commandLine, QString(), out, err);

    // The missing-character check opens the font with QRawFont, which needs
    // the Gui module's font engines, but never a display: the offscreen
    // platform is forced, whatever QT_QPA_PLATFORM says. Qt gets only the
    // program name besides, so that none of the user's arguments is taken for
    // one of Qt's own options.
    char platformOption[] = "-platform";
    char platformName[] = "offscreen";
    char *qtArguments[] = {argv[0], platformOption, platformName, nullptr};
    int qtArgumentCount = 3;
    // The font comes by path, so the system's font configuration and list of
    // installed fonts are of no use here, yet Qt's font engine would load
    // them all (several milliseconds) just to pick rendering hints. An empty
    // configuration leaves the glyph lookup of the note unchanged.
    FcConfig *emptyConfiguration = FcConfigCreate();
    FcConfigSetCurrent(emptyConfiguration);
    FcConfigDestroy(emptyConfiguration);

    previousHandler = qInstallMessageHandler(dropStartUpWarnings);
    QGuiApplication application(qtArgumentCount, qtArguments);
    qInstallMessageHandler(previousHandler);

    return runSubsetCommand(commandLine, QCoreApplication::applicationDirPath(), out, err);
}
