// Prints how fast characters are collected from a generated product tree of
// about 100 MB in 10,000 files (C, JSON, HTML, Qt .ts and Vue, UTF-8 text and
// escapes), with the files in the page cache: the median and best of seven
// runs after one that warms the cache. Goal: at least 300 MB/s on this
// machine's two cores, from a collector (charset/CharacterCollector and
// charset/EscapedText) of at most about 600 lines.

#include "bench/BenchFigures.h"
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
constexpr int folderCount = 100;
constexpr int filesPerFolder = 100;
constexpr int fileSize = 10 * 1024;

QByteArray chinese(QRandomGenerator &random, int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += QChar(char16_t(0x4E00 + random.bounded(3500)));
    return text.toUtf8();
}

QByteArray fileContent(QRandomGenerator &random, int kind)
{
    QByteArray content;
    while (content.size() < fileSize) {
        const int line = random.bounded(1000);
        switch (kind) {
        case 0:
            content += "    lcd_print(row, col, \"" + chinese(random, 6) + "\"); /* item " +
                       QByteArray::number(line) + " */\n    if (state == STATE_" + QByteArray::number(line) +
                       ") { refresh(); }\n";
            break;
        case 1:
            content += "  \"message_" + QByteArray::number(line) + "\": \"\\u" +
                       QByteArray::number(0x4E00 + random.bounded(3500), 16) + "\\uD83D\\uDE0" +
                       QByteArray::number(random.bounded(10)) + " " + chinese(random, 4) + "\",\n";
            break;
        case 2:
            content += "<li class=\"menu-item\"><a href=\"/page/" + QByteArray::number(line) + "\">&#" +
                       QByteArray::number(0x4E00 + random.bounded(3500)) + ";" + chinese(random, 3) +
                       "</a></li>\n";
            break;
        case 3:
            content += "    <message>\n        <source>Settings " + QByteArray::number(line) +
                       "</source>\n        <translation>" + chinese(random, 5) +
                       "</translation>\n    </message>\n";
            break;
        default:
            content += "  <button @click=\"save(" + QByteArray::number(line) + ")\">{{ $t('" +
                       chinese(random, 4) + "') }}</button>\n";
            break;
        }
    }
    return content;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QTemporaryDir root;
    if (!root.isValid())
        return 1;
    static const char *const suffixes[] = {"c", "json", "html", "ts", "vue"};
    QRandomGenerator random(17);
    qint64 totalBytes = 0;
    for (int folder = 0; folder < folderCount; ++folder) {
        const QString path = root.filePath(QStringLiteral("module%1/src").arg(folder));
        QDir().mkpath(path);
        for (int i = 0; i < filesPerFolder; ++i) {
            const int kind = (folder + i) % 5;
            QFile file(QStringLiteral("%1/file%2.%3").arg(path).arg(i).arg(QLatin1String(suffixes[kind])));
            const QByteArray content = fileContent(random, kind);
            if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
                return 1;
            totalBytes += content.size();
        }
    }

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
