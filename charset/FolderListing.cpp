#include "charset/FolderListing.h"

#include "charset/NameGlobs.h"

#include <QFile>
#include <QtGlobal>

#include <algorithm>
#include <cstring>
#include <vector>

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

// Calls `add` with the name and type of each entry of a folder; false when
// it cannot be opened.
template <typename Add> bool eachEntry(const char *path, Add add)
{
    DIR *dir = ::opendir(path);
    if (!dir)
        return false;
    while (const dirent *listed = ::readdir(dir))
        add(listed->d_name, listed->d_type);
    ::closedir(dir);
    return true;
}

} // namespace

struct FolderListing::Private
{
    struct Listed
    {
        quint32 at = 0; // in `bytes`
        quint32 size = 0;
        qint32 wide = -1; // in `wide`; only a name with other characters has one
        Kind kind = Kind::Unknown;
    };
    // What sorting moves about, kept small.
    struct Place
    {
        // The first eight bytes, the first in the highest byte: for two names
        // of ASCII characters, most comparisons end here.
        quint64 start = 0;
        quint32 entry = 0; // in `entries`
        bool ascii = true;
    };

    QLatin1StringView ascii(const Listed &entry) const
    {
        return QLatin1StringView(bytes.data() + entry.at, qsizetype(entry.size));
    }
    // QString's order, that of UTF-16 code units, for names whose starts do
    // not tell: ASCII characters are the same in every encoding, and only
    // the names with others are decoded.
    bool before(const Place &first, const Place &second) const
    {
        const Listed &a = entries[first.entry];
        const Listed &b = entries[second.entry];
        if (first.ascii && second.ascii) {
            if (first.start != second.start)
                return first.start < second.start;
            // No name holds a NUL byte: the same start and one of eight bytes
            // or less means that one begins the other.
            const quint32 common = std::min(a.size, b.size);
            if (common > 8) {
                const int order = std::memcmp(bytes.data() + a.at + 8, bytes.data() + b.at + 8, common - 8);
                if (order != 0)
                    return order < 0;
            }
            return a.size < b.size;
        }
        if (first.ascii)
            return QStringView(wide[size_t(b.wide)]).compare(ascii(a)) > 0;
        if (second.ascii)
            return QStringView(wide[size_t(a.wide)]).compare(ascii(b)) < 0;
        return wide[size_t(a.wide)] < wide[size_t(b.wide)];
    }
    const Listed &at(qsizetype i) const { return entries[order[size_t(i)].entry]; }

    std::vector<char> bytes;
    std::vector<QString> wide;
    std::vector<Listed> entries;
    std::vector<Place> order;
};

FolderListing::FolderListing() : d(std::make_unique<Private>())
{}

FolderListing::~FolderListing() = default;

bool FolderListing::list(const QString &path, const NameGlobs &exclude, const NameGlobs &include)
{
    d->bytes.clear();
    d->wide.clear();
    d->entries.clear();
    d->order.clear();
    const QByteArray encoded = QFile::encodeName(path);
    // Without the right to search it, none of a folder's files could be read.
    if (::access(encoded.constData(), R_OK | X_OK) != 0)
        return false;
    const auto add = [&](const char *name, unsigned char type) {
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            return;
        Private::Listed entry;
        entry.size = quint32(std::strlen(name));
        entry.kind = type == DT_DIR                         ? Kind::Folder
                     : type == DT_REG                       ? Kind::File
                     : type == DT_LNK || type == DT_UNKNOWN ? Kind::Unknown
                                                            : Kind::Other;
        const bool file = entry.kind == Kind::File || entry.kind == Kind::Other;
        unsigned char any = 0;
        for (quint32 i = 0; i < entry.size; ++i)
            any |= static_cast<unsigned char>(name[i]);
        if (any < 0x80) {
            const QLatin1StringView ascii(name, qsizetype(entry.size));
            if (exclude.matches(ascii) || (file && !include.matches(ascii)))
                return;
        } else {
            // What QFile::decodeName() does on Unix, where Qt takes names
            // for UTF-8, without its look for the locale's codec each time.
            QString decoded = QString::fromUtf8(name, qsizetype(entry.size));
            if (exclude.matches(decoded) || (file && !include.matches(decoded)))
                return;
            entry.wide = qint32(d->wide.size());
            d->wide.push_back(std::move(decoded));
        }
        Private::Place place;
        place.entry = quint32(d->entries.size());
        place.ascii = entry.wide < 0;
        for (quint32 i = 0; i < std::min<quint32>(entry.size, 8); ++i)
            place.start |= quint64(static_cast<unsigned char>(name[i])) << (56 - 8 * i);
        entry.at = quint32(d->bytes.size());
        d->bytes.insert(d->bytes.end(), name, name + entry.size);
        d->entries.push_back(entry);
        d->order.push_back(place);
    };
    if (!eachEntry(encoded.constData(), add))
        return false;
    std::sort(d->order.begin(), d->order.end(),
              [this](const Private::Place &a, const Private::Place &b) { return d->before(a, b); });
    return true;
}

qsizetype FolderListing::size() const
{
    return qsizetype(d->order.size());
}

FolderListing::Kind FolderListing::kind(qsizetype i) const
{
    return d->at(i).kind;
}

QString FolderListing::name(qsizetype i) const
{
    const Private::Listed &entry = d->at(i);
    return entry.wide < 0 ? QString(d->ascii(entry)) : d->wide[size_t(entry.wide)];
}

QString FolderListing::pathIn(const QString &folder, qsizetype i) const
{
    const Private::Listed &entry = d->at(i);
    if (entry.wide >= 0)
        return folder + QLatin1Char('/') + d->wide[size_t(entry.wide)];
    // Written in place: a walk builds one for every file it lists.
    QString path(folder.size() + 1 + qsizetype(entry.size), Qt::Uninitialized);
    QChar *out = std::copy_n(folder.constData(), folder.size(), path.data());
    *out++ = QLatin1Char('/');
    for (quint32 at = entry.at; at < entry.at + entry.size; ++at)
        *out++ = QLatin1Char(d->bytes[at]);
    return path;
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
    struct Listed
    {
        QString name;
        Kind kind = Kind::Unknown;
    };

    std::vector<Listed> entries;
};

FolderListing::FolderListing() : d(std::make_unique<Private>())
{}

FolderListing::~FolderListing() = default;

bool FolderListing::list(const QString &path, const NameGlobs &exclude, const NameGlobs &include)
{
    d->entries.clear();
    const QFileInfo folder(path);
    if (!folder.isReadable() || !folder.isExecutable())
        return false;
    QDirIterator iterator(path, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (iterator.hasNext()) {
        iterator.next();
        const QFileInfo listed = iterator.fileInfo();
        const Kind kind = listed.isSymLink() ? Kind::Unknown
                          : listed.isDir()   ? Kind::Folder
                          : listed.isFile()  ? Kind::File
                                             : Kind::Other;
        const QString name = listed.fileName();
        if (exclude.matches(name) || ((kind == Kind::File || kind == Kind::Other) && !include.matches(name)))
            continue;
        d->entries.push_back({name, kind});
    }
    std::sort(d->entries.begin(), d->entries.end(),
              [](const Private::Listed &a, const Private::Listed &b) { return a.name < b.name; });
    return true;
}

qsizetype FolderListing::size() const
{
    return qsizetype(d->entries.size());
}

FolderListing::Kind FolderListing::kind(qsizetype i) const
{
    return d->entries[size_t(i)].kind;
}

QString FolderListing::name(qsizetype i) const
{
    return d->entries[size_t(i)].name;
}

QString FolderListing::pathIn(const QString &folder, qsizetype i) const
{
    return folder + QLatin1Char('/') + d->entries[size_t(i)].name;
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
