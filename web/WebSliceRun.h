#pragma once

#include "font/FontFace.h"
#include "subset/SubsetOptions.h"
#include "web/SlicingStrategy.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <optional>

// One web-font slice folder to make, for one face or a whole family.
struct SubsetChoices;

struct WebSliceRequest
{
    QList<FontFace> faces;   // the first names the family and, unless chosen, the strategy
    QList<uint> codepoints;  // what the user asked for, ascending
    QString targetFolder;    // its name names the files inside
    QString toolDirectory;   // hb-subset and vfc-woff2
    SubsetOptions options;
    std::optional<SlicingStrategy> strategy; // none: from the first face
    int sliceSizeKB = 0;     // 0: the strategy's slices; else slices of at most this size
    QString cssFamily;       // empty: the first face's family
    QString sampleText;      // shown by the test page
};

struct WebSliceOutcome
{
    bool ok = false;
    bool cancelled = false;
    QString errorMessage;       // in the chosen language; set when it failed
    QString folder;             // the folder in place, when ok
    QString styleSheet;         // its style sheet's path
    int sliceCount = 0;         // of every face
    qint64 totalBytes = 0;      // of every slice
    QList<uint> missingCodepoints; // requested, in none of the faces
    QString missingCharsNote;
};

// A request for `faces` (the first of them the face of `choices`) from the
// choices either front end collects, with the characters they keep and
// every face's source checked. False, with the reason, when a source is
// unusable or nothing is left to keep. The strategy, the slice size, the
// family name and the sample are the front end's to set.
bool buildWebSliceRequest(const SubsetChoices &choices, const QList<FontFace> &faces, WebSliceRequest *request,
                          QString *errorMessage);

// What the test page shows when the user gave no sample: the start of the
// typed or imported text, else of the characters asked for.
QString defaultSampleText(const SubsetChoices &choices, const QList<uint> &codepoints);

// Why a request cannot be run, before anything is made: a face without a
// single requested character, a folder that is a file. Empty when it can.
QString webSliceRequestProblem(const WebSliceRequest &request);

// Makes the whole folder on the calling thread, which it blocks (a worker):
// the slices on every core at once, each a checked hb-subset of its face
// compressed to WOFF2, then the style sheet and the test page, all in a
// folder beside the target that replaces it only once complete. `progress`
// hears, from any thread, how many slices are done of how many. Setting
// `stop` ends every child process and leaves nothing behind; the run sets
// it itself after a slice failed, so that the others end too.
WebSliceOutcome runWebSlices(const WebSliceRequest &request, std::atomic<bool> *stop,
                             const std::function<void(int done, int total)> &progress = {});

// "97 slices, 2.9 MB in total" for the done message and --report.
QString webSliceSummary(const WebSliceOutcome &outcome);
