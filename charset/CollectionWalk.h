#pragma once

#include "charset/CharacterCollector.h"
#include "charset/FolderListing.h"
#include "charset/NameGlobs.h"

#include <QFileInfo>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

// A file the walk found to read. Nothing but its name has been looked at:
// the reader, which opens it anyway, asks the open file what it is.
struct ListedFile
{
    QString path;
    // How the summary names the file: `shown` alone, or followed by the
    // file's name, the end of `path` from `nameAt` on. Most names are never
    // shown, and a folder's files share the start.
    QString shown;
    qsizetype nameAt = -1;

    QString shownName() const { return nameAt < 0 ? shown : shown + path.mid(nameAt); }
};
// Moved about in memory as bytes when a list of them grows.
Q_DECLARE_TYPEINFO(ListedFile, Q_RELOCATABLE_TYPE);

// The files listed so far, handed out one at a time to the reading threads
// while the walk goes on: reading need not wait for the whole tree.
class FileQueue
{
public:
    // A folder's files at once: waking a waiting reader for each file would
    // cost more than reading it.
    void add(QList<ListedFile> &&some)
    {
        if (some.isEmpty())
            return;
        const std::lock_guard<std::mutex> hold(mutex);
        files.append(std::move(some));
        listed.notify_all();
    }
    void finish()
    {
        const std::lock_guard<std::mutex> hold(mutex);
        finished = true;
        listed.notify_all();
    }
    // A few files not taken yet and their places in the list, waiting for
    // the walk to list one; false once the walk is over and every file is
    // taken. Taking several at once spares the walk and the other readers
    // waits for the lock; as few as that, so that no reader is left with a
    // long tail.
    bool take(std::vector<std::pair<int, ListedFile>> *some)
    {
        some->clear();
        std::unique_lock<std::mutex> hold(mutex);
        listed.wait(hold, [this] { return next < files.size() || finished; });
        for (const qsizetype last = std::min<qsizetype>(next + 4, files.size()); next < last; ++next)
            some->emplace_back(int(next), files.at(next));
        return !some->empty();
    }
    // Only once the walk is over and the readers are done.
    const QList<ListedFile> &all() const { return files; }

private:
    std::mutex mutex;
    std::condition_variable listed;
    QList<ListedFile> files;
    qsizetype next = 0;
    bool finished = false;
};

// Lists the files to read, and counts what it leaves out on the way.
class Walker
{
public:
    Walker(const CollectionPatterns &patterns, const std::atomic<bool> *cancel, FileQueue *files);

    void visitNamed(const QString &path);

    CharacterCollection result;

private:
    bool stopped() const { return cancel && cancel->load(std::memory_order_relaxed); }
    void skip(CharacterCollection::Skip kind, const QString &name)
    {
        if (result.skipped[kind]++ == 0)
            result.skippedExample[kind] = name;
    }
    // `canonical`: the path without links, as the caller knows it; `shown`:
    // how the summary names it.
    void walkFolder(const QString &canonical, const QString &shown, bool named);
    void visitEntry(const QFileInfo &entry, const QString &name, const QString &shown);
    void listFile(const QString &canonical, const QString &shown);
    // Version control, tool caches and installed packages are not the
    // product's own text.
    static bool walkedInto(const QString &name)
    {
        return !name.startsWith(QLatin1Char('.')) && name != QLatin1String("node_modules");
    }
    void brokenLink(const QFileInfo &link, const QString &name);
    void handOver()
    {
        files->add(std::move(listed));
        listed.clear();
    }

    NameGlobs include;
    NameGlobs exclude;
    const std::atomic<bool> *cancel;
    FileQueue *files;
    QList<ListedFile> listed; // not handed over yet
    QSet<QString> seenFolders;
    QStringList ancestors;                                // canonical paths of the folders being walked
    std::vector<std::unique_ptr<FolderListing>> listings; // one per depth
};
