#pragma once

#include <QString>

class QProgressDialog;
class QWidget;

// A busy indicator with Cancel for work that runs off the GUI thread, modal
// to `window`. It appears only once the work has taken half a second, so a
// quick run never flashes it; endDelayedProgress() takes it away.
QProgressDialog *makeDelayedProgress(QWidget *window, const QString &label, const QString &objectName);

// Hides the progress at once and for good when its work ends, even before
// it has shown itself, and deletes it later (it may be the one calling).
void endDelayedProgress(QProgressDialog *progress);
