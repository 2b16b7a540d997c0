#pragma once

#include <QList>
#include <QString>

class QWidget;

// The box that says a run wrote its files: `message`, then the note on the
// requested characters the font lacks with their whole list behind "Show
// Details...", and "Open Folder" beside OK, which opens `folder` in the
// platform's file manager.
void showDoneBox(QWidget *window, const QString &message, const QString &missingCharsNote,
                 const QList<uint> &missingCodepoints, const QString &folder);
