#include "charset/FolderListing.h"

#include <QFile>
#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cstring>
#else
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
    const quint64 numbers[] = {quint64(status.st_dev), quint64(status.st_ino)};
    facts.identity = QByteArray(reinterpret_cast<const char *>(numbers), sizeof numbers);
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
        entry->systemName = listed->d_name;
        entry->name = QFile::decodeName(entry->systemName);
        entry->kind = listed->d_type == DT_DIR                                   ? Kind::Folder
                      : listed->d_type == DT_LNK || listed->d_type == DT_UNKNOWN ? Kind::Unknown
                                                                                 : Kind::File;
        return true;
    }
    return false;
}

bool FolderListing::facts(const Entry &entry, FileFacts *facts) const
{
    struct stat status;
    if (!d->dir ||
        ::fstatat(::dirfd(d->dir), entry.systemName.constData(), &status, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    *facts = factsOf(status);
    return true;
}

bool fileFacts(const QString &path, FileFacts *facts)
{
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return false;
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
    facts.identity = info.canonicalFilePath().toUtf8();
    return facts;
}

} // namespace

struct FolderListing::Private
{
    QString path;
    std::unique_ptr<QDirIterator> iterator;
};

FolderListing::FolderListing(const QString &path) : d(std::make_unique<Private>())
{
    d->path = path;
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
    entry->kind = listed.isSymLink() ? Kind::Unknown : listed.isDir() ? Kind::Folder : Kind::File;
    return true;
}

bool FolderListing::facts(const Entry &entry, FileFacts *facts) const
{
    const QFileInfo info(d->path + QLatin1Char('/') + entry.name);
    if (!info.exists())
        return false;
    *facts = factsOf(info);
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

#endif
