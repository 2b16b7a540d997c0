#include "charset/CollectionWalk.h"

#include <QFile>

#include <memory>

namespace {

// Link chains longer than this are refused by the system as loops, too.
constexpr int longestLinkChain = 40;

} // namespace

Walker::Walker(const CollectionPatterns &patterns, const std::atomic<bool> *cancel, FileQueue *files)
    : include(patterns.include), exclude(patterns.exclude), cancel(cancel), files(files)
{}

void Walker::visitNamed(const QString &path)
{
    if (stopped())
        return;
    const QFileInfo info(path);
    if (info.isSymLink() && !info.exists())
        brokenLink(info, path);
    else if (!info.exists())
        skip(CharacterCollection::Unreadable, path);
    else if (info.isDir())
        walkFolder(info.canonicalFilePath(), path, true);
    else
        listFile(info.canonicalFilePath(), path);
    handOver();
}

void Walker::brokenLink(const QFileInfo &link, const QString &name)
{
    // A link that leads back to itself through other links is a loop; one
    // that leads nowhere is merely stale and not worth a word.
    QSet<QString> passed;
    QString current = link.absoluteFilePath();
    for (int step = 0; step < longestLinkChain; ++step) {
        if (passed.contains(current)) {
            skip(CharacterCollection::SymlinkLoop, name);
            return;
        }
        passed.insert(current);
        const QFileInfo hop(current);
        if (!hop.isSymLink())
            return;
        current = hop.symLinkTarget();
    }
    skip(CharacterCollection::SymlinkLoop, name);
}

void Walker::walkFolder(const QString &canonical, const QString &shown, bool named)
{
    if (ancestors.contains(canonical)) {
        skip(CharacterCollection::SymlinkLoop, shown);
        return;
    }
    // The same folder reached again through a link adds nothing new.
    if (seenFolders.contains(canonical))
        return;
    seenFolders.insert(canonical);
    // One listing per depth: a folder's walk goes on after its subfolders'.
    const size_t depth = size_t(ancestors.size());
    if (listings.size() <= depth)
        listings.push_back(std::make_unique<FolderListing>());
    FolderListing &listing = *listings[depth];
    if (!listing.list(canonical, exclude, include)) {
        skip(CharacterCollection::Unreadable, shown);
        return;
    }
    ancestors.append(canonical);
    listed.reserve(listed.size() + listing.size());
    // Inside a folder named by the user, names are given from there.
    const QString prefix = named ? QString() : shown + QLatin1Char('/');
    // Only links and the files to read cost a look at their metadata; the
    // listing has left out what the globs refuse.
    for (qsizetype i = 0; i < listing.size(); ++i) {
        if (stopped())
            break;
        const FolderListing::Kind kind = listing.kind(i);
        if (kind == FolderListing::Kind::Folder) {
            handOver();
            const QString name = listing.name(i);
            if (walkedInto(name))
                walkFolder(listing.pathIn(canonical, i), prefix + name, false);
        } else if (kind == FolderListing::Kind::Unknown) {
            const QString name = listing.name(i);
            visitEntry(QFileInfo(listing.pathIn(canonical, i)), name, prefix + name);
        } else if (kind == FolderListing::Kind::File) {
            listed.append({listing.pathIn(canonical, i), prefix, canonical.size() + 1});
        } else {
            // A named pipe would wait for a writer and a device may never
            // end, so nothing but a regular file is opened.
            skip(CharacterCollection::NotRegular, prefix + listing.name(i));
        }
    }
    handOver();
    ancestors.removeLast();
}

// An entry whose kind its folder does not tell: a link, or an entry of a file
// system that tells no kinds.
void Walker::visitEntry(const QFileInfo &entry, const QString &name, const QString &shown)
{
    // Resolving every path would cost the walk more than reading the files;
    // only a link leads anywhere but below its folder.
    const bool link = entry.isSymLink();
    if (link && !entry.exists()) {
        brokenLink(entry, shown);
        return;
    }
    const QString canonical = link ? entry.canonicalFilePath() : entry.absoluteFilePath();
    if (entry.isDir()) {
        if (walkedInto(name))
            walkFolder(canonical, shown, false);
    } else if (include.matches(name)) {
        listFile(canonical, shown);
    }
}

// A file named by the user or reached through a link: no listing has told
// what it is.
void Walker::listFile(const QString &canonical, const QString &name)
{
    FileFacts facts;
    if (!fileFacts(canonical, &facts))
        skip(CharacterCollection::Unreadable, name);
    else if (!facts.regular)
        skip(CharacterCollection::NotRegular, name);
    else
        listed.append({canonical, name});
}
