#pragma once

#include "charset/CodepointRange.h"

#include <QList>
#include <QString>
#include <QStringList>

// What one vfc-subset command line asks for. Reading the text files is left
// to the run, so that a file that cannot be read is a failure of the run
// (exit 1) rather than of the command line (exit 2).
struct SubsetCommandLine
{
    enum class Action { Subset, Help, Version, ListBlocks, UsageError, ListFaces, ListCharsets, CollectOnly };

    Action action = Action::UsageError;
    int useEnglish = 0; // 1 for English; Chinese by default, as in the window
    QString fontPath;
    QString outputPath; // as given: no cleaning, no ".ttf" appended
    bool force = false;
    bool listMissing = false; // every missing character to standard output, one a line
    QStringList texts;
    QStringList textFiles;               // "-" stands for standard input
    QList<int> blockRows;                // rows of the block table, counted from 1, ascending, each once
    QList<CodepointRange> unicodeRanges; // in the order given
    QString usageError;                  // in the chosen language; set for UsageError only
    // Collection faces: the face of FONT, or an installed family (with its own face) instead of FONT.
    int faceIndex = 0;
    QString family;
    // Standard character sets: ids for --charset, each once; ListCharsets
    // takes an optional fontPath whose coverage it shows.
    QStringList charsets;
    // Collecting from files and folders: several --text-file paths, folders among them, are walked
    // with these globs (the default kinds of file when `includePatterns` is empty); CollectOnly
    // prints what `textFiles` show.
    QStringList includePatterns;
    QStringList excludePatterns;
    bool collectOnly = false;
};

// Reads the arguments that follow the program name. Options take their value
// after "=" or as the next argument; "--" ends the options.
SubsetCommandLine parseSubsetCommandLine(const QStringList &arguments);

// "1,3-5,all": row numbers of the block table, ranges of them, or "all",
// separated by commas. Adds the rows to `rows` (a flag per row, index 0 for
// row 1). False, with the reason in `error`, when an item is not a row.
bool parseBlockRows(const QString &list, int useEnglish, QList<bool> *rows, QString *error);

// hb-subset's --unicodes syntax: hexadecimal code points ("4E2D", "U+4E2D",
// "0x4E2D") and ranges of them ("U+4E00-9FBF"), separated by commas or white
// space, none above U+10FFFF. Appends them to `ranges`; false, with the
// reason in `error`, when an item is not one.
bool parseUnicodeRanges(const QString &list, int useEnglish, QList<CodepointRange> *ranges, QString *error);

// "gb2312,big5": ids of standard character sets, separated by commas. Adds
// those not yet in `ids`; false, with the valid ids named in `error`, when an
// item is none.
bool parseCharsetIds(const QString &list, int useEnglish, QStringList *ids, QString *error);

QString subsetCommandHelp(int useEnglish);

// One line per row of the block table: its number for --blocks, its range
// and its name in the chosen language.
QString unicodeBlockListing(int useEnglish);
