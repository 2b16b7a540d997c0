#pragma once

#include <QString>
#include <QStringList>

// Why a slice folder cannot be written at `folder`; empty when it can. A
// folder that is there is no problem here (replacing it is asked about);
// a file or a link in its place is.
QString sliceFolderProblem(const QString &folder);

// A new, empty folder beside `target` where the slices are written before
// they replace it, hidden by its leading dot. The folders above `target`
// that are missing are made first and appended to `createdFolders`. False,
// with the reason naming the path, when the folder cannot be made.
bool makeStagingFolder(const QString &target, QString *staging, QStringList *createdFolders, QString *error);

// Puts the complete folder `staging` in the place of `target` in one step:
// an existing target is swapped with it atomically and then removed, so a
// reader sees either the old folder or the new one, never a mix. False,
// with the reason, when that cannot be done; `target` is then unchanged.
bool placeSliceFolder(const QString &staging, const QString &target, QString *error);
