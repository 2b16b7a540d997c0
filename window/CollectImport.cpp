#include "window/CollectImport.h"

#include "common/UiText.h"
#include "window/DelayedProgress.h"
#include "window/EncodingQuestion.h"

#include <QFileDialog>
#include <QLocale>
#include <QMessageBox>
#include <QProgressDialog>
#include <QTextEdit>
#include <QTimer>
#include <QtConcurrent>

// What the worker and the window share; it outlives either of them.
struct CollectImport::Walk
{
    std::atomic<bool> cancel = false;
    std::atomic<int> files = 0;
    std::atomic<qint64> bytes = 0;
};

CollectImport::CollectImport(QTextEdit *target, QWidget *window)
    : QObject(window), target(target), window(window), progressTimer(new QTimer(this))
{
    progressTimer->setInterval(200);
    connect(progressTimer, &QTimer::timeout, this, &CollectImport::showProgress);
}

CollectImport::~CollectImport()
{
    if (walk)
        walk->cancel = true;
}

void CollectImport::chooseFolder()
{
    if (isRunning())
        return;
    const QString folder =
        QFileDialog::getExistingDirectory(window, uiText("Import characters from folder", "从文件夹导入字符"),
                                          QString(), QFileDialog::ShowDirsOnly);
    if (!folder.isEmpty())
        start({folder});
}

void CollectImport::start(const QStringList &paths, SourceEncoding legacyEncoding)
{
    if (isRunning() || paths.isEmpty())
        return;
    this->paths = paths;
    CollectionPatterns patterns;
    patterns.legacyEncoding = legacyEncoding;
    walk = std::make_shared<Walk>();
    watcher = new QFutureWatcher<CharacterCollection>(this);
    connect(watcher, &QFutureWatcher<CharacterCollection>::finished, this, &CollectImport::onFinished);
    const std::shared_ptr<Walk> state = walk;
    watcher->setFuture(QtConcurrent::run([state, paths, patterns] {
        return collectCharacters(paths, patterns, &state->cancel,
                                 [state](int files, qint64 bytes) {
                                     state->files = files;
                                     state->bytes = bytes;
                                 });
    }));

    progress = makeDelayedProgress(window, uiText("Reading files…", "正在读取文件…"),
                                   QStringLiteral("collectProgress"));
    connect(progress, &QProgressDialog::canceled, this, [state] { state->cancel = true; });
    progressTimer->start();
}

void CollectImport::showProgress()
{
    if (!progress || !walk)
        return;
    const QLocale numbers(QLocale::English, QLocale::UnitedStates);
    progress->setLabelText(uiText("Reading files… %1 read, %2 MB", "正在读取文件… 已读 %1 个，%2 MB")
                               .arg(numbers.toString(walk->files.load()),
                                    numbers.toString(double(walk->bytes.load()) / 1e6, 'f', 1)));
}

void CollectImport::onFinished()
{
    const CharacterCollection collection = watcher->result();
    // A walk that ended just as the user pressed Cancel is cancelled all the same.
    const bool cancelled = collection.cancelled || walk->cancel;
    watcher->deleteLater();
    watcher = nullptr;
    walk.reset();
    progressTimer->stop();
    endDelayedProgress(progress);
    progress = nullptr;
    if (cancelled)
        return;
    SourceEncoding encoding;
    if (!collection.notUtf8.isEmpty() && collection.legacyEncoding == SourceEncoding::Utf8Only &&
        askLegacyEncoding(window,
                          uiText("Files not in UTF-8 added nothing: %1 (e.g. %2).",
                                 "非 UTF-8 文件未提供字符：%1 个（例如 %2）。")
                              .arg(collection.notUtf8.size())
                              .arg(collection.notUtf8.first()),
                          &encoding)) {
        start(paths, encoding);
        return;
    }
    // Finding nothing is no reason to throw away what the user had.
    if (!collection.codepoints.isEmpty())
        target->setPlainText(collectedText(collection.codepoints));
    QMessageBox::information(window, uiText("Import finished", "导入完成"), collectionSummary(collection));
}
