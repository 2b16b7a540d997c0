#include "window/SliceRunner.h"

#include "common/UiText.h"
#include "font/platform/FontFileLookup.h"
#include "subset/OutputName.h"
#include "subset/SubsetRequest.h"
#include "web/WebFaceStyle.h"
#include "web/WebSliceJob.h"
#include "window/DelayedProgress.h"
#include "window/DoneBox.h"
#include "window/TargetQuestions.h"

#include <QDir>
#include <QMessageBox>
#include <QProgressDialog>

SliceRunner::SliceRunner(QWidget *window) : QObject(window), window(window)
{}

bool SliceRunner::isRunning() const
{
    return job && job->isRunning();
}

void SliceRunner::start(const WebSliceRequest &request)
{
    if (isRunning())
        return;
    if (job)
        job->deleteLater();
    job = new WebSliceJob(this);
    connect(job, &WebSliceJob::finished, this, &SliceRunner::onFinished);
    Q_EMIT runningChanged(true);
    progressDialog =
        makeDelayedProgress(window, uiText("Generating…", "正在生成…"), QStringLiteral("sliceProgress"));
    connect(progressDialog, &QProgressDialog::canceled, job, &WebSliceJob::cancel);
    QProgressDialog *progress = progressDialog;
    connect(job, &WebSliceJob::progressChanged, progress, [progress](int done, int total) {
        progress->setMaximum(total);
        progress->setValue(done);
        progress->setLabelText(uiText("Making slices: %1 of %2", "正在生成分片：%1 / %2").arg(done).arg(total));
    });
    job->start(request);
}

void SliceRunner::cancel()
{
    if (job)
        job->cancel();
}

void SliceRunner::onFinished(const WebSliceOutcome &outcome)
{
    endDelayedProgress(progressDialog);
    Q_EMIT runningChanged(false);
    if (outcome.cancelled)
        return;
    if (!outcome.ok) {
        QMessageBox::warning(window, uiText("Error", "错误"), outcome.errorMessage);
        return;
    }
    showDoneBox(window,
                uiText("Web font slices have been generated.", "网页分片字库已生成。") + QLatin1Char('\n') +
                    QDir::toNativeSeparators(outcome.styleSheet) + QLatin1Char('\n') + webSliceSummary(outcome),
                outcome.missingCharsNote, outcome.missingCodepoints, outcome.folder);
}

bool prepareSliceRequest(QWidget *window, const SubsetChoices &choices, const QList<FontFace> &otherFaces,
                         bool allStyles, const QString &name, const QString &sample, WebSliceRequest *request,
                         QString *errorMessage)
{
    QList<FontFace> faces{choices.face};
    for (const FontFace &face : otherFaces) {
        if (!faces.contains(face))
            faces.append(face);
    }
    if (allStyles) {
        for (const FontFace &face : resolveFamilyFaces(readWebFaceStyle(choices.face).family)) {
            if (!faces.contains(face))
                faces.append(face);
        }
    }
    if (!buildWebSliceRequest(choices, faces, request, errorMessage))
        return false;
    const QString folderName = cleanOutputName(name.trimmed());
    if (folderName.isEmpty()) {
        *errorMessage = uiText("Output name must not be empty.", "输出文件名不能为空。");
        return false;
    }
    request->sampleText = sample.isEmpty() ? defaultSampleText(choices, request->codepoints) : sample;
    *errorMessage = webSliceRequestProblem(*request);
    if (!errorMessage->isEmpty())
        return false;
    request->targetFolder = askSliceFolder(window, folderName, errorMessage);
    return !request->targetFolder.isEmpty();
}
