#pragma once

#include "charset/CharacterCollector.h"

#include <QFutureWatcher>
#include <QObject>
#include <QStringList>

#include <memory>

class QProgressDialog;
class QTextEdit;
class QTimer;
class QWidget;

// Imports the characters of several files and folders into the custom text,
// in place of what was there. The walk runs on a worker thread; one that
// lasts over half a second shows a progress dialog whose Cancel leaves the
// text as it was, and a box sums up what was found and skipped.
class CollectImport : public QObject
{
    Q_OBJECT

public:
    CollectImport(QTextEdit *target, QWidget *window);
    ~CollectImport() override; // a walk still going on is told to stop

    // Ignored while a walk is going on. Files that are not UTF-8 are read in
    // `legacyEncoding`; with none, the user is offered one when there are any.
    void start(const QStringList &paths, SourceEncoding legacyEncoding = SourceEncoding::Utf8Only);
    // Asks for a folder, then imports it.
    void chooseFolder();
    bool isRunning() const { return watcher != nullptr; }

private:
    struct Walk;

    void showProgress();
    void onFinished();

    QTextEdit *target;
    QWidget *window;
    std::shared_ptr<Walk> walk;
    QStringList paths; // of the walk going on
    QFutureWatcher<CharacterCollection> *watcher = nullptr;
    QProgressDialog *progress = nullptr;
    QTimer *progressTimer;
};
