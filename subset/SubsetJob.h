#pragma once

#include "subset/SubsetRequest.h"
#include "subset/SubsetStage.h"

#include <QFuture>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

class QTemporaryFile;
class QTimer;

struct SubsetOutcome
{
    bool ok = false;
    bool cancelled = false;        // stopped on request: nothing to show
    QString errorMessage;          // in the request's language; set when it failed
    QString missingCharsNote;      // empty when the font lacks nothing requested
    QList<uint> missingCodepoints; // ascending: what the note is about, and the whole list
    QString writtenPath;           // the file in place, when ok
    OutputFormat format = OutputFormat::TrueType;
    QStringList writtenFiles; // every file in place, the font first
    QString sizeReport;       // one line: the font against its source
};

// What the font lacks of the request. The list is written out only where it
// is shown (vfc-subset --list-missing, the window's details a slice at a
// time): an all-blocks request misses tens of thousands of characters.
struct MissingReport
{
    QList<uint> codepoints;
    QString note;
};

// One generation, run without ever blocking the thread it lives on: hb-subset
// is driven by its signals and the checks after it run on a worker thread.
// The result goes to a temporary file and replaces the target in one step at
// the end, so the previous target stays as it was after every failure or
// cancel, and no temporary file is left behind.
class SubsetJob : public QObject
{
    Q_OBJECT

public:
    explicit SubsetJob(QObject *parent = nullptr);
    ~SubsetJob() override; // a job still running is cancelled

    // Emits finished() once, later, from the event loop. The request comes
    // from buildSubsetRequest(), which has checked its source.
    void start(const SubsetRequest &request);
    // Stops hb-subset, removes what the run wrote so far and emits finished()
    // with `cancelled` set. Nothing happens when no run is going on.
    void cancel();
    bool isRunning() const { return running; }

Q_SIGNALS:
    // As each stage of the run begins; none after finished().
    void stageChanged(SubsetStage stage);
    void finished(const SubsetOutcome &outcome);

private:
    struct Finishing;

    void onProcessFinished(int exitCode, QProcess::ExitStatus status);
    void onProcessError(QProcess::ProcessError error);
    void onFinishingDone(const std::shared_ptr<Finishing> &state);
    void stopProcess();
    void finish(SubsetOutcome outcome);
    void fail(const QString &message);
    void failLater(const QString &message);

    SubsetRequest request;
    SubsetOutcome pending;
    QString temporaryPath;
    std::unique_ptr<QProcess> process;
    std::unique_ptr<QTemporaryFile> listFile;
    QTimer *finishTimer;
    std::shared_ptr<Finishing> finishing;
    QFuture<MissingReport> missingLookup;
    quint64 runNumber = 0;
    bool running = false;
};

// Runs one job to its end in a local event loop: for tests and benchmarks,
// never for the window.
SubsetOutcome runSubsetJob(const SubsetRequest &request);
