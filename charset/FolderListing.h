#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

// What the walk needs to know of a file before it lists it for reading.
struct FileFacts
{
    bool regular = false; // a plain file: nothing else is ever opened
    qint64 size = 0;
    // The same for every name of one file (links, hard links), different
    // for different files.
    QByteArray identity;
};

// One folder's entries, as the system lists them. On Unix the listing tells
// each entry's kind with its name and facts are read relative to the open
// folder, so a walk through ten thousand files costs a look at the metadata
// of the files to read only; elsewhere Qt's own listing serves.
class FolderListing
{
public:
    enum class Kind { Folder, File, Unknown }; // Unknown: a link, or a file system that tells no kinds

    struct Entry
    {
        QString name;
        Kind kind = Kind::Unknown;
        QByteArray systemName; // as the system spells it
    };

    explicit FolderListing(const QString &path);
    ~FolderListing();
    FolderListing(const FolderListing &) = delete;
    FolderListing &operator=(const FolderListing &) = delete;

    bool isOpen() const;
    // The next entry, "." and ".." left out; false at the end.
    bool next(Entry *entry);
    // Of an entry of this listing, without following a link; false when
    // they cannot be read.
    bool facts(const Entry &entry, FileFacts *facts) const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// Facts of the file at `path`, following links; false when they cannot be read.
bool fileFacts(const QString &path, FileFacts *facts);
