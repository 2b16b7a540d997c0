#include "charset/CharacterCollector.h"

#include "charset/CodepointSet.h"
#include "charset/EscapedText.h"
#include "common/RegularFile.h"
#include "common/UiText.h"

#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QThread>
#include <QtConcurrent>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Skip = CharacterCollection::Skip;

// No product's text comes in a larger file.
constexpr qint64 largestTextFile = 64 * 1024 * 1024;
// A NUL byte this near the start marks a binary file.
constexpr qsizetype binaryProbe = 8 * 1024;

void skip(CharacterCollection *collection, Skip kind, const QString &name)
{
    if (collection->skipped[kind]++ == 0)
        collection->skippedExample[kind] = name;
}

// Letter case ignored. Nothing matches an empty list, where an empty
// expression would match anything.
QRegularExpression globsExpression(const QStringList &globs)
{
    QStringList parts;
    for (const QString &glob : globs) {
        if (!glob.trimmed().isEmpty())
            parts.append(QRegularExpression::wildcardToRegularExpression(glob.trimmed()));
    }
    QRegularExpression expression(parts.isEmpty() ? QStringLiteral("(?!)") : parts.join(QLatin1Char('|')),
                                  QRegularExpression::CaseInsensitiveOption);
    expression.optimize();
    return expression;
}

// A file to read. The path keeps the bytes the system listed, so that a name
// that is not UTF-8 still opens; `shown` is how the summary names it.
struct ListedFile
{
    fs::path path;
    QString shown;
};

// Lists the files to read in the order of their names, and counts what it
// leaves out on the way.
class Walker
{
public:
    Walker(const CollectionPatterns &patterns, const std::atomic<bool> *cancel)
        : include(globsExpression(patterns.include)),
          exclude(globsExpression(patterns.exclude)),
          cancel(cancel)
    {}

    void visitNamed(const QString &path)
    {
        const fs::path native(QFile::encodeName(path).toStdString());
        std::error_code error;
        visit(native, fs::symlink_status(native, error).type(), path, QString());
    }
    bool stopped() const { return cancel && cancel->load(std::memory_order_relaxed); }

    CharacterCollection result; // what the walk left out
    std::vector<ListedFile> files;

private:
    void visit(const fs::path &path, fs::file_type type, const QString &shown, const QString &name);
    void walkFolder(const fs::path &path, const QString &shown, bool named);

    QRegularExpression include;
    QRegularExpression exclude;
    const std::atomic<bool> *cancel;
    std::vector<fs::path> ancestors; // canonical paths of the folders being walked
    std::set<fs::path> seenFolders;
};

// `type` as the listing tells it, following no link; `name` the entry's
// name in its folder, empty for a path the user named: that is read, or
// walked, whatever its name.
void Walker::visit(const fs::path &path, fs::file_type type, const QString &shown, const QString &name)
{
    const bool named = name.isEmpty();
    const bool link = type == fs::file_type::symlink;
    std::error_code error;
    const fs::file_status status = link ? fs::status(path, error) : fs::file_status(type);
    if (error == std::errc::too_many_symbolic_link_levels) {
        skip(&result, Skip::SymlinkLoop, shown);
    } else if (!fs::exists(status)) {
        // A link that leads nowhere is merely stale, not worth a word.
        if (!link)
            skip(&result, Skip::Unreadable, shown);
    } else if (fs::is_directory(status)) {
        // Version control, tool caches and installed packages are not the
        // product's own text.
        if (named || (!name.startsWith(QLatin1Char('.')) && name != QLatin1String("node_modules")))
            walkFolder(path, shown, named);
    } else if (named || include.match(name).hasMatch()) {
        // A named pipe would wait for a writer and a device may never end.
        if (fs::is_regular_file(status))
            files.push_back({path, shown});
        else
            skip(&result, Skip::NotRegular, shown);
    }
}

void Walker::walkFolder(const fs::path &path, const QString &shown, bool named)
{
    std::error_code error;
    const fs::path canonical = fs::canonical(path, error);
    if (!error && std::find(ancestors.cbegin(), ancestors.cend(), canonical) != ancestors.cend()) {
        skip(&result, Skip::SymlinkLoop, shown);
        return;
    }
    // The same folder reached again through a link adds nothing new.
    if (!error && !seenFolders.insert(canonical).second)
        return;
    // Entries sorted as their names compare as QStrings; names that decode
    // alike (bytes that are not UTF-8) by their bytes.
    std::vector<std::pair<QString, fs::directory_entry>> entries;
    for (fs::directory_iterator it(canonical, error); !error && it != fs::directory_iterator();
         it.increment(error))
        entries.emplace_back(QFile::decodeName(it->path().filename().c_str()), *it);
    // Without the right to search it, none of a folder's files could be read.
    if (error || ::access(canonical.c_str(), R_OK | X_OK) != 0) {
        skip(&result, Skip::Unreadable, shown);
        return;
    }
    std::sort(entries.begin(), entries.end());
    ancestors.push_back(canonical);
    // Inside a folder named by the user, names are given from there.
    const QString prefix = named ? QString() : shown + QLatin1Char('/');
    for (const auto &[name, entry] : entries) {
        if (stopped())
            break;
        if (exclude.match(name).hasMatch())
            continue;
        // Only these ask the kind the listing told; symlink_status() would
        // look at every file.
        const fs::file_type type = entry.is_symlink(error)        ? fs::file_type::symlink
                                   : entry.is_directory(error)    ? fs::file_type::directory
                                   : entry.is_regular_file(error) ? fs::file_type::regular
                                                                  : entry.symlink_status(error).type();
        visit(entry.path(), type, prefix + name, name);
    }
    ancestors.pop_back();
}

// How reading one file ended.
struct FileRead
{
    std::optional<Skip> skipped; // none: read
    enum { Utf8, Decoded, NotText } encoding = Utf8;
    qint64 bytes = 0;
    std::optional<std::pair<quint64, quint64>> identity; // device and node, once open as a regular file
};

FileRead readFile(const fs::path &path, SourceEncoding legacyEncoding, QByteArray *buffer,
                  CodepointSet *found)
{
    FileRead read;
    const auto skipped = [&read](Skip kind) {
        read.skipped = kind;
        return read;
    };
    QFile file;
    OpenedFileFacts facts;
    if (!openWithoutWaiting(QByteArray::fromStdString(path.native()), &file, QIODevice::Unbuffered, &facts))
        return skipped(Skip::Unreadable);
    if (!facts.regular)
        return skipped(Skip::NotRegular);
    read.identity = std::pair(facts.device, facts.inode);
    if (facts.size > largestTextFile)
        return skipped(Skip::TooLarge);
    // As much as the file held when opened. The kernel's /proc files all
    // claim to be empty, and one of them (kmsg) never ends.
    buffer->resize(qsizetype(facts.size));
    const qint64 size = file.read(buffer->data(), buffer->size());
    if (size < 0)
        return skipped(Skip::Unreadable);
    const QByteArrayView bytes(buffer->constData(), qsizetype(size));
    if (bytes.first(std::min(bytes.size(), binaryProbe)).contains('\0'))
        return skipped(Skip::Binary);
    read.bytes = size;
    if (collectEscapedText(bytes, found))
        return read;
    QString decoded;
    if (legacyEncoding != SourceEncoding::Utf8Only && decodeLegacyText(bytes, legacyEncoding, &decoded) &&
        collectEscapedText(decoded.toUtf8(), found)) {
        read.encoding = FileRead::Decoded;
    } else {
        read.encoding = FileRead::NotText;
    }
    return read;
}

// What one thread made of a run of files next to each other in the list.
struct Run
{
    QList<uint> found;
    std::vector<FileRead> reads; // the run's first files; all of them unless cancelled
};

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

CollectionPatterns CollectionPatterns::chosen(const QStringList &include, const QStringList &exclude,
                                              SourceEncoding legacyEncoding)
{
    CollectionPatterns patterns;
    if (!include.isEmpty())
        patterns.include = include;
    patterns.exclude = exclude;
    patterns.legacyEncoding = legacyEncoding;
    return patterns;
}

CharacterCollection collectCharacters(const QStringList &paths, const CollectionPatterns &patterns,
                                      const std::atomic<bool> *cancel, const CollectionProgress &progress)
{
    Walker walker(patterns, cancel);
    for (const QString &path : paths) {
        if (!walker.stopped())
            walker.visitNamed(path);
    }
    CharacterCollection result = walker.result;
    result.legacyEncoding = patterns.legacyEncoding;
    const std::vector<ListedFile> &files = walker.files;

    // Decoding costs more than reading, and the files do not depend on each
    // other: runs of them are read on every core, each into a set of its own,
    // many more runs than cores so that no core is left with a long tail.
    const qsizetype runSize =
        std::max<qsizetype>(1, qsizetype(files.size()) / (QThread::idealThreadCount() * 16));
    QList<qsizetype> runStarts;
    for (qsizetype first = 0; first < qsizetype(files.size()); first += runSize)
        runStarts.append(first);
    std::atomic<int> filesRead = 0;
    std::atomic<qint64> bytesRead = 0;
    const QList<Run> runs = QtConcurrent::blockingMapped(runStarts, [&](qsizetype first) {
        Run run;
        CodepointSet found;
        QByteArray buffer;
        for (qsizetype i = first; i < std::min(first + runSize, qsizetype(files.size())); ++i) {
            if (walker.stopped())
                break;
            run.reads.push_back(readFile(files[size_t(i)].path, patterns.legacyEncoding, &buffer, &found));
            // The counts are shared by the threads: kept only when asked for.
            if (progress && !run.reads.back().skipped)
                progress(++filesRead, bytesRead += run.reads.back().bytes);
        }
        run.found = found.toList();
        return run;
    });

    // A file reached under two names (links, hard links) counts once, under
    // the first of them in list order. The walk's skips are named first.
    CodepointSet found;
    std::set<std::pair<quint64, quint64>> identities;
    for (qsizetype r = 0; r < runs.size(); ++r) {
        for (uint codepoint : runs[r].found)
            found.insert(codepoint);
        for (size_t i = 0; i < runs[r].reads.size(); ++i) {
            const FileRead &read = runs[r].reads[i];
            const QString &name = files[size_t(runStarts[r]) + i].shown;
            if (read.identity && !identities.insert(*read.identity).second)
                continue;
            if (read.skipped) {
                skip(&result, *read.skipped, name);
            } else if (read.encoding == FileRead::NotText) {
                result.notUtf8.append(name);
            } else {
                ++result.filesRead;
                if (read.encoding == FileRead::Decoded)
                    result.decoded.append(name);
            }
        }
    }
    result.codepoints = found.toList();
    result.cancelled = walker.stopped();
    return result;
}

QString collectionSummary(const CharacterCollection &collection)
{
    // Grouped digits read best in both languages: "2,413".
    const QLocale numbers(QLocale::English, QLocale::UnitedStates);
    const auto number = [&numbers](qsizetype n) { return numbers.toString(qlonglong(n)); };
    const auto example = [](const QString &name) { return uiText(" (e.g. %1)", "（例如 %1）").arg(name); };

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
    const QString legacy = sourceEncodingTitle(collection.legacyEncoding);
    if (!collection.notUtf8.isEmpty()) {
        const QString count = number(collection.notUtf8.size());
        skipped.append((collection.legacyEncoding == SourceEncoding::Utf8Only
                            ? uiText("%1 not UTF-8", "%1 个非 UTF-8 文件").arg(count)
                            : uiText("%1 neither UTF-8 nor %2", "%1 个既非 UTF-8 也非 %2 的文件").arg(count, legacy)) +
                       example(collection.notUtf8.first()));
    }

    const qsizetype characters = collection.codepoints.size();
    QString summary =
        uiEnglish() ? QStringLiteral("Found %1 distinct %2 in %3 %4")
                          .arg(number(characters), characters == 1 ? "character" : "characters",
                               number(collection.filesRead), collection.filesRead == 1 ? "file" : "files")
                    : QString::fromUtf8("从 %1 个文件中找到 %2 个不同字符")
                          .arg(number(collection.filesRead), number(characters));
    if (!collection.decoded.isEmpty())
        summary += uiText(" (%1 read as %2)", "（其中 %1 个按 %2 读取）").arg(number(collection.decoded.size()), legacy);
    if (!skipped.isEmpty())
        summary += uiText("; skipped ", "；跳过 ") + skipped.join(uiText(", ", "、"));
    return summary;
}

QString collectedText(const QList<uint> &codepoints)
{
    const std::u32string units(codepoints.cbegin(), codepoints.cend());
    return QString::fromStdU32String(units);
}

QHash<uint, CharacterPlace> findCharacterPlaces(const QStringList &paths, const CollectionPatterns &patterns,
                                                const QList<uint> &wanted)
{
    QHash<uint, CharacterPlace> places;
    Walker walker(patterns, nullptr);
    for (const QString &path : paths)
        walker.visitNamed(path);
    QList<uint> left = wanted;
    QByteArray buffer;
    for (const ListedFile &listed : walker.files) {
        if (left.isEmpty())
            break;
        CodepointSet inFile;
        const FileRead read = readFile(listed.path, patterns.legacyEncoding, &buffer, &inFile);
        if (read.skipped || read.encoding == FileRead::NotText ||
            std::none_of(left.cbegin(), left.cend(), [&](uint c) { return inFile.contains(c); }))
            continue;
        const QString file = QFile::decodeName(listed.path.c_str());
        QByteArray text = buffer.left(read.bytes);
        if (read.encoding == FileRead::Decoded) {
            QString decoded;
            decodeLegacyText(text, patterns.legacyEncoding, &decoded);
            text = decoded.toUtf8();
        }
        const QList<QByteArray> lines = text.split('\n');
        for (qsizetype line = 0; line < lines.size() && !left.isEmpty(); ++line) {
            CodepointSet inLine;
            collectEscapedText(lines.at(line), &inLine);
            left.removeIf([&](uint c) {
                if (!inLine.contains(c))
                    return false;
                places.insert(c, {file, int(line) + 1});
                return true;
            });
        }
    }
    return places;
}
