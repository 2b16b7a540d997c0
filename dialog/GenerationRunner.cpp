#include "dialog/GenerationRunner.h"

#include "common/UiText.h"
#include "subset/MissingCharacters.h"
#include "subset/OutputMessages.h"
#include "subset/SubsetJob.h"

#include <QMessageBox>
#include <QProgressDialog>

GenerationRunner::GenerationRunner(int useEnglish, QWidget *window)
    : QObject(window), useEnglish(useEnglish), window(window), job(new SubsetJob(this))
{
    connect(job, &SubsetJob::finished, this, &GenerationRunner::onFinished);
}

bool GenerationRunner::isRunning() const
{
    return job->isRunning();
}

void GenerationRunner::start(const SubsetRequest &request)
{
    if (job->isRunning())
        return;
    Q_EMIT runningChanged(true);
    job->start(request);
    // Shown only when the run takes a while; a quick run never flashes it.
    progressDialog = new QProgressDialog(uiText(useEnglish, "Generating…", "正在生成…"),
                                         uiText(useEnglish, "Cancel", "取消"), 0, 0, window);
    progressDialog->setObjectName(QStringLiteral("generationProgress"));
    progressDialog->setWindowTitle(window->windowTitle());
    progressDialog->setWindowModality(Qt::WindowModal);
    progressDialog->setMinimumDuration(500);
    progressDialog->setAutoClose(false);
    progressDialog->setAutoReset(false);
    connect(progressDialog, &QProgressDialog::canceled, job, &SubsetJob::cancel);
}

void GenerationRunner::cancel()
{
    job->cancel();
}

void GenerationRunner::onFinished(const SubsetOutcome &outcome)
{
    if (progressDialog) {
        progressDialog->disconnect(job);
        progressDialog->deleteLater();
    }
    Q_EMIT runningChanged(false);
    if (outcome.cancelled)
        return;
    if (!outcome.ok) {
        QMessageBox::warning(window, uiText(useEnglish, "Error", "错误"), outcome.errorMessage);
        return;
    }
    showDone(outcome);
}

void GenerationRunner::showDone(const SubsetOutcome &outcome)
{
    QString message = generationDoneText(outcome, useEnglish);
    if (!outcome.missingCharsNote.isEmpty())
        message += QLatin1String("\n\n") + outcome.missingCharsNote;
    QMessageBox box(QMessageBox::Information, uiText(useEnglish, "Done", "完成"), message, QMessageBox::Ok,
                    window);
    // The note names a few examples; the whole list is one click away.
    if (!outcome.missingCodepoints.isEmpty())
        box.setDetailedText(missingCharactersList(outcome.missingCodepoints).join(QLatin1Char('\n')));
    box.exec();
}
