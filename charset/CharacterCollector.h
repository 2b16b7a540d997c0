#pragma once

#include "charset/LegacyEncoding.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

// Which files a walk through a folder reads, and how. Patterns are globs
// matched against a file's or folder's name, letter case ignored.
struct CollectionPatterns
{
    QStringList include = defaultIncludePatterns(); // files to read
    QStringList exclude;                            // files and folders to leave out
    // How a file that is not UTF-8 is read; with none, it adds nothing.
    SourceEncoding legacyEncoding = SourceEncoding::Utf8Only;

    // "*.txt", "*.c", "*.json" and the other kinds of file a product's
    // visible text is written in.
    static QStringList defaultIncludePatterns();
    // As a user chose them: the default kinds of file unless `include` names some.
    static CollectionPatterns chosen(const QStringList &include, const QStringList &exclude,
                                     SourceEncoding legacyEncoding);
};

// What a collection found, and what it left out and why.
struct CharacterCollection
{
    enum Skip { Binary, TooLarge, NotRegular, Unreadable, SymlinkLoop, SkipKinds };

    QList<uint> codepoints; // ascending, each once
    int filesRead = 0;      // those read in the legacy encoding included
    QStringList decoded;    // not UTF-8, read in the legacy encoding; as named in the summary
    QStringList notUtf8;    // not UTF-8 nor the legacy encoding: they add nothing
    SourceEncoding legacyEncoding = SourceEncoding::Utf8Only;
    int skipped[SkipKinds] = {};
    QString skippedExample[SkipKinds]; // the first of each kind
    bool cancelled = false;
};

// Called after each file read, from whichever collecting thread read it,
// possibly from two at once: the counts so far.
using CollectionProgress = std::function<void(int filesRead, qint64 bytesRead)>;

// Gathers the distinct characters that a set of files and folders show (see
// collectEscapedText()). Folders are walked recursively, reading the files
// whose names match `patterns`; hidden folders and node_modules are walked
// only when named in `paths`. A file named in `paths` is read whatever its
// name. Binary files (a NUL byte in the first 8 KiB), files over 64 MiB,
// anything but regular files (never opened), whatever cannot be read and
// symbolic-link loops are skipped and counted. Safe on any thread; once the
// folders are walked, reads on every core; stops early, with `cancelled`
// set, once `cancel` turns true.
CharacterCollection collectCharacters(const QStringList &paths, const CollectionPatterns &patterns,
                                      const std::atomic<bool> *cancel = nullptr,
                                      const CollectionProgress &progress = {});

// "Found 2,413 distinct characters in 318 files (3 read as GB18030); skipped
// 12 binary, 2 not UTF-8 (e.g. src/legacy.c)" in the language of uiText().
QString collectionSummary(const CharacterCollection &collection);

// The characters as text, in code point order.
QString collectedText(const QList<uint> &codepoints);

// Where a character first shows: a file as the walk reached it, and the line,
// counted from 1.
struct CharacterPlace
{
    QString file;
    int line = 0;
};

// The first place each of `wanted` shows in the files that
// collectCharacters() reads for the same paths and patterns, in the order it
// lists them; characters none of them shows are left out. Reads one file
// after another and looks at lines only in files holding a wanted
// character: meant for the few characters a check reports.
QHash<uint, CharacterPlace> findCharacterPlaces(const QStringList &paths, const CollectionPatterns &patterns,
                                                const QList<uint> &wanted);
