#include "dialog/DelayedProgress.h"

#include "common/UiText.h"

#include <QProgressDialog>

QProgressDialog *makeDelayedProgress(QWidget *window, const QString &label, const QString &objectName,
                                     int useEnglish)
{
    auto *progress = new QProgressDialog(label, uiText(useEnglish, "Cancel", "取消"), 0, 0, window);
    progress->setObjectName(objectName);
    progress->setWindowTitle(window->windowTitle());
    progress->setWindowModality(Qt::WindowModal);
    progress->setMinimumDuration(500);
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    return progress;
}
