#include "subset/SubsetJob.h"

#include "common/UiText.h"
#include "subset/HbSubsetRunner.h"
#include "subset/MissingCharacters.h"
#include "subset/SourceFontPath.h"
#include "subset/SubsetFinishing.h"
#include "subset/TemporarySubsetPath.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QMutex>
#include <QTemporaryFile>
#include <QTimer>
#include <QtConcurrent>

// The worker's side of the checks after hb-subset. Either the worker sees the
// cancel and removes its own files, or the job takes them over; the mutex
// makes sure exactly one of the two happens, even when the job is destroyed
// while the worker still runs.
struct SubsetJob::Finishing
{
    QMutex mutex;
    bool cancelled = false;
    bool done = false;
    std::atomic<bool> stop{false}; // read by the worker without the mutex
    QString subsetPath;
    QFuture<MissingReport> missingLookup;
    FinishingResult result;
    MissingReport missing;

    static void removeFiles(const QString &subsetPath, const FinishingResult &result)
    {
        QFile::remove(subsetPath);
        for (const StagedFile &file : result.files)
            QFile::remove(file.temporaryPath);
    }

    // Worker thread. `reportStage` is only called while the run is not
    // cancelled, with the mutex held: a job is cancelled before it goes away.
    void run(const SubsetRequest &request, const std::function<void(SubsetStage)> &reportStage)
    {
        const auto reportUnlessCancelled = [this, &reportStage](SubsetStage stage) {
            QMutexLocker lock(&mutex);
            if (!cancelled)
                reportStage(stage);
        };
        FinishingResult finished = finishSubsetOutput(request, subsetPath, &stop, reportUnlessCancelled);
        // Long done by now: it started with hb-subset.
        MissingReport report = missingLookup.result();
        QMutexLocker lock(&mutex);
        if (cancelled) {
            removeFiles(subsetPath, finished);
            return;
        }
        result = finished;
        missing = report;
        done = true;
    }

    // Job's thread: true when the job now owns the result.
    void cancel()
    {
        stop = true;
        QMutexLocker lock(&mutex);
        cancelled = true;
        if (done)
            removeFiles(subsetPath, result);
    }
};

SubsetJob::SubsetJob(QObject *parent) : QObject(parent), finishTimer(new QTimer(this))
{
    finishTimer->setSingleShot(true);
    connect(finishTimer, &QTimer::timeout, this, [this] {
        const int seconds = request.finishTimeoutMs / 1000;
        stopProcess();
        fail(withSourceFont(uiText("hb-subset did not finish within %1 seconds and was stopped.",
                                   "hb-subset 未在 %1 秒内完成，已被终止。")
                                .arg(seconds),
                            request.face.path));
    });
}

SubsetJob::~SubsetJob()
{
    if (running) {
        stopProcess();
        if (finishing)
            finishing->cancel();
        QFile::remove(temporaryPath);
    }
}

void SubsetJob::start(const SubsetRequest &newRequest)
{
    Q_ASSERT(!running);
    request = newRequest;
    ++runNumber;
    pending = SubsetOutcome();
    running = true;
    finishing.reset();

    // A request built from choices had its source checked then; one made by
    // hand has not.
    QString problem = request.sourceChecked ? QString() : sourceFontProblem(request.face);
    for (const QString &path : outputFilePaths(request.targetPath, request.format, request.writeCss)) {
        if (problem.isEmpty())
            problem = targetProblem(path, request.face);
    }
    if (!problem.isEmpty()) {
        failLater(problem);
        return;
    }

    const QString executable = findHbSubsetExecutable(request.toolDirectory);
    if (executable.isEmpty()) {
        failLater(uiText("hb-subset not found. Please place it beside this executable.",
                         "未找到 hb-subset，请将其放在程序同目录下。"));
        return;
    }

    temporaryPath = temporarySubsetPath();
    listFile = std::make_unique<QTemporaryFile>(
        QDir(QDir::tempPath()).filePath(QStringLiteral("vfc_unicodes_XXXXXX.txt")));
    QStringList arguments;
    if (!hbSubsetArguments(executable, request.face.path, request.face.index, request.unicodesArgument,
                           temporaryPath, listFile.get(), &arguments, request.options)) {
        failLater(uiText("Failed to start hb-subset process.", "无法启动 hb-subset 进程。"));
        return;
    }

    process = std::make_unique<QProcess>();
    process->setStandardInputFile(QProcess::nullDevice());
    connect(process.get(), &QProcess::started, this,
            [this] { Q_EMIT stageChanged(SubsetStage::Subsetting); });
    connect(process.get(), &QProcess::finished, this, &SubsetJob::onProcessFinished);
    connect(process.get(), &QProcess::errorOccurred, this, &SubsetJob::onProcessError);
    finishTimer->start(request.finishTimeoutMs);
    const quint64 run = runNumber;
    process->start(executable, arguments, QIODevice::ReadOnly);

    // Looked up on a worker while hb-subset works: for whole blocks that is
    // tens of thousands of look-ups, off both the waiting time and the
    // window's thread. A start that failed at once has ended this run
    // already.
    if (run != runNumber || !running)
        return;
    missingLookup = QtConcurrent::run([face = request.face, codepoints = request.codepoints] {
        MissingReport report;
        report.codepoints = findMissingCodepoints(face, codepoints);
        report.note = missingCharactersNote(report.codepoints);
        return report;
    });
}

void SubsetJob::onProcessError(QProcess::ProcessError error)
{
    // Other errors end in finished() as well, which judges them.
    if (error != QProcess::FailedToStart)
        return;
    finishTimer->stop();
    process->disconnect(this);
    process.release()->deleteLater(); // this slot runs inside one of its signals
    listFile.reset();
    fail(uiText("Failed to start hb-subset process.", "无法启动 hb-subset 进程。"));
}

void SubsetJob::onProcessFinished(int exitCode, QProcess::ExitStatus status)
{
    finishTimer->stop();
    const QByteArray standardError = process->readAllStandardError();
    process.release()->deleteLater(); // this slot runs inside one of its signals
    listFile.reset();

    if (status != QProcess::NormalExit || exitCode != 0) {
        fail(hbSubsetFailureMessage(status, exitCode, standardError, request.face.path));
        return;
    }

    finishing = std::make_shared<Finishing>();
    finishing->subsetPath = temporaryPath;
    finishing->missingLookup = missingLookup;
    auto *watcher = new QFutureWatcher<void>(this);
    const std::shared_ptr<Finishing> state = finishing;
    // Bound to this run's state: a cancelled run's worker may end while a
    // later run is going on, and must not finish that one.
    connect(watcher, &QFutureWatcher<void>::finished, this, [this, state] { onFinishingDone(state); });
    connect(watcher, &QFutureWatcher<void>::finished, watcher, &QObject::deleteLater);
    const SubsetRequest copy = request;
    // Posted to this job's thread, and dropped there once another run took over.
    const auto reportStage = [this, state](SubsetStage stage) {
        QMetaObject::invokeMethod(
            this,
            [this, state, stage] {
                if (running && state == finishing)
                    Q_EMIT stageChanged(stage);
            },
            Qt::QueuedConnection);
    };
    watcher->setFuture(QtConcurrent::run([state, copy, reportStage] { state->run(copy, reportStage); }));
}

void SubsetJob::onFinishingDone(const std::shared_ptr<Finishing> &state)
{
    if (!running || state != finishing)
        return;
    finishing.reset();
    QMutexLocker lock(&state->mutex);
    if (state->cancelled)
        return;
    const FinishingResult result = state->result;
    pending.missingCodepoints = state->missing.codepoints;
    pending.missingCharsNote = state->missing.note;
    state->cancelled = true; // the job owns the files from here on
    lock.unlock();

    if (!result.errorMessage.isEmpty()) {
        Finishing::removeFiles(temporaryPath, result);
        fail(result.errorMessage);
        return;
    }
    QString error;
    if (!placeStagedFiles(result.files, &error, request.createFolders)) {
        Finishing::removeFiles(temporaryPath, result);
        fail(error);
        return;
    }
    QFile::remove(temporaryPath);
    // Only what is on disk under its name is reported as written.
    for (const StagedFile &file : result.files) {
        if (!QFileInfo::exists(file.targetPath)) {
            fail(uiText("Failed to save to path: %1", "无法保存到目标路径: %1").arg(file.targetPath));
            return;
        }
    }
    pending.ok = true;
    pending.writtenPath = request.targetPath;
    pending.format = request.format;
    for (const StagedFile &file : result.files)
        pending.writtenFiles.append(file.targetPath);
    pending.sizeReport = result.sizeReport;
    finish(pending);
}

void SubsetJob::cancel()
{
    if (!running)
        return;
    stopProcess();
    if (finishing) {
        finishing->cancel();
        finishing.reset();
    }
    QFile::remove(temporaryPath);
    SubsetOutcome outcome;
    outcome.cancelled = true;
    finish(outcome);
}

void SubsetJob::stopProcess()
{
    finishTimer->stop();
    if (process) {
        process->disconnect(this);
        process->kill();
        // Collects the killed child at once, so no zombie outlives the job;
        // after SIGKILL this returns within milliseconds.
        process->waitForFinished(1000);
        process.reset();
    }
    listFile.reset();
}

void SubsetJob::fail(const QString &message)
{
    QFile::remove(temporaryPath);
    SubsetOutcome outcome;
    outcome.errorMessage = message;
    finish(outcome);
}

void SubsetJob::failLater(const QString &message)
{
    // From the event loop, as a run's own failures come, so that callers see
    // one order of events; a cancel in between wins.
    const quint64 run = runNumber;
    QTimer::singleShot(0, this, [this, run, message] {
        if (run == runNumber)
            fail(message);
    });
}

void SubsetJob::finish(SubsetOutcome outcome)
{
    if (!running)
        return;
    running = false;
    Q_EMIT finished(outcome);
}

SubsetOutcome runSubsetJob(const SubsetRequest &request)
{
    SubsetJob job;
    SubsetOutcome outcome;
    QEventLoop loop;
    QObject::connect(&job, &SubsetJob::finished, &loop, [&](const SubsetOutcome &result) {
        outcome = result;
        loop.quit();
    });
    job.start(request);
    loop.exec();
    return outcome;
}
