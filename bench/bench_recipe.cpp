// Prints what a recipe costs against the single runs it stands for, and how
// long the check a CI job runs takes:
//  - vfc-subset --recipe with three outputs (ttf, woff2 with CSS, c) of the
//    3,500 characters of tgh1, against the sum of the three equivalent
//    vfc-subset runs. Goal: at most that sum; less, as the collection and the
//    font are read once and the outputs are made side by side.
//  - vfc-subset --recipe --check over the generated 100 MB product tree of
//    bench_collect against its CJK subset. Goal: at most 1 s on this machine.
// Each figure is the median (and the best) of five runs of the program after
// one that warms the caches.

#include "bench/BenchFigures.h"
#include "bench/ProductTree.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

const QString font = QStringLiteral("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc");

bool writeText(const QString &path, const QByteArray &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

// Runs vfc-subset to its end; false unless it exits with `status`.
bool vfcSubset(const QStringList &arguments, int status = 0)
{
    QProcess process;
    process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/vfc-subset"), arguments);
    return process.waitForFinished(600000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == status;
}

// The median and the best of five runs: the machine is shared, and the
// best run shows the work itself.
struct Timing
{
    double medianMs = 0;
    double bestMs = 0;
};

Timing runMs(const QStringList &arguments, bool *ok, int status = 0)
{
    vfcSubset(arguments, status);
    QList<double> times;
    for (int run = 0; run < 5; ++run)
        times.append(medianMs(1, [&] { *ok = vfcSubset(arguments, status) && *ok; }));
    return {median(times), *std::min_element(times.cbegin(), times.cend())};
}

QByteArray recipe(const QByteArray &characters, const QByteArray &outputs)
{
    return "{\"version\": 1, \"source\": {\"file\": \"" + font.toUtf8() +
           "\"}, \"characters\": " + characters + ", \"outputs\": " + outputs + "}";
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QTemporaryDir root;
    if (!root.isValid() || !QFile::exists(font))
        return 1;
    const QDir dir(root.path());
    bool ok = true;

    const QStringList common{font, QStringLiteral("--charset=tgh1"), QStringLiteral("--force")};
    Timing singles;
    for (const QStringList &output :
         {QStringList{QStringLiteral("--output-file=") + dir.filePath(QStringLiteral("one/a.ttf"))},
          QStringList{QStringLiteral("--output-file=") + dir.filePath(QStringLiteral("one/a.woff2")),
                      QStringLiteral("--css")},
          QStringList{QStringLiteral("--output-file=") + dir.filePath(QStringLiteral("one/a.h"))}}) {
        const Timing single = runMs(common + output, &ok);
        singles.medianMs += single.medianMs;
        singles.bestMs += single.bestMs;
    }
    const QString threeOutputs = dir.filePath(QStringLiteral("three.json"));
    ok = writeText(threeOutputs, recipe("{\"charsets\": [\"tgh1\"]}",
                                        "[{\"path\": \"r/a.ttf\"}, {\"path\": \"r/a.woff2\", \"css\": true},"
                                        " {\"path\": \"r/a.h\"}]")) &&
         ok;
    const Timing together = runMs({QStringLiteral("--recipe=") + threeOutputs}, &ok);
    report("three single runs (ttf, woff2+css, c) of tgh1, summed: median", singles.medianMs, 0);
    report("  best", singles.bestMs, 0);
    report("one recipe with the same three outputs: median", together.medianMs, singles.medianMs);
    report("  best", together.bestMs, singles.bestMs);

    const qint64 treeBytes = writeProductTree(dir.filePath(QStringLiteral("tree")));
    const QString tree = dir.filePath(QStringLiteral("tree.json"));
    ok = treeBytes > 0 && writeText(tree, recipe("{\"files\": [\"tree\"]}", "[{\"path\": \"cjk.woff2\"}]")) &&
         vfcSubset({QStringLiteral("--recipe=") + tree}) && ok;
    const Timing check = runMs({QStringLiteral("--recipe=") + tree, QStringLiteral("--check")}, &ok);
    std::printf("tree: %.1f MB\n", treeBytes / 1e6);
    report("--check of the tree against its CJK subset (woff2): median", check.medianMs, 1000);
    return ok ? 0 : 1;
}
