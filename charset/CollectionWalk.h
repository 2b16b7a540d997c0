#pragma once

#include "charset/CharacterCollector.h"
#include "charset/FolderListing.h"

#include <QFileInfo>
#include <QList>
#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QStringList>

#include <atomic>
#include <condition_variable>
#include <mutex>

// A file the walk found to read. Nothing but its name has been looked at:
// the reader, which opens it anyway, asks the open file what it is.
struct ListedFile
{
    QString path;
    QString shown; // as the summary names it
};

// The files listed so far, handed out one at a time to the reading threads
// while the walk goes on: reading need not wait for the whole tree.
class FileQueue
{
public:
    // A folder's files at once: waking a waiting reader for each file would
    // cost more than reading it.
    void add(const QList<ListedFile> &some)
    {
        if (some.isEmpty())
            return;
        const std::lock_guard<std::mutex> hold(mutex);
        files.append(some);
        listed.notify_all();
    }
    void finish()
    {
        const std::lock_guard<std::mutex> hold(mutex);
        finished = true;
        listed.notify_all();
    }
    // The next file not taken yet and its place in the list, waiting for the
    // walk to list one; false once the walk is over and every file is taken.
    bool take(int *index, ListedFile *file)
    {
        std::unique_lock<std::mutex> hold(mutex);
        listed.wait(hold, [this] { return next < files.size() || finished; });
        if (next == files.size())
            return false;
        *index = int(next);
        *file = files.at(next++);
        return true;
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
    void walkFolder(const QFileInfo &folder, const QString &canonical, const QString &shown, bool named);
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
        files->add(listed);
        listed.clear();
    }

    QRegularExpression include;
    QRegularExpression exclude;
    bool excluding;
    const std::atomic<bool> *cancel;
    FileQueue *files;
    QList<ListedFile> listed; // not handed over yet
    QSet<QString> seenFolders;
    QStringList ancestors; // canonical paths of the folders being walked
};
