#pragma once

#include <QString>

class QProgressDialog;
class QWidget;

// A busy indicator with Cancel for work that runs off the GUI thread, modal
// to `window`. It appears only once the work has taken half a second, so a
// quick run never flashes it; the caller deletes it when the work ends.
QProgressDialog *makeDelayedProgress(QWidget *window, const QString &label, const QString &objectName,
                                     int useEnglish);
