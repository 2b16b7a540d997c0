#pragma once

#include "recipe/Recipe.h"
#include "subset/SubsetRequest.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QTemporaryDir;
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

// Builds every output of a recipe from one request: each is made and checked
// in a staging folder of its own, all at once, and only when every one of
// them succeeded do they replace their targets together (see
// placeStagedFiles()). After any failure or a cancel no target has changed.
class RecipeBuild : public QObject
{
    Q_OBJECT

public:
    explicit RecipeBuild(QObject *parent = nullptr);
    ~RecipeBuild() override;

    // `request` from buildSubsetRequest(); its target and format are replaced
    // by each output's. Emits finished() once, later.
    void start(const SubsetRequest &request, const QList<RecipeOutput> &outputs);
    void cancel();

Q_SIGNALS:
    void finished(const RecipeBuildOutcome &outcome);

private:
    void onJobFinished(int index, const SubsetOutcome &outcome);
    void finish(const RecipeBuildOutcome &outcome);
    QString outputFailure(int index, const QString &message) const;

    QList<RecipeOutput> outputs;
    QList<SubsetJob *> jobs;
    QList<SubsetOutcome> outcomes;
    int pending = 0;
    std::unique_ptr<QTemporaryDir> staging;
    bool running = false;
};

// Runs one build to its end in a local event loop, for the command line,
// tests and benchmarks.
RecipeBuildOutcome runRecipeBuild(const SubsetRequest &request, const QList<RecipeOutput> &outputs);
