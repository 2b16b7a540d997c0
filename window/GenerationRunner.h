#pragma once

#include <QObject>
#include <QPointer>

struct SubsetOutcome;
struct SubsetRequest;
class SubsetJob;
class QProgressDialog;
class QWidget;

// Runs one generation at a time for the window: a progress dialog with
// Cancel once a run takes a while, saying what the run is doing, then the
// error or the done box, which can open the folder of the written file. The
// window stays responsive throughout; nothing here waits on the GUI thread.
class GenerationRunner : public QObject
{
    Q_OBJECT

public:
    GenerationRunner(QWidget *window);

    bool isRunning() const;
    void start(const SubsetRequest &request);
    // Stops a run silently; its temporary files go and the target stays as it was.
    void cancel();

Q_SIGNALS:
    void runningChanged(bool running);

private:
    void onFinished(const SubsetOutcome &outcome);
    void showDone(const SubsetOutcome &outcome);

    QWidget *window;
    // A new one for every run, so that nothing of a cancelled run that is
    // still winding down can reach the next.
    SubsetJob *job = nullptr;
    QPointer<QProgressDialog> progressDialog;
};
