// Prints what the check of a finished subset costs beside the hb-subset run
// that made it: the in-process part (HarfBuzz reading the subset back) and
// ots-sanitize, each as a share of hb-subset's own time.

#include "bench/BenchFigures.h"
#include "charset/UnicodeBlockTable.h"
#include "common/UiText.h"
#include "subset/HbSubsetRunner.h"
#include "subset/OtsSanitizer.h"
#include "subset/SubsetCheck.h"
#include "subset/SubsetRequest.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <cstdio>

namespace {

bool measure(const char *label, const SubsetChoices &choices, int rounds, const QString &output)
{
    SubsetRequest request;
    QString error;
    if (!buildSubsetRequest(choices, &request, &error)) {
        std::fprintf(stderr, "%s: %s\n", label, qPrintable(error));
        return false;
    }
    const QString executable = findHbSubsetExecutable(choices.toolDirectory);
    QList<double> subset, inProcess, sanitizer;
    QElapsedTimer timer;
    for (int round = 0; round < rounds; ++round) {
        QTemporaryFile listFile;
        QStringList arguments;
        hbSubsetArguments(executable, request.face.path, request.face.index, request.unicodesArgument, output,
                          &listFile, &arguments);
        QProcess process;
        timer.start();
        process.start(executable, arguments);
        if (!process.waitForFinished(600000) || process.exitCode() != 0) {
            std::fprintf(stderr, "%s: hb-subset failed\n", label);
            return false;
        }
        subset.append(timer.nsecsElapsed() / 1e6);

        timer.start();
        const QString defect = subsetFontDefect(request.face, request.codepoints, output);
        inProcess.append(timer.nsecsElapsed() / 1e6);
        timer.start();
        const QString rejected = sanitizerDefect(output, 1);
        sanitizer.append(timer.nsecsElapsed() / 1e6);
        if (!defect.isEmpty() || !rejected.isEmpty()) {
            std::fprintf(stderr, "%s: check refused a good subset: %s%s\n", label, qPrintable(defect),
                         qPrintable(rejected));
            return false;
        }
    }
    std::printf("%-26s %7lld %10.1f %10.1f %6.1f%% %10.1f %6.1f%%\n", label,
                qlonglong(request.codepoints.size()), median(subset), median(inProcess),
                100 * median(inProcess) / median(subset), median(sanitizer),
                100 * median(sanitizer) / median(subset));
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir directory;
    SubsetChoices choices;
    choices.toolDirectory = QCoreApplication::applicationDirPath();
    setUiEnglish(true);
    if (!directory.isValid() || findHbSubsetExecutable(choices.toolDirectory).isEmpty()) {
        std::fprintf(stderr, "needs a writable temporary folder and hb-subset beside this program\n");
        return 1;
    }
    const QString output = directory.filePath(QStringLiteral("subset.otf"));
    std::printf("Check after hb-subset, median ms (ots-sanitize %s)\n",
                findOtsSanitize().isEmpty() ? "not installed" : qPrintable(findOtsSanitize()));
    std::printf("%-26s %7s %10s %10s %7s %10s %7s\n", "request", "points", "hb-subset", "in-process", "share",
                "sanitizer", "share");

    choices.face.path = QStringLiteral("/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc");
    for (int row = 1; row <= unicodeBlockCount; ++row)
        choices.blockRows.append(row);
    const bool cjk = measure("NotoSansCJK, all blocks", choices, 5, output);

    choices.face.path = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
    choices.blockRows.clear();
    QString text; // printable ASCII, then Latin-1 letters
    for (char16_t character = 0x21; character <= 0x7E; ++character)
        text.append(QChar(character));
    for (char16_t character = 0xC0; text.size() < 100; ++character)
        text.append(QChar(character));
    choices.texts = QStringList{text};
    const bool latin = measure("DejaVu Sans, 100 characters", choices, 21, output);
    std::printf("target: in-process share under 10%%\n");
    return cjk && latin ? 0 : 1;
}
