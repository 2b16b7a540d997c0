#pragma once

#include "font/FontFace.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

struct SubsetChoices;
struct WebSliceOutcome;
struct WebSliceRequest;
class WebSliceJob;
class QProgressDialog;
class QWidget;

// Runs one slice folder at a time for the window: a progress dialog that
// counts the slices, with Cancel, then the error or the done box with the
// count and size, which can open the folder. Nothing waits on the GUI thread.
class SliceRunner : public QObject
{
    Q_OBJECT

public:
    explicit SliceRunner(QWidget *window);

    bool isRunning() const;
    void start(const WebSliceRequest &request);
    void cancel();

Q_SIGNALS:
    void runningChanged(bool running);

private:
    void onFinished(const WebSliceOutcome &outcome);

    QWidget *window;
    WebSliceJob *job = nullptr; // a new one for every run
    QPointer<QProgressDialog> progressDialog;
};

// A slice request from the window's choices: the face of `choices` and
// `otherFaces`, with every other installed style of its family when `allStyles`; `sample` for
// the test page (the start of the request when empty). Asks for the folder
// last, named `name` after cleaning. False with `errorMessage` set when the
// choices cannot be used, with it empty when the user stopped.
bool prepareSliceRequest(QWidget *window, const SubsetChoices &choices, const QList<FontFace> &otherFaces,
                         bool allStyles, const QString &name,
                         const QString &sample, WebSliceRequest *request, QString *errorMessage);
