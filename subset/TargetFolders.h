#pragma once

#include <QString>
#include <QStringList>

// Makes the folder `folder` and every folder above it that is not there yet,
// from the outermost in, and appends each one made to `created`. False, with
// the system's reason in the chosen language, when one cannot be made (a
// file stands in the way, no permission); `created` then still lists those
// made before it.
bool createMissingFolders(const QString &folder, QStringList *created, QString *reason);

// Takes the folders that createMissingFolders() made away again, innermost
// first, as far as they are still empty.
void removeCreatedFolders(const QStringList &created);
