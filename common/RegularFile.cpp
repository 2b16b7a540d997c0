#include "common/RegularFile.h"

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QFileInfo>
#endif

bool openRegularFile(const QString &path, QFile *file, QIODevice::OpenMode mode)
{
#ifdef Q_OS_UNIX
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    struct stat status;
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        return false;
    }
    return file->open(descriptor, mode | QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
#else
    if (!QFileInfo(path).isFile())
        return false;
    file->setFileName(path);
    return file->open(mode | QIODevice::ReadOnly);
#endif
}
