#include "window/DelayedProgress.h"

#include "common/UiText.h"

#include <QProgressDialog>

QProgressDialog *makeDelayedProgress(QWidget *window, const QString &label, const QString &objectName)
{
    auto *progress = new QProgressDialog(label, uiText("Cancel", "取消"), 0, 0, window);
    progress->setObjectName(objectName);
    progress->setWindowTitle(window->windowTitle());
    progress->setWindowModality(Qt::WindowModal);
    progress->setMinimumDuration(500);
    // The delay counts from here: without a first value the dialog keeps the
    // four seconds its constructor started.
    progress->setValue(0);
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    return progress;
}

void endDelayedProgress(QProgressDialog *progress)
{
    if (!progress)
        return;
    progress->disconnect();
    // The deletion waits for the event loop this call returns to, while the
    // box that shows the result runs a nested one: without this, the delayed
    // show would still fire in there and put the progress over the result.
    progress->cancel();
    progress->hide();
    progress->deleteLater();
}
