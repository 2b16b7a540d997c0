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

    // Ignored while a walk is going on. `appended` follows the characters
    // found in the text. When files are not UTF-8 and `patterns` names no
    // legacy encoding, the user is offered one.
    void start(const QStringList &paths, const CollectionPatterns &patterns = CollectionPatterns(),
               const QString &appended = QString());
    // Asks for a folder, then imports it.
    void chooseFolder();
    bool isRunning() const { return watcher != nullptr; }

    // The import whose characters the text holds now: what was named, how
    // it was walked and what was found. Empty paths when there is none.
    struct Imported
    {
        QStringList paths;
        CollectionPatterns patterns;
        QList<uint> codepoints;
    };
    const Imported &lastImport() const { return imported; }
    void forgetImport() { imported = Imported(); }

private:
    struct Walk;

    void showProgress();
    void onFinished();

    QTextEdit *target;
    QWidget *window;
    std::shared_ptr<Walk> walk;
    QFutureWatcher<CharacterCollection> *watcher = nullptr;
    QProgressDialog *progress = nullptr;
    QTimer *progressTimer;
    Imported starting; // until the walk ends well
    QString appendedText;
    Imported imported;
};
