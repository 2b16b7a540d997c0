#pragma once

#include "subset/SubsetRequest.h"
#include "subset/SubsetStage.h"

#include <QList>
#include <QString>

#include <atomic>
#include <functional>

// A file made by the run, waiting in a temporary place, and where it goes.
struct StagedFile
{
    QString temporaryPath;
    QString targetPath;
};

struct FinishingResult
{
    QString errorMessage; // empty when every file is ready to be placed
    QList<StagedFile> files;
    QString sizeReport; // the written font against its source
};

// Everything between hb-subset's exit and the replacement of the target:
// checking what hb-subset wrote to `subsetPath` (an empty subset, then the
// in-process check, then ots-sanitize where it is installed) and making the
// files to place.
// Runs on a worker thread and touches no target; after a failure the caller
// removes `subsetPath` and every staged file.
// Setting `stop` (a cancel) cuts the wait on outside checkers short.
// `reportStage`, where given, hears of each stage as it begins, on the
// worker thread.
FinishingResult finishSubsetOutput(const SubsetRequest &request, const QString &subsetPath,
                                   const std::atomic<bool> *stop = nullptr,
                                   const std::function<void(SubsetStage)> &reportStage = {});

// Moves every staged file over its target, all or none as far as the file
// system allows; false, with the reason in the request's language, when it
// cannot, and then no target has changed. With `createFolders`, a target's
// missing folders are made first, and taken away again after a failure.
bool placeStagedFiles(const QList<StagedFile> &files, QString *errorMessage, bool createFolders = false);
