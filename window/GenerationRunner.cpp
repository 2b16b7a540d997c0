#include "window/GenerationRunner.h"

#include "common/UiText.h"
#include "subset/OutputMessages.h"
#include "subset/SubsetJob.h"
#include "window/DelayedProgress.h"
#include "window/DoneBox.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QProgressDialog>

namespace {

QString stageText(SubsetStage stage)
{
    switch (stage) {
    case SubsetStage::Subsetting:
        return uiText("Subsetting…", "正在裁剪…");
    case SubsetStage::Checking:
        return uiText("Checking…", "正在检查…");
    case SubsetStage::Compressing:
        return uiText("Compressing…", "正在压缩…");
    case SubsetStage::Rasterizing:
        return uiText("Rasterizing…", "正在栅格化…");
    }
    return QString();
}

} // namespace

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
    // Until the run says what it is doing.
    progressDialog =
        makeDelayedProgress(window, uiText("Generating…", "正在生成…"), QStringLiteral("generationProgress"));
    connect(progressDialog, &QProgressDialog::canceled, job, &SubsetJob::cancel);
    QProgressDialog *progress = progressDialog;
    connect(job, &SubsetJob::stageChanged, progress,
            [progress](SubsetStage stage) { progress->setLabelText(stageText(stage)); });
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
    showDoneBox(window, generationDoneText(outcome), outcome.missingCharsNote, outcome.missingCodepoints,
                QFileInfo(outcome.writtenPath).absolutePath());
}
