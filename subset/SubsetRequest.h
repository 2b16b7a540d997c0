#pragma once

#include "charset/CodepointRange.h"
#include "font/FontFace.h"
#include "lvgl/LvglOptions.h"
#include "subset/OutputFormat.h"
#include "subset/SubsetOptions.h"

#include <QList>
#include <QString>
#include <QStringList>

// How the selections of one set of choices combine. The window keeps only
// what the page on show holds; the command line adds every selection up.
enum class SelectionRule { ShownPageOnly, AddUp };
enum class SelectionPage { CustomText, Blocks };

// What the user chose, as either front end collects it. Files are read by the
// front end; only their text arrives here.
struct SubsetChoices
{
    FontFace face;
    QString targetPath;
    QStringList texts;            // typed, pasted or imported text
    QList<int> blockRows;         // rows of the block table, counted from 1
    QList<CodepointRange> ranges; // hb-subset's hexadecimal code points and ranges
    SelectionRule rule = SelectionRule::AddUp;
    SelectionPage shownPage = SelectionPage::CustomText; // for ShownPageOnly
    QString toolDirectory;                               // where hb-subset is looked for
    QStringList charsets; // ids such as "gb2312"; added up with the rest
    OutputFormat format = OutputFormat::TrueType;
    bool writeCss = false; // WOFF2 only: a style sheet beside the font
    SubsetOptions options;
    LvglOptions lvgl; // for the LVGL formats
    // The command line names its output as it likes, folders included; the
    // window's folder was picked among those that are there.
    bool createFolders = false; // make the target's missing folders when the files are placed
};

// One generation, ready to run.
struct SubsetRequest
{
    FontFace face;
    bool sourceChecked = false; // by buildSubsetRequest: the run need not check the source again
    QString targetPath;
    QList<uint> codepoints;   // ascending, each once: what the missing-character note is about
    QString unicodesArgument; // what hb-subset is asked for
    QString toolDirectory;
    int startTimeoutMs = 10000;
    int finishTimeoutMs = 300000;
    OutputFormat format = OutputFormat::TrueType;
    bool writeCss = false;
    SubsetOptions options;
    LvglOptions lvgl;
    bool createFolders = false;
};

// The source check both front ends make before asking anything else: a
// regular file whose collection header, if it has one, is believable. Empty
// when the path may be used; otherwise the reason, naming the path.
QString sourceFontProblem(const FontFace &face);

// Why the subset may not be written to `targetPath`; empty when it may. A
// target that already exists is no problem here: asking is the front end's.
QString targetProblem(const QString &targetPath, const FontFace &source);

// Whether writing to `path` replaces something: a file, a folder, or a link
// even when it points nowhere (writing through it would create a file
// somewhere else). Such a target is asked about, or needs --force.
bool targetExists(const QString &path);

// Turns the choices into a request. False, with the reason in the chosen
// language, when the source is unusable or nothing is left to keep. Nothing
// here needs the target: a front end may check the choices first and set
// the request's target once it has asked for one.
bool buildSubsetRequest(const SubsetChoices &choices, SubsetRequest *request, QString *errorMessage);

// How many characters a request from `choices` keeps, by the same rule:
// text and blocks by isKeptCharacter, code points given by number as given.
// 0 when a character set is unknown.
qsizetype chosenCharacterCount(const SubsetChoices &choices);
