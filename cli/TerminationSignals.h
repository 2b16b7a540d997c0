#pragma once

#include <QEventLoop>
#include <QObject>

#include <functional>

class QSocketNotifier;

// Turns SIGINT and SIGTERM into a Qt signal for as long as the object lives,
// so that a run can stop its child and clean up before the program exits.
// A handler may do almost nothing, so it only writes the signal's number
// into a pipe that the event loop watches.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override; // the default handlers come back

Q_SIGNALS:
    void received(int signalNumber);

private:
    QSocketNotifier *notifier = nullptr;
};

// Starts `job` and waits in an event loop for its `finished` signal, which
// hands over the outcome. SIGINT or SIGTERM meanwhile cancels the job, which
// stops its children and cleans up before it finishes. Returns the number of
// the signal that stopped it, or 0; a shell expects 128 plus that number.
template <typename Job, typename Outcome>
int runUntilFinished(Job &job, void (Job::*finished)(const Outcome &), Outcome *outcome,
                     const std::function<void()> &start)
{
    TerminationSignals terminationSignals;
    int stoppedBy = 0;
    QEventLoop loop;
    QObject::connect(&terminationSignals, &TerminationSignals::received, &job, [&](int signalNumber) {
        stoppedBy = signalNumber;
        job.cancel();
    });
    QObject::connect(&job, finished, &loop, [&](const Outcome &result) {
        *outcome = result;
        loop.quit();
    });
    start();
    loop.exec();
    return stoppedBy;
}
