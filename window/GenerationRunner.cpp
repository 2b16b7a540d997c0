#include "window/GenerationRunner.h"

#include "common/UiText.h"
#include "subset/OutputMessages.h"
#include "subset/SubsetJob.h"
#include "window/DelayedProgress.h"
#include "window/DetailedTextFiller.h"

#include <QMessageBox>
#include <QProgressDialog>

GenerationRunner::GenerationRunner(QWidget *window) : QObject(window), window(window)
{}

bool GenerationRunner::isRunning() const
{
    return job && job->isRunning();
}

void GenerationRunner::start(const SubsetRequest &request)
{
    if (isRunning())
        return;
    if (job)
        job->deleteLater();
    job = new SubsetJob(this);
    connect(job, &SubsetJob::finished, this, &GenerationRunner::onFinished);
    Q_EMIT runningChanged(true);
    job->start(request);
    progressDialog =
        makeDelayedProgress(window, uiText("Generating…", "正在生成…"), QStringLiteral("generationProgress"));
    connect(progressDialog, &QProgressDialog::canceled, job, &SubsetJob::cancel);
}

void GenerationRunner::cancel()
{
    if (job)
        job->cancel();
}

void GenerationRunner::onFinished(const SubsetOutcome &outcome)
{
    endDelayedProgress(progressDialog);
    Q_EMIT runningChanged(false);
    if (outcome.cancelled)
        return;
    if (!outcome.ok) {
        QMessageBox::warning(window, uiText("Error", "错误"), outcome.errorMessage);
        return;
    }
    showDone(outcome);
}

void GenerationRunner::showDone(const SubsetOutcome &outcome)
{
    QString message = generationDoneText(outcome);
    if (!outcome.missingCharsNote.isEmpty())
        message += QLatin1String("\n\n") + outcome.missingCharsNote;
    QMessageBox box(QMessageBox::Information, uiText("Done", "完成"), message, QMessageBox::Ok, window);
    // The note names a few examples; the whole list is one click away.
    if (!outcome.missingCodepoints.isEmpty())
        fillDetailedText(&box, outcome.missingCodepoints);
    box.exec();
}
