#pragma once

#include <QObject>

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
