#include "subset/OtsSanitizer.h"

#include "common/UiText.h"
#include "subset/ChildProcessWait.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

QString findOtsSanitize()
{
    return QStandardPaths::findExecutable(QStringLiteral("ots-sanitize"));
}

SanitizerRun::SanitizerRun(const QString &fontPath)
{
    const QString executable = findOtsSanitize();
    if (executable.isEmpty())
        return;
    process = std::make_unique<QProcess>();
    process->setStandardInputFile(QProcess::nullDevice());
    process->start(executable, {QFileInfo(fontPath).absoluteFilePath()}, QIODevice::ReadOnly);
}

SanitizerRun::~SanitizerRun()
{
    stop();
}

void SanitizerRun::stop()
{
    if (process && process->state() != QProcess::NotRunning) {
        process->kill();
        process->waitForFinished(1000);
    }
}

QString SanitizerRun::defect(int timeoutMs, const std::atomic<bool> *stopFlag)
{
    if (!process)
        return QString();
    const ChildWait wait = waitForChild(process.get(), timeoutMs, stopFlag);
    if (wait == ChildWait::NotStarted)
        return uiText("ots-sanitize could not be started", "无法启动 ots-sanitize");
    if (wait != ChildWait::Finished)
        return uiText("ots-sanitize did not finish within %1 seconds", "ots-sanitize 未在 %1 秒内完成")
            .arg(timeoutMs / 1000);
    if (process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0)
        return QString();

    // Its first error names the table and what is wrong with it; the rest
    // follows from it.
    QString reason;
    const QStringList lines =
        QString::fromLocal8Bit(process->readAllStandardError()).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (line.startsWith(QLatin1String("ERROR: "))) {
            reason = line.mid(7).trimmed();
            break;
        }
    }
    if (reason.isEmpty())
        reason = QString::fromLocal8Bit(process->readAllStandardOutput()).trimmed();
    return uiText("rejected by ots-sanitize: %1", "ots-sanitize 拒绝: %1").arg(reason);
}

QString sanitizerDefect(const QString &fontPath, int timeoutMs, const std::atomic<bool> *stop)
{
    return SanitizerRun(fontPath).defect(timeoutMs, stop);
}
