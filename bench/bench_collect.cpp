// Prints how fast characters are collected from a generated product tree of
// about 100 MB in 10,000 files (C, JSON, HTML, Qt .ts and Vue, UTF-8 text and
// escapes), with the files in the page cache: the median and best of seven
// runs after one that warms the cache. Goal: at least 300 MB/s on this
// machine's two cores, from a collector (charset/CharacterCollector and
// charset/EscapedText) of at most about 600 lines.

#include "bench/BenchFigures.h"
#include "bench/ProductTree.h"
#include "charset/CharacterCollector.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>

namespace {

constexpr double goalMegabytesPerSecond = 300;

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QTemporaryDir root;
    if (!root.isValid())
        return 1;
    const qint64 totalBytes = writeProductTree(root.path());
    if (totalBytes < 0)
        return 1;

    CharacterCollection collection = collectCharacters({root.path()}, CollectionPatterns());
    QList<double> seconds;
    for (int run = 0; run < 7; ++run) {
        QElapsedTimer timer;
        timer.start();
        collection = collectCharacters({root.path()}, CollectionPatterns());
        seconds.append(timer.nsecsElapsed() / 1e9);
    }
    const double megabytes = totalBytes / 1e6;
    const double best = *std::min_element(seconds.cbegin(), seconds.cend());
    std::printf("tree: %.1f MB in %d files; %lld distinct characters found in %d files\n", megabytes,
                folderCount * filesPerFolder, qlonglong(collection.codepoints.size()), collection.filesRead);
    std::printf("collecting: %7.1f MB/s median, %7.1f MB/s best (%.3f s) on %d threads; goal: >= %.0f MB/s\n",
                megabytes / median(seconds), megabytes / best, best, QThread::idealThreadCount(),
                goalMegabytesPerSecond);
    return collection.filesRead == folderCount * filesPerFolder ? 0 : 1;
}
