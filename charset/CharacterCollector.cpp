#include "charset/CharacterCollector.h"

#include "charset/CodepointSet.h"
#include "charset/EscapedText.h"
#include "common/UiText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>

#include <cstring>
#include <string>

namespace {

constexpr qint64 largestFile = 64 * 1024 * 1024;
constexpr qsizetype binaryProbe = 8 * 1024;
// Link chains longer than this are refused by the system as loops, too.
constexpr int longestLinkChain = 40;

// One expression for a list of globs; nothing matches an empty list.
QRegularExpression globExpression(const QStringList &patterns)
{
    QStringList parts;
    for (const QString &pattern : patterns) {
        if (!pattern.trimmed().isEmpty())
            parts.append(QRegularExpression::wildcardToRegularExpression(pattern.trimmed()));
    }
    if (parts.isEmpty())
        return QRegularExpression(QStringLiteral("(?!)"));
    QRegularExpression expression(parts.join(QLatin1Char('|')), QRegularExpression::CaseInsensitiveOption);
    expression.optimize();
    return expression;
}

class Walker
{
public:
    Walker(const CollectionPatterns &patterns, const std::atomic<bool> *cancel,
           const CollectionProgress &progress)
        : include(globExpression(patterns.include)),
          exclude(globExpression(patterns.exclude)),
          cancel(cancel),
          progress(progress)
    {}

    void visitNamed(const QString &path);
    CharacterCollection finish();

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
    void readFile(const QFileInfo &info, const QString &canonical, const QString &shown);
    void brokenLink(const QFileInfo &link, const QString &name);

    QRegularExpression include;
    QRegularExpression exclude;
    const std::atomic<bool> *cancel;
    const CollectionProgress &progress;
    CharacterCollection result;
    CodepointSet found;
    QSet<QString> seenFolders;
    QSet<QString> seenFiles;
    QStringList ancestors; // canonical paths of the folders being walked
    QByteArray buffer;
    qint64 bytesRead = 0;
};

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
        walkFolder(info, info.canonicalFilePath(), path, true);
    else
        readFile(info, info.canonicalFilePath(), path);
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

void Walker::walkFolder(const QFileInfo &folder, const QString &canonical, const QString &shown, bool named)
{
    if (ancestors.contains(canonical)) {
        skip(CharacterCollection::SymlinkLoop, shown);
        return;
    }
    // The same folder reached again through a link adds nothing new.
    if (seenFolders.contains(canonical))
        return;
    seenFolders.insert(canonical);
    if (!folder.isReadable() || !folder.isExecutable()) {
        skip(CharacterCollection::Unreadable, shown);
        return;
    }
    ancestors.append(canonical);
    // Inside a folder named by the user, names are given from there.
    const QString prefix = named ? QString() : shown + QLatin1Char('/');
    const QFileInfoList entries =
        QDir(folder.absoluteFilePath())
            .entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &entry : entries) {
        if (stopped())
            break;
        const QString entryName = entry.fileName();
        if (exclude.match(entryName).hasMatch())
            continue;
        const QString entryShown = prefix + entryName;
        // Resolving every path would cost the walk more than reading the
        // files; only a link leads anywhere but below its folder.
        const bool link = entry.isSymLink();
        if (link && !entry.exists()) {
            brokenLink(entry, entryShown);
            continue;
        }
        const QString entryCanonical =
            link ? entry.canonicalFilePath() : canonical + QLatin1Char('/') + entryName;
        if (entry.isDir()) {
            // Version control, tool caches and installed packages are not
            // the product's own text.
            if (!entryName.startsWith(QLatin1Char('.')) && entryName != QLatin1String("node_modules"))
                walkFolder(entry, entryCanonical, entryShown, false);
        } else if (include.match(entryName).hasMatch()) {
            readFile(entry, entryCanonical, entryShown);
        }
    }
    ancestors.removeLast();
}

void Walker::readFile(const QFileInfo &info, const QString &canonical, const QString &name)
{
    // A named pipe would wait for a writer and a device may never end, so
    // nothing but a regular file is opened.
    if (!info.isFile()) {
        skip(CharacterCollection::NotRegular, name);
        return;
    }
    if (seenFiles.contains(canonical))
        return;
    seenFiles.insert(canonical);
    if (info.size() > largestFile) {
        skip(CharacterCollection::TooLarge, name);
        return;
    }
    QFile file(canonical);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        skip(CharacterCollection::Unreadable, name);
        return;
    }
    if (file.isSequential()) {
        skip(CharacterCollection::NotRegular, name);
        return;
    }
    // The file may have grown since it was measured: one byte more than the
    // limit tells. The start comes first, so that a binary file is left
    // after a few kilobytes.
    buffer.resize(qMin(info.size(), largestFile) + 1);
    qsizetype size = file.read(buffer.data(), qMin<qsizetype>(binaryProbe, buffer.size()));
    if (size < 0) {
        skip(CharacterCollection::Unreadable, name);
        return;
    }
    if (std::memchr(buffer.constData(), 0, size_t(size))) {
        skip(CharacterCollection::Binary, name);
        return;
    }
    while (size > 0) {
        if (size == buffer.size()) {
            if (size > largestFile)
                break;
            buffer.resize(qMin<qsizetype>(size * 2, largestFile + 1));
        }
        const qint64 got = file.read(buffer.data() + size, buffer.size() - size);
        if (got < 0) {
            skip(CharacterCollection::Unreadable, name);
            return;
        }
        if (got == 0)
            break;
        size += got;
    }
    if (size > largestFile) {
        skip(CharacterCollection::TooLarge, name);
        return;
    }
    if (!collectEscapedText(QByteArrayView(buffer.constData(), size), &found))
        result.notUtf8.append(name);
    ++result.filesRead;
    bytesRead += size;
    if (progress)
        progress(result.filesRead, bytesRead);
}

CharacterCollection Walker::finish()
{
    result.codepoints = found.toList();
    result.cancelled = stopped();
    return result;
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
    Walker walker(patterns, cancel, progress);
    for (const QString &path : paths)
        walker.visitNamed(path);
    return walker.finish();
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
    static const char *const kinds[][2] = {
        {"%1 binary", "%1 个二进制文件"},
        {"%1 over 64 MiB", "%1 个超过 64 MiB 的文件"},
        {"%1 not regular files", "%1 个非普通文件"},
        {"%1 unreadable", "%1 个无法读取"},
        {"%1 symbolic-link loops", "%1 个符号链接循环"},
    };
    for (int kind = 0; kind < CharacterCollection::SkipKinds; ++kind) {
        if (collection.skipped[kind] == 0)
            continue;
        QString text =
            uiText(useEnglish, kinds[kind][0], kinds[kind][1]).arg(number(collection.skipped[kind]));
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
