// Prints the longest time the window goes without processing events while
// it generates a subset, in two phases: the run, from the moment the output
// folder is chosen, and then the building and showing of the result box. A
// 1 ms timer on the GUI thread ticks all along; a late tick is a moment the
// user's clicks and repaints would have waited. Where in the run its longest
// gap ended is printed too: at the very start it is the folder dialog's own
// closing and the job's start, at the end the result.
//
//   bench_window_gaps [runs]      (default 3)
//
// Runs the real window under the offscreen platform and answers its modal
// dialogs as the GUI tests do: the folder dialog, the overwrite question and
// the closing message box. The second row's hb-subset sleeps 10 seconds
// before the real work, as a huge font would take.

#include "../tests/ModalDriver.h"
#include "subset/HbSubsetRunner.h"
#include "window/VectorFontClipDialog.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

const QString notoCjk = QStringLiteral("/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc");
const QString dejaVu = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");

// Ticks every millisecond on the GUI thread and keeps the longest time
// between two ticks, per phase: the run itself, then the showing of its
// result, which the first message box's Show event separates.
class GapMeter : public QObject
{
public:
    GapMeter()
    {
        tick.setTimerType(Qt::PreciseTimer);
        tick.setInterval(1);
        connect(&tick, &QTimer::timeout, this, &GapMeter::onTick);
        clock.start();
        tick.start();
        qApp->installEventFilter(this);
    }
    void begin()
    {
        measuring = true;
        phases.clear();
        longest = 0;
        last = clock.nsecsElapsed();
        started = last;
    }
    // The longest gap of the run and of the showing of its result, in ms.
    QList<double> end()
    {
        onTick();
        measuring = false;
        phases.append(longest / 1e6);
        return phases;
    }
    // When the run's longest gap ended, counted from begin(): at the start,
    // at the end or in between tells where to look.
    double runLongestEndMs() const { return runLongestEnd / 1e6; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // The stall that builds the box falls into the gap still open now.
        auto *box = qobject_cast<QMessageBox *>(watched);
        if (measuring && phases.isEmpty() && event->type() == QEvent::Show && box &&
            !box->button(QMessageBox::Yes)) {
            phases.append(longest / 1e6);
            longest = 0;
        }
        return false;
    }

private:
    void onTick()
    {
        const qint64 now = clock.nsecsElapsed();
        if (measuring && now - last > longest) {
            longest = now - last;
            if (phases.isEmpty())
                runLongestEnd = now - started;
        }
        last = now;
    }

    QTimer tick;
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 started = 0;
    qint64 longest = 0;
    qint64 runLongestEnd = 0;
    QList<double> phases;
    bool measuring = false;
};

struct RunFigures
{
    double runGapMs = -1;    // folder chosen until the result box is built
    double resultGapMs = -1; // building and showing the result box
    double runGapEndMs = -1;
    double wallMs = -1;
    QString failure; // the window's error text, or what went wrong driving it
};

template <typename T> T *child(QWidget *window, const char *name)
{
    return window->findChild<T *>(QLatin1String(name));
}

void settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// One all-blocks generation of `font` in a fresh window.
RunFigures generateAllBlocks(const QString &font, const QString &toolDirectory,
                             const QString &outputDirectory)
{
    RunFigures figures;
    VectorFontClipDialog window(1);
    window.setToolDirectory(toolDirectory);
    window.show();
    auto *fontEdit = child<QLineEdit>(&window, "fontPathEdit");
    auto *nameEdit = child<QLineEdit>(&window, "outputNameEdit");
    auto *tabs = child<QTabWidget>(&window, "characterTabs");
    auto *blocksPage = child<QWidget>(&window, "blocksPage");
    auto *selectAll = child<QPushButton>(&window, "selectAllButton");
    auto *generate = child<QPushButton>(&window, "generateButton");
    if (!fontEdit || !nameEdit || !tabs || !blocksPage || !selectAll || !generate) {
        figures.failure = QStringLiteral("a control of the window was not found");
        return figures;
    }
    fontEdit->setText(font);
    nameEdit->setText(QStringLiteral("subset"));
    tabs->setCurrentWidget(blocksPage);
    selectAll->click();
    settle(300); // the font scan and preview that follow choosing a font are not the run

    GapMeter meter;
    QElapsedTimer wall;
    QEventLoop loop;
    QTimer driver;
    driver.setInterval(5);
    QObject::connect(&driver, &QTimer::timeout, &loop, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || qobject_cast<QProgressDialog *>(modal))
            return;
        if (qobject_cast<QFileDialog *>(modal)) {
            ModalDriver::chooseFile(outputDirectory)(modal);
            meter.begin();
            wall.start();
            return;
        }
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (box && box->button(QMessageBox::Yes)) {
            ModalDriver::press(QMessageBox::Yes)(box);
            return;
        }
        driver.stop();
        if (wall.isValid()) {
            const QList<double> phases = meter.end();
            figures.runGapMs = phases.first();
            figures.resultGapMs = phases.size() > 1 ? phases.at(1) : -1;
            figures.runGapEndMs = meter.runLongestEndMs();
            figures.wallMs = wall.nsecsElapsed() / 1e6;
        }
        if (!box || box->icon() != QMessageBox::Information)
            figures.failure = box ? box->text() : QString::fromLatin1(modal->metaObject()->className());
        ModalDriver::press(QMessageBox::Ok)(modal);
        loop.quit();
    });
    driver.start();
    QTimer::singleShot(0, generate, &QPushButton::click);
    loop.exec();
    window.close();
    return figures;
}

// A folder with an hb-subset that first sleeps, then does the real work:
// a run that takes as long as a huge font would.
bool makeSlowTool(const QString &directory, const QString &realTool, int seconds)
{
    QFile script(QDir(directory).filePath(QStringLiteral("hb-subset")));
    if (!script.open(QIODevice::WriteOnly))
        return false;
    script.write(
        QStringLiteral("#!/bin/sh\nsleep %1\nexec '%2' \"$@\"\n").arg(seconds).arg(realTool).toLocal8Bit());
    script.close();
    return script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
}

void report(const char *label, const QString &font, const QString &toolDirectory, int runs)
{
    if (!QFileInfo::exists(font)) {
        std::printf("%-34s font not installed: %s\n", label, qPrintable(font));
        return;
    }
    QList<double> walls;
    double runGap = 0;
    double resultGap = 0;
    QStringList each;
    for (int run = 0; run < runs; ++run) {
        QTemporaryDir output;
        const RunFigures figures = generateAllBlocks(font, toolDirectory, output.path());
        if (!figures.failure.isEmpty()) {
            std::printf("%-34s failed: %s\n", label, qPrintable(figures.failure));
            return;
        }
        walls.append(figures.wallMs);
        runGap = std::max(runGap, figures.runGapMs);
        resultGap = std::max(resultGap, figures.resultGapMs);
        each.append(QStringLiteral("%1 at %2 / %3")
                        .arg(figures.runGapMs, 0, 'f', 1)
                        .arg(figures.runGapEndMs, 0, 'f', 0)
                        .arg(figures.resultGapMs, 0, 'f', 1));
    }
    std::sort(walls.begin(), walls.end());
    std::printf("%-34s %9.0f %9.1f %9.1f   %s\n", label, walls.at(walls.size() / 2), runGap, resultGap,
                qPrintable(each.join(QStringLiteral(", "))));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 3;
    const QString tools = QCoreApplication::applicationDirPath();
    const QString realTool = QFileInfo(findHbSubsetExecutable(tools)).canonicalFilePath();
    QTemporaryDir slowTools;
    if (realTool.isEmpty() || !slowTools.isValid() || !makeSlowTool(slowTools.path(), realTool, 10)) {
        std::fprintf(stderr, "needs hb-subset beside this program and a writable temporary folder\n");
        return 1;
    }

    std::printf("Window generating all blocks, %d runs each; longest gap between processed events in ms,\n"
                "while running (from the folder's choice) and while building and showing the result box;\n"
                "target: at most 50 ms\n\n",
                runs);
    std::printf("%-34s %9s %9s %9s   %s\n", "run", "median ms", "running", "result",
                "each run: running gap at ms / result gap");
    std::fflush(stdout);
    report("Noto Sans CJK .ttc", notoCjk, tools, runs);
    report("DejaVu Sans, hb-subset sleeps 10 s", dejaVu, slowTools.path(), runs);
    return 0;
}
