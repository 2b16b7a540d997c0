#pragma once

#include "web/WebSliceRun.h"

#include <QFutureWatcher>
#include <QObject>

#include <atomic>
#include <memory>

// One slice-folder run without ever blocking the thread it lives on: the
// run goes on a worker and reports here. finished() comes once the worker
// has ended, so after a cancel nothing of the run is left on disk by then.
class WebSliceJob : public QObject
{
    Q_OBJECT

public:
    explicit WebSliceJob(QObject *parent = nullptr);
    ~WebSliceJob() override; // a running job is stopped and waited for

    void start(const WebSliceRequest &request);
    void cancel();
    bool isRunning() const { return running; }

Q_SIGNALS:
    void progressChanged(int done, int total);
    void finished(const WebSliceOutcome &outcome);

private:
    std::shared_ptr<std::atomic<bool>> stop;
    QFutureWatcher<WebSliceOutcome> watcher;
    bool running = false;
};

// Runs one job to its end in a local event loop: for tests and benchmarks.
WebSliceOutcome runWebSliceJob(const WebSliceRequest &request);
