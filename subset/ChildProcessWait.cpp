#include "subset/ChildProcessWait.h"

#include <QDeadlineTimer>
#include <QProcess>

ChildWait waitForChild(QProcess *process, int timeoutMs, const std::atomic<bool> *stop)
{
    const QDeadlineTimer deadline =
        timeoutMs < 0 ? QDeadlineTimer(QDeadlineTimer::Forever) : QDeadlineTimer(timeoutMs);
    ChildWait result = ChildWait::Finished;
    while (!process->waitForFinished(50)) {
        // No event loop runs here, so the child's end is seen inside the
        // wait; a child that is not running either never started or has
        // already been seen to end.
        if (process->state() == QProcess::NotRunning) {
            result =
                process->error() == QProcess::FailedToStart ? ChildWait::NotStarted : ChildWait::Finished;
            break;
        }
        if (stop && stop->load()) {
            result = ChildWait::Stopped;
            break;
        }
        if (deadline.hasExpired()) {
            result = ChildWait::TimedOut;
            break;
        }
    }
    if (result != ChildWait::Finished && process->state() != QProcess::NotRunning) {
        process->kill();
        process->waitForFinished(1000);
    }
    return result;
}
