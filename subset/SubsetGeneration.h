#pragma once

#include <QSet>
#include <QString>

// One generation, from the chosen target path and the requested code points
// to the subset font in place. Shared by the window, the benchmark and the
// command line; it shows nothing and asks nothing.
struct SubsetRequest
{
    QString fontPath;
    QString targetPath;
    QSet<uint> requestedCodepoints; // what the missing-character note is about
    QString unicodesArgument;       // what hb-subset is asked for
    int useEnglish = 0;
    QString toolDirectory; // where hb-subset is looked for
    int startTimeoutMs = 10000;
    int finishTimeoutMs = 300000;
};

struct SubsetOutcome
{
    bool ok = false;
    QString errorMessage;     // in the request's language; set whenever ok is false
    QString missingCharsNote; // empty when the font lacks nothing requested
};

// Runs hb-subset into a temporary file and then replaces the target in one
// step: an existing target stays as it was after every failure, and no
// temporary file is left behind.
SubsetOutcome generateSubsetFile(const SubsetRequest &request);
