#include "web/WebSliceJob.h"

#include <QEventLoop>
#include <QPointer>
#include <QtConcurrent>

WebSliceJob::WebSliceJob(QObject *parent) : QObject(parent)
{
    connect(&watcher, &QFutureWatcher<WebSliceOutcome>::finished, this, [this] {
        running = false;
        Q_EMIT finished(watcher.result());
    });
}

WebSliceJob::~WebSliceJob()
{
    if (running) {
        stop->store(true);
        watcher.waitForFinished();
    }
}

void WebSliceJob::start(const WebSliceRequest &request)
{
    Q_ASSERT(!running);
    running = true;
    stop = std::make_shared<std::atomic<bool>>(false);
    // Posted to this job's thread; dropped once the job is gone.
    const QPointer<WebSliceJob> self(this);
    const auto progress = [self](int done, int total) {
        QMetaObject::invokeMethod(
            self,
            [self, done, total] {
                if (self && self->running)
                    Q_EMIT self->progressChanged(done, total);
            },
            Qt::QueuedConnection);
    };
    const std::shared_ptr<std::atomic<bool>> flag = stop;
    watcher.setFuture(QtConcurrent::run([request, flag, progress] { return runWebSlices(request, flag.get(), progress); }));
}

void WebSliceJob::cancel()
{
    if (running)
        stop->store(true);
}

WebSliceOutcome runWebSliceJob(const WebSliceRequest &request)
{
    WebSliceJob job;
    WebSliceOutcome outcome;
    QEventLoop loop;
    QObject::connect(&job, &WebSliceJob::finished, &loop, [&](const WebSliceOutcome &result) {
        outcome = result;
        loop.quit();
    });
    job.start(request);
    loop.exec();
    return outcome;
}
