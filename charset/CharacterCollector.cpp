#include "charset/CharacterCollector.h"

#include "charset/CodepointSet.h"
#include "charset/CollectionWalk.h"
#include "charset/TextFileScan.h"
#include "common/UiText.h"

#include <QLocale>
#include <QThread>
#include <QtConcurrent>

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace {

// What reading one file came to. The same file reached under two names (a
// link, a hard link) is read under each, by whichever thread takes it: such
// files are rare, and asking a table shared by the threads before every
// file cost more than reading them twice. Once all are read, outcomes of one
// identity count once, under the first of the file's names in list order,
// so that the summary does not depend on which thread was quicker.
struct Outcome
{
    int place; // in the list
    TextFileScan scan;
    std::optional<FileIdentity> identity; // for a file opened as a regular file
};

// The names of one file together, the first in list order first; files
// never opened after those.
bool byIdentity(const Outcome &a, const Outcome &b)
{
    if (a.identity.has_value() != b.identity.has_value())
        return a.identity.has_value();
    if (!a.identity)
        return a.place < b.place;
    return std::tuple(a.identity->device, a.identity->node, a.place) <
           std::tuple(b.identity->device, b.identity->node, b.place);
}

// Reads the files on as many threads as the machine has cores, the calling
// thread joining in once its walk is over: the decoding costs more than the
// reading, and the files do not depend on each other. Each thread takes the
// next file not yet taken and gathers into a set of its own.
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
    void read(CodepointSet *found, std::vector<Outcome> *mine);

    FileQueue *files;
    const std::atomic<bool> *cancel;
    const CollectionProgress &progress;
    std::vector<CodepointSet> sets;
    std::vector<std::vector<Outcome>> outcomes; // per thread
    QList<QFuture<void>> helpers;
    std::atomic<int> filesRead = 0;
    std::atomic<qint64> bytesRead = 0;
};

void Readers::read(CodepointSet *found, std::vector<Outcome> *mine)
{
    QByteArray buffer;
    std::vector<std::pair<int, ListedFile>> taken;
    const auto cancelled = [this] { return cancel && cancel->load(std::memory_order_relaxed); };
    while (!cancelled() && files->take(&taken)) {
        for (const auto &[place, file] : taken) {
            if (cancelled())
                break;
            qint64 bytes = 0;
            Outcome outcome{place, TextFileScan::Unreadable, std::nullopt};
            outcome.scan = scanTextFile(file.path, &buffer, found, &bytes, &outcome.identity);
            // The counts are shared by the threads: kept only when asked for.
            if (progress && (outcome.scan == TextFileScan::Read || outcome.scan == TextFileScan::NotUtf8)) {
                const int count = ++filesRead;
                const qint64 total = bytesRead += bytes;
                progress(count, total);
            }
            mine->push_back(std::move(outcome));
        }
    }
    // Each thread's share at once, while the others may still read.
    std::sort(mine->begin(), mine->end(), byIdentity);
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
    for (const std::vector<Outcome> &some : outcomes) {
        const auto middle = all.insert(all.end(), some.begin(), some.end());
        std::inplace_merge(all.begin(), middle, all.end(), byIdentity);
    }
    static const CharacterCollection::Skip skips[] = {
        CharacterCollection::SkipKinds, CharacterCollection::SkipKinds,  CharacterCollection::Binary,
        CharacterCollection::TooLarge,  CharacterCollection::NotRegular, CharacterCollection::Unreadable};
    // The walk's skips come first: they are named as examples before any
    // of the readers'.
    const std::vector<int> walked(std::begin(result->skipped), std::end(result->skipped));
    int firstOfKind[CharacterCollection::SkipKinds];
    std::fill(std::begin(firstOfKind), std::end(firstOfKind), -1);
    std::vector<int> notUtf8;
    for (size_t i = 0; i < all.size(); ++i) {
        const Outcome &outcome = all[i];
        if (i > 0 && outcome.identity && all[i - 1].identity && *outcome.identity == *all[i - 1].identity)
            continue; // another name of the file before
        if (outcome.scan == TextFileScan::Read || outcome.scan == TextFileScan::NotUtf8) {
            ++result->filesRead;
            if (outcome.scan == TextFileScan::NotUtf8)
                notUtf8.push_back(outcome.place);
        } else {
            const int kind = skips[int(outcome.scan)];
            ++result->skipped[kind];
            if (firstOfKind[kind] < 0 || outcome.place < firstOfKind[kind])
                firstOfKind[kind] = outcome.place;
        }
    }
    // Names are built only for the few files the summary names.
    std::sort(notUtf8.begin(), notUtf8.end());
    for (int place : notUtf8)
        result->notUtf8.append(files->all().at(place).shownName());
    for (int kind = 0; kind < CharacterCollection::SkipKinds; ++kind) {
        if (walked[size_t(kind)] == 0 && firstOfKind[kind] >= 0)
            result->skippedExample[kind] = files->all().at(firstOfKind[kind]).shownName();
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

QString collectionSummary(const CharacterCollection &collection)
{
    // Grouped digits read best in both languages: "2,413".
    const QLocale numbers(QLocale::English, QLocale::UnitedStates);
    const auto number = [&numbers](qsizetype n) { return numbers.toString(qlonglong(n)); };
    const auto example = [](const QString &name) {
        return uiText(" (e.g. %1)", "（例如 %1）").arg(name);
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
        QString text = uiText(kinds[kind][count == 1 ? 0 : 1], kinds[kind][2]).arg(number(count));
        // Only failures name an example: the user may want to fix those.
        if (kind == CharacterCollection::Unreadable)
            text += example(collection.skippedExample[kind]);
        skipped.append(text);
    }
    if (!collection.notUtf8.isEmpty())
        skipped.append(
            uiText("%1 not UTF-8", "%1 个非 UTF-8 文件").arg(number(collection.notUtf8.size())) +
            example(collection.notUtf8.first()));

    const qsizetype characters = collection.codepoints.size();
    QString summary =
        uiEnglish() ? QStringLiteral("Found %1 distinct %2 in %3 %4")
                              .arg(number(characters), characters == 1 ? "character" : "characters",
                                   number(collection.filesRead), collection.filesRead == 1 ? "file" : "files")
                        : QString::fromUtf8("从 %1 个文件中找到 %2 个不同字符")
                              .arg(number(collection.filesRead), number(characters));
    if (!skipped.isEmpty())
        summary += uiText("; skipped ", "；跳过 ") + skipped.join(uiText(", ", "、"));
    return summary;
}

QString collectedText(const QList<uint> &codepoints)
{
    const std::u32string units(codepoints.cbegin(), codepoints.cend());
    return QString::fromStdU32String(units);
}
