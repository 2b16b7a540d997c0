#include "subset/Woff2Output.h"

#include "common/SystemReason.h"
#include "common/UiText.h"
#include "subset/ChildProcessWait.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

QString compressWoff2(const QString &toolDirectory, const QString &fontPath, const QString &woff2Path,
                      const std::atomic<bool> *stop)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("vfc-woff2"), {toolDirectory});
    if (program.isEmpty())
        return uiText("vfc-woff2 not found in %1", "在 %1 中未找到 vfc-woff2").arg(toolDirectory);
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
    // perror() wrote "PATH: REASON" in the C locale.
    const QString said = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    const qsizetype colon = said.lastIndexOf(QLatin1String(": "));
    return colon < 0 ? said : said.left(colon + 2) + systemReasonFromText(said.mid(colon + 2));
}
