#include "common/RegularFile.h"

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QFileInfo>
#endif

bool openWithoutWaiting(const QByteArray &nativePath, QFile *file, QIODevice::OpenMode mode,
                        OpenedFileFacts *facts)
{
#ifdef Q_OS_UNIX
    const int handle = ::open(nativePath.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (handle < 0)
        return false;
    struct stat status;
    // QFile takes the handle whatever it is, and closes it from then on.
    if (::fstat(handle, &status) != 0 ||
        !file->open(handle, mode | QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(handle);
        return false;
    }
    facts->regular = S_ISREG(status.st_mode);
    facts->size = status.st_size;
    facts->device = quint64(status.st_dev);
    facts->inode = quint64(status.st_ino);
    return true;
#else
    const QString path = QFile::decodeName(nativePath);
    const QFileInfo info(path);
    if (!info.isFile())
        return false;
    file->setFileName(path);
    if (!file->open(mode | QIODevice::ReadOnly))
        return false;
    facts->regular = true;
    facts->size = file->size();
    return true;
#endif
}

bool openRegularFile(const QString &path, QFile *file, QIODevice::OpenMode mode)
{
    OpenedFileFacts facts;
    if (!openWithoutWaiting(QFile::encodeName(path), file, mode, &facts))
        return false;
    if (facts.regular)
        return true;
    file->close();
    return false;
}
