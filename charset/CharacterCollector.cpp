#include "charset/CharacterCollector.h"

#include "charset/CodepointSet.h"
#include "charset/CollectionWalk.h"
#include "charset/TextFileScan.h"
#include "common/UiText.h"

#include <QHash>
#include <QLocale>
#include <QThread>
#include <QtConcurrent>

#include <algorithm>
#include <array>
#include <mutex>
#include <string>
#include <vector>

namespace {

// The files read so far, by identity: the same file reached under two names
// (a link, a hard link) is read once, by whichever thread opens it first.
// Which of its names the summary gives must not depend on that race: the
// first in list order. Every file opened asks, so the identities are spread
// over several locks that the threads seldom wait for.
class Identities
{
public:
    bool claim(const FileIdentity &identity, int index)
    {
        Stripe &stripe = stripes[qHash(identity) % stripes.size()];
        const std::lock_guard<std::mutex> hold(stripe.mutex);
        const auto found = stripe.claims.find(identity);
        if (found == stripe.claims.end()) {
            stripe.claims.insert(identity, {index, index});
            return true;
        }
        found->first = std::min(found->first, index);
        return false;
    }
    // Only once every reader is done: the place in the list to name the
    // file read at `index` by.
    QHash<int, int> namedBy() const
    {
        QHash<int, int> places;
        for (const Stripe &stripe : stripes) {
            for (const Claim &claim : stripe.claims) {
                if (claim.first != claim.read)
                    places.insert(claim.read, claim.first);
            }
        }
        return places;
    }

private:
    struct Claim
    {
        int read;
        int first;
    };
    struct Stripe
    {
        std::mutex mutex;
        QHash<FileIdentity, Claim> claims;
    };
    std::array<Stripe, 16> stripes;
};

// Reads the files on as many threads as the machine has cores, the calling
// thread joining in once its walk is over: the decoding costs more than the
// reading, and the files do not depend on each other. Each thread takes the
// next file not yet taken and gathers into a set of its own; the outcomes are
// added up in list order, so that the summary does not depend on which
// thread was quicker.
class Readers
{
public:
    Readers(FileQueue *files, const std::atomic<bool> *cancel, const CollectionProgress &progress)
        : files(files),
          cancel(cancel),
          progress(progress),
          sets(size_t(QThread::idealThreadCount())),
          outcomes(sets.size())
    {
        for (size_t thread = 1; thread < sets.size(); ++thread)
            helpers.append(QtConcurrent::run([this, thread] { read(&sets[thread], &outcomes[thread]); }));
    }

    // After the walk: reads on the calling thread too, then adds up.
    void finish(CharacterCollection *result);

private:
    using Outcome = std::pair<int, TextFileScan>; // place in the list
    void read(CodepointSet *found, std::vector<Outcome> *mine);

    FileQueue *files;
    const std::atomic<bool> *cancel;
    const CollectionProgress &progress;
    std::vector<CodepointSet> sets;
    std::vector<std::vector<Outcome>> outcomes; // per thread
    Identities identities;
    QList<QFuture<void>> helpers;
    std::atomic<int> filesRead = 0;
    std::atomic<qint64> bytesRead = 0;
};

void Readers::read(CodepointSet *found, std::vector<Outcome> *mine)
{
    QByteArray buffer;
    std::vector<std::pair<int, ListedFile>> taken;
    while (files->take(&taken)) {
        for (const auto &[place, file] : taken) {
            const int i = place; // a lambda cannot capture a structured binding before C++20
            if (cancel && cancel->load(std::memory_order_relaxed))
                return;
            qint64 bytes = 0;
            const TextFileScan outcome =
                scanTextFile(file.path, &buffer, found, &bytes, [this, i](const FileIdentity &identity) {
                    return identities.claim(identity, i);
                });
            if (outcome == TextFileScan::ReadBefore)
                continue;
            mine->emplace_back(i, outcome);
            // The counts are shared by the threads: kept only when asked for.
            if (progress && (outcome == TextFileScan::Read || outcome == TextFileScan::NotUtf8)) {
                const int count = ++filesRead;
                const qint64 total = bytesRead += bytes;
                progress(count, total);
            }
        }
    }
}

void Readers::finish(CharacterCollection *result)
{
    read(&sets[0], &outcomes[0]);
    for (QFuture<void> &helper : helpers)
        helper.waitForFinished();

    CodepointSet found;
    for (const CodepointSet &set : sets) {
        for (uint codepoint : set.toList())
            found.insert(codepoint);
    }
    result->codepoints = found.toList();
    std::vector<Outcome> all;
    for (const std::vector<Outcome> &some : outcomes)
        all.insert(all.end(), some.begin(), some.end());
    const QHash<int, int> namedBy = identities.namedBy();
    for (Outcome &outcome : all)
        outcome.first = namedBy.value(outcome.first, outcome.first);
    std::sort(all.begin(), all.end(), [](const Outcome &a, const Outcome &b) { return a.first < b.first; });
    static const CharacterCollection::Skip skips[] = {
        CharacterCollection::SkipKinds, CharacterCollection::SkipKinds,  CharacterCollection::Binary,
        CharacterCollection::TooLarge,  CharacterCollection::NotRegular, CharacterCollection::Unreadable};
    // Names are built only for the few files the summary names.
    for (const auto &[i, outcome] : all) {
        if (outcome == TextFileScan::Read || outcome == TextFileScan::NotUtf8) {
            ++result->filesRead;
            if (outcome == TextFileScan::NotUtf8)
                result->notUtf8.append(files->all().at(i).shownName());
        } else if (result->skipped[skips[int(outcome)]]++ == 0) {
            result->skippedExample[skips[int(outcome)]] = files->all().at(i).shownName();
        }
    }
}

} // namespace

QStringList CollectionPatterns::defaultIncludePatterns()
{
    static const char *const suffixes[] = {
        "txt",  "csv",   "md",         "html",    "htm",         "xml", "svg",    "xhtml", "vue",  "svelte",
        "jsx",  "tsx",   "js",         "mjs",     "cjs",         "ts",  "json",   "json5", "yaml", "yml",
        "toml", "ini",   "properties", "strings", "stringsdict", "po",  "pot",    "arb",   "resx", "xaml",
        "ui",   "qml",   "c",          "h",       "cc",          "cpp", "cxx",    "hpp",   "hxx",  "m",
        "mm",   "swift", "kt",         "kts",     "java",        "cs",  "py",     "rb",    "go",   "rs",
        "lua",  "dart",  "php",        "erb",     "hbs",         "ejs", "liquid", "tpl"};
    QStringList patterns;
    for (const char *suffix : suffixes)
        patterns.append(QStringLiteral("*.") + QLatin1String(suffix));
    return patterns;
}

CharacterCollection collectCharacters(const QStringList &paths, const CollectionPatterns &patterns,
                                      const std::atomic<bool> *cancel, const CollectionProgress &progress)
{
    FileQueue files;
    Readers readers(&files, cancel, progress);
    Walker walker(patterns, cancel, &files);
    for (const QString &path : paths)
        walker.visitNamed(path);
    files.finish();
    CharacterCollection result = walker.result;
    readers.finish(&result);
    result.cancelled = cancel && cancel->load();
    return result;
}

QString collectionSummary(const CharacterCollection &collection, int useEnglish)
{
    // Grouped digits read best in both languages: "2,413".
    const QLocale numbers(QLocale::English, QLocale::UnitedStates);
    const auto number = [&numbers](qsizetype n) { return numbers.toString(qlonglong(n)); };
    const auto example = [useEnglish](const QString &name) {
        return uiText(useEnglish, " (e.g. %1)", "（例如 %1）").arg(name);
    };

    QStringList skipped;
    // English: one, more than one; Chinese.
    static const char *const kinds[][3] = {
        {"%1 binary", "%1 binary", "%1 个二进制文件"},
        {"%1 over 64 MiB", "%1 over 64 MiB", "%1 个超过 64 MiB 的文件"},
        {"%1 not a regular file", "%1 not regular files", "%1 个非普通文件"},
        {"%1 unreadable", "%1 unreadable", "%1 个无法读取"},
        {"%1 symbolic-link loop", "%1 symbolic-link loops", "%1 个符号链接循环"},
    };
    for (int kind = 0; kind < CharacterCollection::SkipKinds; ++kind) {
        const int count = collection.skipped[kind];
        if (count == 0)
            continue;
        QString text = uiText(useEnglish, kinds[kind][count == 1 ? 0 : 1], kinds[kind][2]).arg(number(count));
        // Only failures name an example: the user may want to fix those.
        if (kind == CharacterCollection::Unreadable)
            text += example(collection.skippedExample[kind]);
        skipped.append(text);
    }
    if (!collection.notUtf8.isEmpty())
        skipped.append(
            uiText(useEnglish, "%1 not UTF-8", "%1 个非 UTF-8 文件").arg(number(collection.notUtf8.size())) +
            example(collection.notUtf8.first()));

    const qsizetype characters = collection.codepoints.size();
    QString summary =
        useEnglish == 1 ? QStringLiteral("Found %1 distinct %2 in %3 %4")
                              .arg(number(characters), characters == 1 ? "character" : "characters",
                                   number(collection.filesRead), collection.filesRead == 1 ? "file" : "files")
                        : QString::fromUtf8("从 %1 个文件中找到 %2 个不同字符")
                              .arg(number(collection.filesRead), number(characters));
    if (!skipped.isEmpty())
        summary += uiText(useEnglish, "; skipped ", "；跳过 ") + skipped.join(uiText(useEnglish, ", ", "、"));
    return summary;
}

QString collectedText(const QList<uint> &codepoints)
{
    const std::u32string units(codepoints.cbegin(), codepoints.cend());
    return QString::fromStdU32String(units);
}
