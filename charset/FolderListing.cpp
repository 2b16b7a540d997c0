#include "charset/FolderListing.h"

#include <QFile>
#include <QtGlobal>

#include <cstring>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QCryptographicHash>
#include <QDirIterator>
#include <QFileInfo>
#endif

#ifdef Q_OS_UNIX

namespace {

FileFacts factsOf(const struct stat &status)
{
    FileFacts facts;
    facts.regular = S_ISREG(status.st_mode);
    facts.size = qint64(status.st_size);
    facts.identity.device = quint64(status.st_dev);
    facts.identity.node = quint64(status.st_ino);
    return facts;
}

} // namespace

struct FolderListing::Private
{
    DIR *dir = nullptr;
};

FolderListing::FolderListing(const QString &path) : d(std::make_unique<Private>())
{
    d->dir = ::opendir(QFile::encodeName(path).constData());
}

FolderListing::~FolderListing()
{
    if (d->dir)
        ::closedir(d->dir);
}

bool FolderListing::isOpen() const
{
    return d->dir != nullptr;
}

bool FolderListing::next(Entry *entry)
{
    while (d->dir) {
        const dirent *listed = ::readdir(d->dir);
        if (!listed)
            return false;
        if (std::strcmp(listed->d_name, ".") == 0 || std::strcmp(listed->d_name, "..") == 0)
            continue;
        // What QFile::decodeName() does on Unix, where Qt takes names for
        // UTF-8, without its look for the locale's codec each time.
        entry->name = QString::fromUtf8(listed->d_name);
        entry->kind = listed->d_type == DT_DIR                                   ? Kind::Folder
                      : listed->d_type == DT_REG                                 ? Kind::File
                      : listed->d_type == DT_LNK || listed->d_type == DT_UNKNOWN ? Kind::Unknown
                                                                                 : Kind::Other;
        return true;
    }
    return false;
}

bool fileFacts(const QString &path, FileFacts *facts)
{
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return false;
    *facts = factsOf(status);
    return true;
}

bool openForReading(QFile *file, const QString &path, FileFacts *facts)
{
    const int handle =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (handle < 0)
        return false;
    struct stat status;
    // QFile takes a handle open for reading whatever it is, and closes it
    // from then on.
    if (::fstat(handle, &status) != 0 ||
        !file->open(handle, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(handle);
        return false;
    }
    *facts = factsOf(status);
    return true;
}

#else

namespace {

FileFacts factsOf(const QFileInfo &info)
{
    FileFacts facts;
    facts.regular = info.isFile();
    facts.size = info.size();
    const QByteArray digest =
        QCryptographicHash::hash(info.canonicalFilePath().toUtf8(), QCryptographicHash::Md5);
    std::memcpy(&facts.identity.device, digest.constData(), 8);
    std::memcpy(&facts.identity.node, digest.constData() + 8, 8);
    return facts;
}

} // namespace

struct FolderListing::Private
{
    std::unique_ptr<QDirIterator> iterator;
};

FolderListing::FolderListing(const QString &path) : d(std::make_unique<Private>())
{
    if (QFileInfo(path).isReadable())
        d->iterator = std::make_unique<QDirIterator>(path, QDir::AllEntries | QDir::Hidden | QDir::System |
                                                               QDir::NoDotAndDotDot);
}

FolderListing::~FolderListing() = default;

bool FolderListing::isOpen() const
{
    return d->iterator != nullptr;
}

bool FolderListing::next(Entry *entry)
{
    if (!d->iterator || !d->iterator->hasNext())
        return false;
    d->iterator->next();
    const QFileInfo listed = d->iterator->fileInfo();
    entry->name = listed.fileName();
    entry->kind = listed.isSymLink() ? Kind::Unknown
                  : listed.isDir()   ? Kind::Folder
                  : listed.isFile()  ? Kind::File
                                     : Kind::Other;
    return true;
}

bool fileFacts(const QString &path, FileFacts *facts)
{
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    *facts = factsOf(info);
    return true;
}

bool openForReading(QFile *file, const QString &path, FileFacts *facts)
{
    file->setFileName(path);
    if (!file->open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return false;
    *facts = factsOf(QFileInfo(path));
    facts->regular = facts->regular && !file->isSequential();
    return true;
}

#endif
