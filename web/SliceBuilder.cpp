#include "web/SliceBuilder.h"

#include "common/UiText.h"
#include "subset/ChildProcessWait.h"
#include "subset/HbSubsetRunner.h"
#include "subset/OtsSanitizer.h"
#include "subset/SourceFontPath.h"
#include "subset/SubsetCheck.h"
#include "subset/SubsetRequest.h"
#include "subset/UnicodesArgument.h"
#include "subset/Woff2Output.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QMutex>
#include <QTemporaryFile>
#include <QThread>
#include <QThreadPool>
#include <QtConcurrent>

#include <numeric>

namespace {

constexpr int subsetTimeoutMs = 300000;

// hb-subset into `fontPath`; empty on success.
QString runHbSubset(const SliceTask &task, const QString &fontPath, const std::atomic<bool> *stop)
{
    const QString executable = findHbSubsetExecutable(task.toolDirectory);
    if (executable.isEmpty())
        return uiText("hb-subset not found. Please place it beside this executable.",
                      "未找到 hb-subset，请将其放在程序同目录下。");
    QTemporaryFile listFile(QDir(QDir::tempPath()).filePath(QStringLiteral("vfc_unicodes_XXXXXX.txt")));
    QStringList arguments;
    if (!hbSubsetArguments(executable, task.face.path, task.face.index, formatUnicodesArgument(task.codepoints),
                           fontPath, &listFile, &arguments, task.options))
        return uiText("Failed to start hb-subset process.", "无法启动 hb-subset 进程。");
    // A page declares one language and a web font is made for it: the
    // glyphs that locl swaps in for other languages (a Pan-CJK face's
    // Japanese, Korean and Traditional forms) would add a third to every
    // slice and never be drawn.
    if (task.options.layout != LayoutChoice::NoLayout)
        arguments.append(QStringLiteral("--layout-features-=locl"));
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(executable, arguments, QIODevice::ReadOnly);
    switch (waitForChild(&process, subsetTimeoutMs, stop)) {
    case ChildWait::Finished:
        break;
    case ChildWait::NotStarted:
        return uiText("Failed to start hb-subset process.", "无法启动 hb-subset 进程。");
    case ChildWait::Stopped:
        return QStringLiteral("stopped");
    case ChildWait::TimedOut:
        return withSourceFont(uiText("hb-subset did not finish within %1 seconds and was stopped.",
                                     "hb-subset 未在 %1 秒内完成，已被终止。")
                                  .arg(subsetTimeoutMs / 1000),
                              task.face.path);
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return hbSubsetFailureMessage(process.exitStatus(), process.exitCode(), process.readAllStandardError(),
                                      task.face.path);
    return QString();
}

QString damageMessage(const SliceTask &task, const QString &defect)
{
    SubsetRequest request;
    request.face = task.face;
    return subsetDamageMessage(request, defect);
}

} // namespace

QString buildSlice(const SliceTask &task, const std::atomic<bool> *stop, qint64 *bytes)
{
    const QString fontPath = task.woff2Path + QLatin1String(".ttf");
    QString problem = runHbSubset(task, fontPath, stop);
    if (problem.isEmpty()) {
        const QString defect = subsetFontDefect(task.face, task.codepoints, fontPath);
        if (!defect.isEmpty())
            problem = damageMessage(task, defect);
    }
    if (problem.isEmpty())
        problem = compressWoff2(task.toolDirectory, fontPath, task.woff2Path, stop);
    QFile::remove(fontPath);
    if (problem.isEmpty()) {
        const QString defect = sanitizerDefect(task.woff2Path, sanitizerTimeoutMs, stop);
        if (!defect.isEmpty())
            problem = damageMessage(task, defect);
    }
    if (!problem.isEmpty()) {
        QFile::remove(task.woff2Path);
        return problem;
    }
    *bytes = QFileInfo(task.woff2Path).size();
    return QString();
}

QString buildSlicesInParallel(const QList<SliceTask> &tasks, std::atomic<bool> *stop, QList<qint64> *bytes,
                              const std::function<void()> &oneDone)
{
    // Each slice spends its time in child processes; one thread per core
    // keeps every core busy with one of them.
    QThreadPool pool;
    pool.setMaxThreadCount(QThread::idealThreadCount());
    QMutex mutex;
    QString firstError;
    bytes->fill(0, tasks.size());
    QList<int> indexes(tasks.size());
    std::iota(indexes.begin(), indexes.end(), 0);
    QtConcurrent::blockingMap(&pool, indexes, [&](int index) {
        if (stop->load())
            return;
        qint64 size = 0;
        const QString error = buildSlice(tasks.at(index), stop, &size);
        QMutexLocker lock(&mutex);
        if (!error.isEmpty()) {
            if (firstError.isEmpty() && !stop->load())
                firstError = error;
            stop->store(true);
            return;
        }
        (*bytes)[index] = size;
        lock.unlock();
        if (oneDone)
            oneDone();
    });
    return firstError;
}
