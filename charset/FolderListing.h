#pragma once

#include <QString>

class NameGlobs;
class QFile;

#include <memory>

// The same for every name of one file (links, hard links), different for
// different files: the device and node numbers where the system tells them,
// else a 128-bit digest of the path without links.
struct FileIdentity
{
    quint64 device = 0;
    quint64 node = 0;

    bool operator==(const FileIdentity &other) const { return device == other.device && node == other.node; }
};

// Numbers need no hashing of bytes: one multiplication spreads them.
inline size_t qHash(const FileIdentity &identity, size_t seed = 0)
{
    const quint64 mixed = (identity.node ^ (identity.device << 40)) * 0x9E3779B97F4A7C15ull;
    return size_t(mixed ^ (mixed >> 29)) ^ seed;
}

// What a file is, asked by the walk of a file reached through a link and by
// a reader of every file it has opened.
struct FileFacts
{
    bool regular = false; // a plain file: nothing else is ever opened
    qint64 size = 0;
    FileIdentity identity;
};

// The entries of one folder that a walk looks at, in the order of their
// names as QString compares them. On Unix the listing tells each entry's kind
// with its name, so a walk through ten thousand files costs no look at any
// file's metadata, and a name stays the listed bytes until it is asked for:
// most entries of a large tree are files of other kinds, only matched against
// globs. Elsewhere Qt's own listing serves. A walk lists folder after folder
// with one listing per depth, keeping its storage.
class FolderListing
{
public:
    enum class Kind {
        Folder,
        File,    // a regular file
        Other,   // a pipe, socket or device: never opened
        Unknown, // a link, or a file system that tells no kinds
    };

    FolderListing();
    ~FolderListing();
    FolderListing(const FolderListing &) = delete;
    FolderListing &operator=(const FolderListing &) = delete;

    // Lists the folder at `path` in place of the entries listed before,
    // leaving out ".", "..", the entries whose names match `exclude` and the
    // files of known kinds (regular or not) whose names do not match
    // `include`; false when the folder cannot be read or its files cannot be
    // reached.
    bool list(const QString &path, const NameGlobs &exclude, const NameGlobs &include);
    qsizetype size() const;
    Kind kind(qsizetype i) const;
    QString name(qsizetype i) const;
    // `folder`, a slash and the entry's name.
    QString pathIn(const QString &folder, qsizetype i) const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// Facts of the file at `path`, following links; false when they cannot be read.
bool fileFacts(const QString &path, FileFacts *facts);
// Opens `file` on the file at `path` for reading, unbuffered, and tells what
// it is; false when it cannot be opened. On Unix a pipe put in the place of a
// file listed as regular does not keep the opening waiting for a writer, and
// the facts come from the open descriptor.
bool openForReading(QFile *file, const QString &path, FileFacts *facts);
