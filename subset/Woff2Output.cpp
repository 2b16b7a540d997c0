#include "subset/Woff2Output.h"

#include "subset/ChildProcessWait.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

QString compressWoff2(const QString &toolDirectory, const QString &fontPath, const QString &woff2Path,
                      const std::atomic<bool> *stop)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("vfc-woff2"), {toolDirectory});
    if (program.isEmpty())
        return QStringLiteral("vfc-woff2 not found in %1").arg(toolDirectory);
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(program, {fontPath, woff2Path}, QIODevice::ReadOnly);
    const ChildWait wait = waitForChild(&process, -1, stop);
    if (wait == ChildWait::Finished && process.exitStatus() == QProcess::NormalExit &&
        process.exitCode() == 0)
        return QString();
    QFile::remove(woff2Path);
    if (wait == ChildWait::Stopped)
        return QStringLiteral("stopped");
    if (wait == ChildWait::NotStarted)
        return process.errorString();
    return QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
}
