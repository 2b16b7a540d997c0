#pragma once

#include "subset/SubsetRequest.h"

#include <QList>
#include <QString>

#include <atomic>

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
    // Output formats for the web and for firmware
    QString sizeReport; // the written font against its source
};

// Everything between hb-subset's exit and the replacement of the target:
// checking what hb-subset wrote to `subsetPath` and making the files to place.
// Runs on a worker thread and touches no target; after a failure the caller
// removes `subsetPath` and every staged file.
// Setting `stop` (a cancel) cuts the wait on outside checkers short.
FinishingResult finishSubsetOutput(const SubsetRequest &request, const QString &subsetPath,
                                   const std::atomic<bool> *stop = nullptr);

// Moves a staged file over its target in one step (see placeFile's comment);
// false, with the reason in the request's language, when it cannot.
bool placeStagedFile(const StagedFile &file, int useEnglish, QString *errorMessage);
