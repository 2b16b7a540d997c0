#pragma once

#include <QFile>
#include <QString>

// Opens `path` into `file` only when it is a regular file once open, without
// ever waiting: a named pipe would block its reader until a writer comes, and
// a device such as /dev/zero never ends. Symbolic links are followed, and a
// path swapped for a pipe after an earlier look is still refused. `mode` adds
// to ReadOnly (Text, say).
bool openRegularFile(const QString &path, QFile *file, QIODevice::OpenMode mode = QIODevice::ReadOnly);
