// Prints how long one generation through the shared core takes against a bare
// hb-subset run with the same request, and their ratio. Both run alternately
// in this one process, so a busy machine slows both alike.

#include "bench/BenchFigures.h"
#include "charset/UnicodeBlockTable.h"
#include "common/UiText.h"
#include "subset/HbSubsetRunner.h"
#include "subset/SubsetJob.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRawFont>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {

const QString cjkFont = QStringLiteral("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc");
constexpr int rounds = 31;

bool runBare(const QString &executable, const QString &unicodes, const QString &output)
{
    QProcess process;
    process.start(executable,
                  {cjkFont, QStringLiteral("--output-file=%1").arg(output),
                   QStringLiteral("--unicodes=%1").arg(unicodes), QStringLiteral("--layout-features=*")});
    return process.waitForFinished(300000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// `prepare` turns the user's choice into the request, as the window does.
// hb-subset is handed that same prepared request, so the ratio compares the
// core with the tool alone; the preparation is shown on its own.
bool measure(const char *label, const std::function<void(SubsetChoices &)> &choose, const QString &directory)
{
    const QString tools = QCoreApplication::applicationDirPath();
    const QString executable = findHbSubsetExecutable(tools);
    auto prepare = [&](SubsetRequest &request) {
        SubsetChoices choices;
        choices.face.path = cjkFont;
        choices.targetPath = directory + QStringLiteral("/core.ttf");
        setUiEnglish(true);
        choices.toolDirectory = tools;
        choose(choices);
        buildSubsetRequest(choices, &request, nullptr);
    };
    SubsetRequest probe;
    prepare(probe);

    QList<double> bare, core, preparation;
    QElapsedTimer timer;
    for (int round = 0; round < rounds; ++round) {
        const QString bareOutput = directory + QStringLiteral("/bare.ttf");
        timer.start();
        if (!runBare(executable, probe.unicodesArgument, bareOutput)) {
            std::fprintf(stderr, "bare hb-subset failed for %s\n", label);
            return false;
        }
        bare.append(timer.nsecsElapsed() / 1e6);

        timer.start();
        SubsetRequest request;
        prepare(request);
        preparation.append(timer.nsecsElapsed() / 1e6);
        timer.start();
        const SubsetOutcome outcome = runSubsetJob(request);
        core.append(timer.nsecsElapsed() / 1e6);
        if (!outcome.ok) {
            std::fprintf(stderr, "core failed for %s: %s\n", label, qPrintable(outcome.errorMessage));
            return false;
        }
    }
    // Each round's two runs met the same load, so the ratio is taken per
    // round and its median printed.
    QList<double> ratios;
    for (int round = 0; round < rounds; ++round)
        ratios.append(core.at(round) / bare.at(round));
    std::printf("%-28s %8lld %10.1f %10.1f %7.2f %10.1f\n", label, qlonglong(probe.codepoints.size()),
                median(bare), median(core), median(ratios), median(preparation));
    return true;
}

// The median time buildSubsetRequest alone takes for `choices`, in ms: the
// part of a generation that runs on the window's thread before hb-subset.
double preparationMs(const SubsetChoices &choices)
{
    QList<double> samples;
    QElapsedTimer timer;
    for (int round = 0; round < 101; ++round) {
        SubsetRequest request;
        timer.start();
        if (!buildSubsetRequest(choices, &request, nullptr))
            return -1;
        samples.append(timer.nsecsElapsed() / 1e6);
    }
    return median(samples);
}

void printPreparation(const QList<int> &allRows)
{
    SubsetChoices choices;
    choices.face.path = cjkFont;
    setUiEnglish(true);
    QString everyIdeograph;
    for (char16_t codepoint = 0x4E00; codepoint <= 0x9FA5; ++codepoint)
        everyIdeograph.append(QChar(codepoint));

    std::printf(
        "\nbuildSubsetRequest alone, median of 101 runs (ms); target: under 1 ms at 20,902 characters\n");
    choices.texts = QStringList{everyIdeograph};
    std::printf("%-40s %8.3f\n", "20,902 characters as text", preparationMs(choices));
    choices.texts.clear();
    choices.ranges = {CodepointRange{0x4E00, 0x9FA5}};
    std::printf("%-40s %8.3f\n", "20,902 characters as range 4E00-9FA5", preparationMs(choices));
    choices.ranges.clear();
    choices.blockRows = allRows;
    std::printf("%-40s %8.3f\n", "all 115 blocks", preparationMs(choices));
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir directory;
    if (!directory.isValid() || findHbSubsetExecutable(QCoreApplication::applicationDirPath()).isEmpty()) {
        std::fprintf(stderr, "needs a writable temporary folder and hb-subset beside this program\n");
        return 1;
    }

    QList<int> allRows;
    for (int row = 1; row <= unicodeBlockCount; ++row)
        allRows.append(row);
    // 3,500 different ideographs that the font has, spread over the block.
    QString text;
    const QRawFont font(cjkFont, 16.0);
    for (uint codepoint = 0x4E00; codepoint <= 0x9FA5 && text.size() < 3500; codepoint += 5) {
        if (font.supportsCharacter(codepoint))
            text.append(QChar(char16_t(codepoint)));
    }

    std::printf("Generation from %s, median of %d runs (ms)\n", qPrintable(cjkFont), rounds);
    std::printf("%-28s %8s %10s %10s %7s %10s\n", "request", "points", "hb-subset", "core", "ratio",
                "prepare");
    const bool ok = measure(
                        "all 115 blocks", [&](SubsetChoices &choices) { choices.blockRows = allRows; },
                        directory.path()) &&
                    measure(
                        "3,500-character custom text",
                        [&](SubsetChoices &choices) { choices.texts = QStringList{text}; }, directory.path());
    std::printf("target: ratio at most 1.25\n");
    printPreparation(allRows);
    return ok ? 0 : 1;
}
