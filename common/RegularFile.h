#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// What an opened file is, from the open handle itself.
struct OpenedFileFacts
{
    bool regular = false;
    qint64 size = 0;
    // Tells one file reached under two names apart from two files.
    quint64 device = 0;
    quint64 inode = 0;
};

// Opens the file at `nativePath` (the file system's own bytes, which need not
// be UTF-8) into `file` for reading without ever waiting: a named pipe would
// block its reader until a writer comes. `mode` adds to ReadOnly. `facts`
// says what was opened; anything, regular or not, counts as opened.
bool openWithoutWaiting(const QByteArray &nativePath, QFile *file, QIODevice::OpenMode mode,
                        OpenedFileFacts *facts);

// The same, keeping only a regular file: a device such as /dev/zero never
// ends either. Symbolic links are followed, and a path swapped for a pipe
// after an earlier look is still refused.
bool openRegularFile(const QString &path, QFile *file, QIODevice::OpenMode mode = QIODevice::ReadOnly);
