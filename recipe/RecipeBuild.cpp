#include "recipe/RecipeBuild.h"

#include "common/UiText.h"
#include "subset/SubsetFinishing.h"
#include "subset/SubsetJob.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

RecipeBuild::RecipeBuild(QObject *parent) : QObject(parent) {}

RecipeBuild::~RecipeBuild()
{
    cancel();
}

QString RecipeBuild::outputFailure(int index, const QString &message) const
{
    return uiText("Output %1 (%2) failed: %3", "输出 %1（%2）失败：%3")
        .arg(index + 1)
        .arg(outputs.at(index).path, message);
}

void RecipeBuild::start(const SubsetRequest &request, const QList<RecipeOutput> &newOutputs)
{
    Q_ASSERT(!running);
    running = true;
    outputs = newOutputs;
    outcomes = QList<SubsetOutcome>(outputs.size());
    staging = std::make_unique<QTemporaryDir>(QDir(QDir::tempPath()).filePath(QStringLiteral("vfc_recipe_XXXXXX")));

    QString problem;
    for (int i = 0; problem.isEmpty() && i < outputs.size(); ++i) {
        for (const QString &path : outputFilePaths(outputs.at(i).path, outputs.at(i).format, outputs.at(i).css)) {
            const QString reason = targetProblem(path, request.face);
            if (problem.isEmpty() && !reason.isEmpty())
                problem = outputFailure(i, reason);
        }
        if (problem.isEmpty() && !QDir(staging->path()).mkpath(QString::number(i)))
            problem = outputFailure(i, uiText("Failed to save to path: %1", "无法保存到目标路径: %1")
                                           .arg(staging->path()));
    }
    if (problem.isEmpty() && !staging->isValid())
        problem = uiText("Failed to save to path: %1", "无法保存到目标路径: %1").arg(QDir::tempPath());
    if (!problem.isEmpty()) {
        RecipeBuildOutcome failed;
        failed.errorMessage = problem;
        QTimer::singleShot(0, this, [this, failed] { finish(failed); });
        return;
    }

    // The outputs share nothing but the request, so they are made side by
    // side; each job waits on its own child processes.
    pending = int(outputs.size());
    for (int i = 0; i < outputs.size(); ++i) {
        SubsetRequest own = request;
        own.targetPath = QDir(staging->path()).filePath(QString::number(i) + QLatin1Char('/') +
                                                       QFileInfo(outputs.at(i).path).fileName());
        own.format = outputs.at(i).format;
        own.writeCss = outputs.at(i).css;
        own.createFolders = false;
        auto *job = new SubsetJob(this);
        jobs.append(job);
        connect(job, &SubsetJob::finished, this, [this, i](const SubsetOutcome &outcome) { onJobFinished(i, outcome); });
        job->start(own);
    }
}

void RecipeBuild::onJobFinished(int index, const SubsetOutcome &outcome)
{
    if (!running)
        return;
    outcomes[index] = outcome;
    if (--pending > 0)
        return;

    RecipeBuildOutcome result;
    for (int i = 0; i < outcomes.size(); ++i) {
        if (!outcomes.at(i).ok) {
            result.errorMessage = outputFailure(i, outcomes.at(i).errorMessage);
            finish(result);
            return;
        }
    }
    // Each file waits beside its target under a name of its own until all
    // are there; made under the target's name (which the style sheet and the
    // C array quote), it takes the staging folder's unique name first.
    QList<StagedFile> files;
    const QString unique = QFileInfo(staging->path()).fileName();
    for (int i = 0; i < outcomes.size(); ++i) {
        const RecipeOutput &output = outputs.at(i);
        const QStringList targets = outputFilePaths(output.path, output.format, output.css);
        const QStringList &made = outcomes.at(i).writtenFiles;
        for (int f = 0; f < made.size() && f < targets.size(); ++f) {
            const QString waiting = QDir(staging->path()).filePath(QStringLiteral("%1.%2.%3").arg(unique).arg(i).arg(f));
            if (!QFile::rename(made.at(f), waiting)) {
                result.errorMessage = outputFailure(i, uiText("Failed to save to path: %1", "无法保存到目标路径: %1")
                                                           .arg(waiting));
                finish(result);
                return;
            }
            files.append({waiting, targets.at(f)});
        }
        result.sizeReports.append(outcomes.at(i).sizeReport);
    }
    QString error;
    if (!placeStagedFiles(files, &error, true)) {
        result.errorMessage = error;
        finish(result);
        return;
    }
    result.ok = true;
    result.missingCharsNote = outcomes.first().missingCharsNote;
    result.missingCodepoints = outcomes.first().missingCodepoints;
    for (const StagedFile &file : std::as_const(files))
        result.writtenFiles.append(file.targetPath);
    finish(result);
}

void RecipeBuild::cancel()
{
    if (!running)
        return;
    for (SubsetJob *job : std::as_const(jobs)) {
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
    // Possibly inside one of their own signals.
    for (SubsetJob *job : std::as_const(jobs))
        job->deleteLater();
    jobs.clear();
    staging.reset(); // whatever was not placed goes with it
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
