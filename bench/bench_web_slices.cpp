// WOFF2 slices for the web from Noto Sans CJK SC and GB 2312. Prints:
// - the time of the whole slice folder against one WOFF2 of the same
//   characters (target: at most that time), and the processor time of the
//   child processes against the wall clock, which shows how many
//   compressions ran at once (each runs in a vfc-woff2 process of its own:
//   nothing is serialised around standard error any more);
// - the slices' total size against the one WOFF2 (target: at most 1.3 x);
// - the bytes a page of ordinary Chinese prose (bench/data/prose-zh.txt)
//   downloads, against the one WOFF2 (target: at most 20%), and what slices
//   cut in code point order would make it download;
// - eight compressions one after the other against all at once.

#include "bench/BenchFigures.h"
#include "charset/StandardCharsets.h"
#include "subset/SubsetJob.h"
#include "subset/UnicodesArgument.h"
#include "subset/Woff2Output.h"
#include "web/SliceBuilder.h"
#include "web/SlicePlan.h"
#include "web/SlicingStrategy.h"
#include "web/WebSliceJob.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QProcess>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QtConcurrent>

#include <cstdio>

#include <sys/resource.h>

namespace {

const QString notoCjk = QStringLiteral("/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc");

double childCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// What a page showing `shown` downloads from the slices of `styleSheet`.
qint64 pageBytes(const QString &folder, const QString &styleSheet, const QSet<uint> &shown, int *slices)
{
    static const QRegularExpression rule(QStringLiteral("url\\(\"([^\"]+)\"\\)[^}]*unicode-range: ([^;]+);"));
    qint64 bytes = 0;
    *slices = 0;
    QFile file(styleSheet);
    file.open(QIODevice::ReadOnly);
    for (const QRegularExpressionMatch &match : rule.globalMatch(QString::fromUtf8(file.readAll()))) {
        bool needed = false;
        for (const QString &range : match.captured(2).split(QStringLiteral(", "))) {
            const QStringList ends = range.mid(2).split(QLatin1Char('-'));
            for (uint c = ends.first().toUInt(nullptr, 16); !needed && c <= ends.last().toUInt(nullptr, 16); ++c)
                needed = shown.contains(c);
        }
        if (needed) {
            ++*slices;
            bytes += QFileInfo(QDir(folder).filePath(match.captured(1))).size();
        }
    }
    return bytes;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString tools = QCoreApplication::applicationDirPath();
    QTemporaryDir work;
    QList<uint> gb2312 = standardCharsetCharacters(findStandardCharset(QStringLiteral("gb2312")));
    std::sort(gb2312.begin(), gb2312.end());

    SubsetRequest one;
    one.face = {notoCjk, 2};
    one.codepoints = gb2312;
    one.unicodesArgument = formatUnicodesArgument(gb2312);
    one.toolDirectory = tools;
    one.format = OutputFormat::Woff2;
    one.targetPath = work.filePath(QStringLiteral("one.woff2"));
    QElapsedTimer timer;
    timer.start();
    const SubsetOutcome whole = runSubsetJob(one);
    const double oneMs = double(timer.elapsed());
    const qint64 oneBytes = QFileInfo(one.targetPath).size();
    if (!whole.ok) {
        std::fprintf(stderr, "one WOFF2 failed: %s\n", qPrintable(whole.errorMessage));
        return 1;
    }

    WebSliceRequest request;
    request.faces = {{notoCjk, 2}};
    request.codepoints = gb2312;
    request.targetFolder = work.filePath(QStringLiteral("gb"));
    request.toolDirectory = tools;
    const double cpuBefore = childCpuSeconds();
    timer.restart();
    const WebSliceOutcome sliced = runWebSliceJob(request);
    const double slicesMs = double(timer.elapsed());
    const double cpu = childCpuSeconds() - cpuBefore;
    if (!sliced.ok) {
        std::fprintf(stderr, "slices failed: %s\n", qPrintable(sliced.errorMessage));
        return 1;
    }

    std::printf("GB 2312 from Noto Sans CJK SC, %d characters, %d cores\n", int(gb2312.size()),
                QThread::idealThreadCount());
    report("one WOFF2 (hb-subset, check, vfc-woff2)", oneMs, 0);
    report(qPrintable(QStringLiteral("slice folder, %1 slices").arg(sliced.sliceCount)), slicesMs, oneMs);
    std::printf("%-62s %8.2f x  (cores kept busy)\n", "child processor time / wall clock while slicing",
                cpu / (slicesMs / 1000));
    std::printf("%-62s %8.2f x  (target <= 1.30)\n",
                qPrintable(QStringLiteral("slices %1 KB / one WOFF2 %2 KB").arg(sliced.totalBytes / 1000).arg(oneBytes / 1000)),
                double(sliced.totalBytes) / double(oneBytes));

    QFile prose(QStringLiteral(VFC_SOURCE_DIR "/bench/data/prose-zh.txt"));
    prose.open(QIODevice::ReadOnly);
    QSet<uint> shown;
    for (char32_t c : QString::fromUtf8(prose.readAll()).toUcs4())
        shown.insert(uint(c));
    int slices = 0;
    const qint64 page = pageBytes(request.targetFolder, request.targetFolder + QStringLiteral("/gb.css"), shown, &slices);
    std::printf("%-62s %8.1f %%  (target <= 20%%)\n",
                qPrintable(QStringLiteral("prose page, %1 distinct characters: %2 slices, %3 KB")
                               .arg(shown.size()).arg(slices).arg(page / 1000)),
                100.0 * double(page) / double(oneBytes));

    // The same number of slices cut in code point order.
    const QString plain = work.filePath(QStringLiteral("plain"));
    QDir().mkpath(plain);
    const qsizetype size = (gb2312.size() + sliced.sliceCount - 1) / sliced.sliceCount;
    QList<SliceTask> tasks;
    QString css;
    for (qsizetype start = 0; start < gb2312.size(); start += size) {
        const QList<uint> part = gb2312.mid(start, size);
        const QString name = QStringLiteral("p%1.woff2").arg(start);
        tasks.append({{notoCjk, 2}, part, QDir(plain).filePath(name), SubsetOptions(), tools});
        css += QStringLiteral("src: url(\"%1\"); unicode-range: U+%2-%3;}\n")
                   .arg(name, QString::number(part.first(), 16), QString::number(part.last(), 16));
    }
    std::atomic<bool> stop{false};
    QList<qint64> bytes;
    buildSlicesInParallel(tasks, &stop, &bytes);
    QFile plainCss(QDir(plain).filePath(QStringLiteral("plain.css")));
    plainCss.open(QIODevice::WriteOnly);
    plainCss.write(css.toUtf8());
    plainCss.close();
    const qint64 plainPage = pageBytes(plain, plainCss.fileName(), shown, &slices);
    std::printf("%-62s %8.1f %%\n",
                qPrintable(QStringLiteral("same page, code point order: %1 slices, %2 KB").arg(slices).arg(plainPage / 1000)),
                100.0 * double(plainPage) / double(oneBytes));

    // Compressions one after the other against all at once, of the same
    // eight subsets: each vfc-woff2 is a process of its own.
    QStringList fonts;
    for (int i = 0; i < 8; ++i) {
        const QString font = work.filePath(QStringLiteral("part%1.otf").arg(i));
        QProcess::execute(QStringLiteral("hb-subset"),
                          {notoCjk, QStringLiteral("--face-index=2"), QStringLiteral("--output-file=") + font,
                           QStringLiteral("--unicodes=") + formatUnicodesArgument(gb2312.mid(i * 400, 400))});
        fonts.append(font);
    }
    const auto compress = [&tools](const QString &font) { compressWoff2(tools, font, font + QStringLiteral(".woff2"), nullptr); };
    timer.restart();
    for (const QString &font : fonts)
        compress(font);
    const double serialMs = double(timer.elapsed());
    timer.restart();
    QtConcurrent::blockingMap(fonts, compress);
    const double parallelMs = double(timer.elapsed());
    report("8 compressions of 400 characters, one after the other", serialMs, 0);
    report(qPrintable(QStringLiteral("the same, %1 at once").arg(QThreadPool::globalInstance()->maxThreadCount())),
           parallelMs, 0);
    std::printf("%-62s %8.2f x\n", "speed-up", serialMs / parallelMs);
    return 0;
}
