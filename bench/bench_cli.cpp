// Times vfc-subset against bare hb-subset and fontTools' pyftsubset on the
// same requests and prints the figures and their ratios.
//
//   bench_cli [runs]      (default 9; pyftsubset runs a third as often)
#include "charset/TextCharacters.h"
#include "charset/UnicodeBlockTable.h"
#include "subset/UnicodesArgument.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

namespace {

QList<uint> sortedCodepoints(const QString &text)
{
    QList<uint> list = collectTextCodepoints(text).values();
    std::sort(list.begin(), list.end());
    return list;
}

struct Request
{
    QString name;
    QString font;
    QStringList vfcSelection; // vfc-subset's own options for it
    QString unicodes;         // the same request in hb-subset's syntax
};

struct Tool
{
    QString name;
    QString program;
    int runs;
};

QString allBlocks()
{
    QStringList ranges;
    for (const UnicodeBlock &block : unicodeBlockTable)
        ranges.append(blockRangeText(block.first, block.last));
    return ranges.join(QLatin1Char(','));
}

QStringList argumentsFor(const Tool &tool, const Request &request, const QString &output)
{
    if (tool.name == QLatin1String("vfc-subset"))
        return QStringList{request.font, "--output-file=" + output, "--force"} + request.vfcSelection;
    QStringList arguments = {request.font, "--output-file=" + output, "--unicodes=" + request.unicodes,
                             QStringLiteral("--layout-features=*")};
    if (tool.name == QLatin1String("pyftsubset"))
        arguments.append(QStringLiteral("--font-number=0")); // it refuses a collection without one
    return arguments;
}

// The median wall time of `runs` runs in milliseconds, after one unmeasured
// run that brings the files into the cache; -1 when a run fails.
double medianMs(const QString &program, const QStringList &arguments, int runs)
{
    QList<double> times;
    for (int i = 0; i <= runs; ++i) {
        QProcess process;
        // Notes and warnings are the same on every run and not what is measured.
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        QElapsedTimer timer;
        timer.start();
        process.start(program, arguments);
        if (!process.waitForFinished(600000) || process.exitStatus() != QProcess::NormalExit ||
            process.exitCode() != 0)
            return -1;
        if (i > 0)
            times.append(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times.at(times.size() / 2);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    const int runs = argc > 1 ? qMax(1, QString::fromLocal8Bit(argv[1]).toInt()) : 9;
    const QDir here(QCoreApplication::applicationDirPath());
    const QString wqy = QStringLiteral("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc");
    const QString dejaVu = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
    const QString nimbus = QStringLiteral("/usr/share/fonts/opentype/urw-base35/NimbusSans-Regular.otf");
    const QString sentence = QStringLiteral("The quick brown fox jumps over the lazy dog. 0123456789 €");

    const QList<Request> requests = {
        {QStringLiteral("all blocks, CJK .ttc"), wqy, {QStringLiteral("--blocks=all")}, allBlocks()},
        {QStringLiteral("rows 1 and 102, CJK .ttc"),
         wqy,
         {QStringLiteral("--blocks=1,102")},
         blockRangeText(0x0001, 0x007F) + "," + blockRangeText(0x4E00, 0x9FBF)},
        {QStringLiteral("one sentence, .ttf"),
         dejaVu,
         {"--text=" + sentence},
         formatUnicodesArgument(sortedCodepoints(sentence))},
        {QStringLiteral("Latin rows 1-4, .otf"),
         nimbus,
         {QStringLiteral("--blocks=1-4")},
         blockRangeText(0x0001, 0x007F) + "," + blockRangeText(0x0080, 0x00FF) + "," +
             blockRangeText(0x0100, 0x017F) + "," + blockRangeText(0x0180, 0x024F)}};

    QList<Tool> tools = {{QStringLiteral("vfc-subset"), here.filePath(QStringLiteral("vfc-subset")), runs},
                         {QStringLiteral("hb-subset"), here.filePath(QStringLiteral("hb-subset")), runs}};
    const QString pyftsubset = QStandardPaths::findExecutable(QStringLiteral("pyftsubset"));
    if (pyftsubset.isEmpty())
        out << "pyftsubset not found (Debian's fonttools package); its column stays empty.\n";
    else
        tools.append({QStringLiteral("pyftsubset"), pyftsubset, qMax(1, runs / 3)});

    // What starting the program costs before any work: vfc-subset loads Qt,
    // hb-subset only HarfBuzz and GLib.
    out << QStringLiteral("Start-up alone (--version): vfc-subset %1 ms, hb-subset %2 ms\n\n")
               .arg(medianMs(tools.at(0).program, {QStringLiteral("--version")}, runs), 0, 'f', 1)
               .arg(medianMs(tools.at(1).program, {QStringLiteral("--version")}, runs), 0, 'f', 1);

    QTemporaryDir directory;
    out << QStringLiteral("Median wall time of %1 runs (pyftsubset: %2), in ms\n\n")
               .arg(runs)
               .arg(qMax(1, runs / 3));
    out << QStringLiteral("%1 %2 %3 %4 %5 %6\n")
               .arg(QStringLiteral("request"), -26)
               .arg(QStringLiteral("vfc-subset"), 10)
               .arg(QStringLiteral("hb-subset"), 10)
               .arg(QStringLiteral("pyftsubset"), 10)
               .arg(QStringLiteral("vfc/hb"), 7)
               .arg(QStringLiteral("pyft/vfc"), 9);
    out.flush();

    bool targetsMet = true;
    for (const Request &request : requests) {
        QList<double> times;
        for (const Tool &tool : tools)
            times.append(
                medianMs(tool.program,
                         argumentsFor(tool, request, directory.filePath(tool.name + QStringLiteral(".ttf"))),
                         tool.runs));
        const auto figure = [&](int i) {
            return i < times.size() && times.at(i) >= 0 ? QString::number(times.at(i), 'f', 1)
                                                        : QStringLiteral("-");
        };
        const double vfc = times.at(0);
        const double overHb = vfc > 0 && times.at(1) > 0 ? vfc / times.at(1) : -1;
        const double pyftOver = times.size() > 2 && vfc > 0 && times.at(2) > 0 ? times.at(2) / vfc : -1;
        out << QStringLiteral("%1 %2 %3 %4 %5 %6\n")
                   .arg(request.name, -26)
                   .arg(figure(0), 10)
                   .arg(figure(1), 10)
                   .arg(figure(2), 10)
                   .arg(overHb > 0 ? QString::number(overHb, 'f', 2) + "x" : QStringLiteral("-"), 7)
                   .arg(pyftOver > 0 ? QString::number(pyftOver, 'f', 1) + "x" : QStringLiteral("-"), 9);
        out.flush();
        if (&request == &requests.first()) {
            targetsMet = overHb > 0 && overHb <= 1.5 && (tools.size() < 3 || pyftOver >= 20);
        }
    }

    out << "\nTargets on the first request: vfc/hb at most 1.5x, pyft/vfc at least 20x: "
        << (targetsMet ? "met" : "MISSED") << "\n";
    return targetsMet ? 0 : 1;
}
