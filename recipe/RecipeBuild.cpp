#include "recipe/RecipeBuild.h"

#include "common/UiText.h"
#include "subset/OutputConversion.h"
#include "subset/SubsetFinishing.h"
#include "subset/SubsetJob.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QTemporaryDir>
#include <QTimer>
#include <QtConcurrent>

struct RecipeBuild::Staging
{
    QTemporaryDir folder{QDir(QDir::tempPath()).filePath(QStringLiteral("vfc_recipe_XXXXXX"))};
    std::atomic<bool> stop{false};
};

namespace {

QString outputFailure(int index, const QString &path, const QString &message)
{
    return uiText("Output %1 (%2) failed: %3", "输出 %1（%2）失败：%3").arg(index + 1).arg(path, message);
}

QString saveFailure(const QString &path)
{
    return uiText("Failed to save to path: %1", "无法保存到目标路径: %1").arg(path);
}

} // namespace

RecipeBuild::RecipeBuild(QObject *parent) : QObject(parent)
{}

RecipeBuild::~RecipeBuild()
{
    cancel();
}

void RecipeBuild::start(const SubsetRequest &newRequest, const QList<RecipeOutput> &newOutputs)
{
    Q_ASSERT(!running);
    running = true;
    ++runNumber;
    request = newRequest;
    outputs = newOutputs;
    pending = RecipeBuildOutcome();
    staging = std::make_shared<Staging>();

    QString problem = staging->folder.isValid() ? QString() : saveFailure(QDir::tempPath());
    for (int i = 0; problem.isEmpty() && i < outputs.size(); ++i) {
        const RecipeOutput &output = outputs.at(i);
        for (const QString &path : outputFilePaths(output.path, output.format, output.css)) {
            const QString reason = targetProblem(path, request.face);
            if (problem.isEmpty() && !reason.isEmpty())
                problem = outputFailure(i, output.path, reason);
        }
    }
    if (!problem.isEmpty()) {
        pending.errorMessage = problem;
        QTimer::singleShot(0, this, [this, outcome = pending] { finish(outcome); });
        return;
    }

    SubsetRequest shared = request;
    shared.format = OutputFormat::TrueType;
    shared.writeCss = false;
    shared.createFolders = false;
    shared.targetPath = staging->folder.filePath(QStringLiteral("subset.ttf"));
    job = new SubsetJob(this);
    connect(job, &SubsetJob::finished, this, &RecipeBuild::onSubsetFinished);
    job->start(shared);
}

void RecipeBuild::onSubsetFinished(const SubsetOutcome &outcome)
{
    if (!running)
        return;
    if (!outcome.ok) {
        pending.errorMessage = outcome.errorMessage;
        finish(pending);
        return;
    }
    pending.missingCharsNote = outcome.missingCharsNote;
    pending.missingCodepoints = outcome.missingCodepoints;

    // Each output converts a copy of its own, named after the staging folder
    // so that it cannot meet another file beside its target; the outputs do
    // not wait for each other.
    converted = QList<Converted>(outputs.size());
    left = int(outputs.size());
    for (int i = 0; i < outputs.size(); ++i) {
        auto *watcher = new QFutureWatcher<Converted>(this);
        // A cancelled run's workers may end during a later run.
        connect(watcher, &QFutureWatcher<Converted>::finished, this, [this, watcher, i, run = runNumber] {
            watcher->deleteLater();
            if (run == runNumber)
                onConverted(i, watcher->result());
        });
        SubsetRequest own = request;
        own.targetPath = outputs.at(i).path;
        own.format = outputs.at(i).format;
        own.writeCss = outputs.at(i).css;
        own.lvgl = outputs.at(i).lvgl;
        watcher->setFuture(QtConcurrent::run([state = staging, made = outcome.writtenPath, own, i] {
            Converted result;
            const QString copy = state->folder.filePath(
                QStringLiteral("%1.%2").arg(QFileInfo(state->folder.path()).fileName()).arg(i));
            QFile file(made);
            const QByteArray font = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
            if (state->stop || font.isEmpty() || !QFile::copy(made, copy)) {
                result.errorMessage = saveFailure(copy);
                return result;
            }
            const FinishingResult finished =
                convertSubsetOutput(own, copy, font, readSubsetFontFacts(font), &state->stop);
            result.errorMessage = finished.errorMessage;
            result.files = finished.files;
            result.sizeReport = finished.sizeReport;
            return result;
        }));
    }
}

void RecipeBuild::onConverted(int index, const Converted &result)
{
    if (!running)
        return;
    converted[index] = result;
    if (--left > 0)
        return;
    QList<StagedFile> files;
    for (int i = 0; i < converted.size(); ++i) {
        if (!converted.at(i).errorMessage.isEmpty()) {
            pending.errorMessage = outputFailure(i, outputs.at(i).path, converted.at(i).errorMessage);
            finish(pending);
            return;
        }
        files += converted.at(i).files;
        pending.sizeReports.append(converted.at(i).sizeReport);
    }
    pending.ok = placeStagedFiles(files, &pending.errorMessage, true);
    if (pending.ok) {
        for (const StagedFile &file : std::as_const(files))
            pending.writtenFiles.append(file.targetPath);
    }
    finish(pending);
}

void RecipeBuild::cancel()
{
    if (!running)
        return;
    staging->stop = true;
    if (job) {
        job->disconnect(this);
        job->cancel();
    }
    RecipeBuildOutcome cancelled;
    cancelled.cancelled = true;
    finish(cancelled);
}

void RecipeBuild::finish(const RecipeBuildOutcome &outcome)
{
    if (!running)
        return;
    running = false;
    if (job) {
        job->deleteLater(); // possibly inside its own signal
        job = nullptr;
    }
    // Whatever was not placed goes with the folder, once a worker still
    // converting lets go of it.
    staging.reset();
    Q_EMIT finished(outcome);
}

RecipeBuildOutcome runRecipeBuild(const SubsetRequest &request, const QList<RecipeOutput> &outputs)
{
    RecipeBuild build;
    RecipeBuildOutcome outcome;
    QEventLoop loop;
    QObject::connect(&build, &RecipeBuild::finished, &loop, [&](const RecipeBuildOutcome &result) {
        outcome = result;
        loop.quit();
    });
    build.start(request, outputs);
    loop.exec();
    return outcome;
}
