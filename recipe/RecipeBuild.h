#pragma once

#include "recipe/Recipe.h"
#include "subset/SubsetFinishing.h"
#include "subset/SubsetRequest.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class SubsetJob;
struct SubsetOutcome;

struct RecipeBuildOutcome
{
    bool ok = false;
    bool cancelled = false;
    QString errorMessage;          // names the output that failed
    QString missingCharsNote;      // as a single run gives it; the same for every output
    QList<uint> missingCodepoints; // ascending
    QStringList writtenFiles;      // every file in place, in the recipe's order
    QStringList sizeReports;       // one line per output
};

// Builds every output of a recipe from one request. They differ in format
// only, so hb-subset runs once and its font is checked once (a SubsetJob
// writing TrueType to a staging folder); each output is then made from it
// on a worker as a single run would make it. Only when every one of them
// succeeded do they replace their targets together (see placeStagedFiles());
// after any failure or a cancel no target has changed.
class RecipeBuild : public QObject
{
    Q_OBJECT

public:
    explicit RecipeBuild(QObject *parent = nullptr);
    ~RecipeBuild() override;

    // `request` from buildSubsetRequest(); its target and format are each
    // output's. Emits finished() once, later.
    void start(const SubsetRequest &request, const QList<RecipeOutput> &outputs);
    void cancel();

Q_SIGNALS:
    void finished(const RecipeBuildOutcome &outcome);

private:
    struct Staging;
    struct Converted
    {
        QString errorMessage;
        QList<StagedFile> files;
        QString sizeReport;
    };

    void onSubsetFinished(const SubsetOutcome &outcome);
    void onConverted(int index, const Converted &result);
    void finish(const RecipeBuildOutcome &outcome);

    SubsetRequest request;
    QList<RecipeOutput> outputs;
    SubsetJob *job = nullptr;
    RecipeBuildOutcome pending;
    QList<Converted> converted; // by output
    int left = 0;               // outputs still converting
    // Shared with the worker, which may still be writing into it after a cancel.
    std::shared_ptr<Staging> staging;
    quint64 runNumber = 0;
    bool running = false;
};

// Runs one build to its end in a local event loop, for the command line,
// tests and benchmarks.
RecipeBuildOutcome runRecipeBuild(const SubsetRequest &request, const QList<RecipeOutput> &outputs);
