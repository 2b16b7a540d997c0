// Times vfc-subset against bare hb-subset on the same requests and prints a
// table: the medians, what vfc-subset costs on top and the ratio. The tools
// run in turn within each repetition, so a busy machine slows both alike,
// and each writes a new file, never over an old one.
// vfc-subset hands every result to ots-sanitize before it replaces a target;
// the same pair run bare (hb-subset, then ots-sanitize on its output) is the
// second baseline, showing what the program adds to the work it must do.
//
//   bench_cli [runs] [--with-pyftsubset]      (default 9 runs)
//
// fontTools' pyftsubset joins as a third column on request; it takes seconds
// per CJK run, so it runs a third as often.
#include "charset/TextCharacters.h"
#include "charset/UnicodeBlockTable.h"
#include "subset/MissingCharacters.h"
#include "subset/UnicodesArgument.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

const QString wqy = QStringLiteral("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc");
const QString dejaVu = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");

struct Request
{
    QString name;
    QString font;
    QStringList vfcSelection; // vfc-subset's own options for it
    QString unicodes;         // the same request in hb-subset's syntax
    double ratioTarget;       // 0: only the 10 ms over hb-subset applies
};

struct Tool
{
    QString name;
    QString program;
    int runs;
    QList<double> times;
};

QString allBlocks()
{
    QStringList ranges;
    for (const UnicodeBlock &block : unicodeBlockTable)
        ranges.append(blockRangeText(block.first, block.last));
    return ranges.join(QLatin1Char(','));
}

// The first `count` ideographs from U+4E00 on that the font maps: a stand-in
// for a list of common characters, every one of them really kept.
QList<uint> ideographsInFont(const QString &font, int count)
{
    QList<uint> wanted;
    for (uint codepoint = 0x4E00; codepoint <= 0x9FA5; ++codepoint)
        wanted.append(codepoint);
    const QList<uint> missing = findMissingCodepoints(FontFace{font, 0}, wanted);
    QList<uint> present;
    std::set_difference(wanted.begin(), wanted.end(), missing.begin(), missing.end(),
                        std::back_inserter(present));
    return present.mid(0, count);
}

QString textOf(const QList<uint> &codepoints)
{
    QString text;
    for (uint codepoint : codepoints)
        text.append(QString::fromUcs4(reinterpret_cast<const char32_t *>(&codepoint), 1));
    return text;
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

// Wall time of one run in milliseconds; -1 when it fails.
double runMs(const QString &program, const QStringList &arguments)
{
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
    return timer.nsecsElapsed() / 1e6;
}

// -1 marks a failed run, unless `signedValues` (differences may be negative).
double median(QList<double> times, bool signedValues = false)
{
    if (times.isEmpty() || (!signedValues && *std::min_element(times.begin(), times.end()) < 0))
        return -1;
    std::sort(times.begin(), times.end());
    return times.at(times.size() / 2);
}

// Judged against one baseline: the median of each repetition's own figures.
struct Comparison
{
    double over = 0;
    double ratio = 0;
    bool met = false;
};

Comparison compare(const QList<double> &vfc, const QList<double> &baseline, double ratioTarget)
{
    QList<double> overs, ratios;
    for (qsizetype i = 0; i < vfc.size() && i < baseline.size(); ++i) {
        overs.append(vfc.at(i) - baseline.at(i));
        ratios.append(vfc.at(i) / baseline.at(i));
    }
    Comparison comparison;
    comparison.over = median(overs, true);
    comparison.ratio = median(ratios);
    comparison.met = comparison.over <= 10 && (ratioTarget == 0 || comparison.ratio <= ratioTarget);
    return comparison;
}

QString figure(double ms)
{
    return ms >= 0 ? QString::number(ms, 'f', 1) : QStringLiteral("-");
}

void printRow(const QStringList &cells)
{
    static const int widths[] = {-28, 10, 9, 8, 7, 7, 7, 7, 7, 10};
    QString line;
    for (int i = 0; i < cells.size(); ++i)
        line += QStringLiteral("%1 ").arg(cells.at(i), widths[i]);
    std::printf("%s\n", qPrintable(line.trimmed()));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments().mid(1);
    int runs = 9;
    bool withPyftsubset = false;
    for (const QString &argument : arguments) {
        if (argument == QLatin1String("--with-pyftsubset"))
            withPyftsubset = true;
        else
            runs = std::max(1, argument.toInt());
    }
    const QDir here(QCoreApplication::applicationDirPath());

    const QList<uint> hanzi = ideographsInFont(wqy, 3500);
    const QString ascii = QStringLiteral(" !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                         "[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~");
    const QList<uint> asciiCodepoints = textCharacters(ascii);
    const QList<Request> requests = {
        {QStringLiteral("%1 hanzi, text, CJK .ttc").arg(hanzi.size()),
         wqy,
         {"--text=" + textOf(hanzi)},
         formatUnicodesArgument(hanzi),
         0},
        {QStringLiteral("printable ASCII, text, .ttf"),
         dejaVu,
         {"--text=" + ascii},
         formatUnicodesArgument(asciiCodepoints),
         0},
        {QStringLiteral("all blocks, CJK .ttc"), wqy, {QStringLiteral("--blocks=all")}, allBlocks(), 1.25},
        {QStringLiteral("20,902 ideographs, CJK .ttc"),
         wqy,
         {QStringLiteral("--unicodes=4E00-9FA5")},
         QStringLiteral("4E00-9FA5"),
         1.25}};

    QList<Tool> tools = {
        {QStringLiteral("vfc-subset"), here.filePath(QStringLiteral("vfc-subset")), runs, {}},
        {QStringLiteral("hb-subset"), here.filePath(QStringLiteral("hb-subset")), runs, {}}};
    if (withPyftsubset) {
        const QString pyftsubset = QStandardPaths::findExecutable(QStringLiteral("pyftsubset"));
        if (pyftsubset.isEmpty())
            std::printf("pyftsubset not found (Debian's fonttools package); its column stays empty.\n");
        else
            tools.append({QStringLiteral("pyftsubset"), pyftsubset, std::max(1, runs / 3), {}});
    }

    // What starting the program costs before any work: vfc-subset loads Qt,
    // hb-subset only HarfBuzz and GLib.
    QList<double> startVfc, startHb;
    for (int i = 0; i <= runs; ++i) {
        const double vfc = runMs(tools.at(0).program, {QStringLiteral("--version")});
        const double hb = runMs(tools.at(1).program, {QStringLiteral("--version")});
        if (i > 0) {
            startVfc.append(vfc);
            startHb.append(hb);
        }
    }
    std::printf("Start-up alone (--version): vfc-subset %s ms, hb-subset %s ms\n\n",
                qPrintable(figure(median(startVfc))), qPrintable(figure(median(startHb))));
    const QString sanitizer = QStandardPaths::findExecutable(QStringLiteral("ots-sanitize"));
    std::printf("Median wall time of %d runs in ms; \"over\" and \"x\" are medians of each "
                "repetition's own figures,\nagainst bare hb-subset (hb) and against hb-subset followed by "
                "ots-sanitize (hb+ots, %s).\nTargets: at most 10 ms over, and at most 1.25x for all blocks "
                "and the 20,902 ideographs\n\n",
                runs, sanitizer.isEmpty() ? "ots-sanitize not installed" : "the check vfc-subset runs too");
    QStringList header = {QStringLiteral("request"),   QStringLiteral("vfc-subset"),
                          QStringLiteral("hb-subset"), QStringLiteral("+ots"),
                          QStringLiteral("over hb"),   QStringLiteral("x hb"),
                          QStringLiteral("over h+o"),  QStringLiteral("x h+o"),
                          QStringLiteral("target"),    QStringLiteral("pyftsubset")};
    if (tools.size() < 3)
        header.removeLast();
    printRow(header);

    QTemporaryDir directory;
    for (const Request &request : requests) {
        if (!QFileInfo::exists(request.font)) {
            printRow({request.name, QStringLiteral("font not installed")});
            continue;
        }
        QList<double> withSanitizer;
        // One unmeasured run each brings the files into the cache.
        for (int i = 0; i <= runs; ++i) {
            for (Tool &tool : tools) {
                if (i == 0)
                    tool.times.clear();
                if (i > tool.runs)
                    continue;
                const QString output = directory.filePath(tool.name + QStringLiteral(".ttf"));
                // Every run writes a new file. Over the previous output,
                // hb-subset truncates in place and vfc-subset renames a whole
                // file over it; on ext4 the old file's blocks are then freed
                // within the timed run, unevenly, and that is the file
                // system's work, not the tools'.
                QFile::remove(output);
                double ms = runMs(tool.program, argumentsFor(tool, request, output));
                if (i > 0)
                    tool.times.append(ms);
                if (i > 0 && tool.name == QLatin1String("hb-subset")) {
                    const double check = sanitizer.isEmpty() ? 0 : runMs(sanitizer, {output});
                    withSanitizer.append(ms >= 0 && check >= 0 ? ms + check : -1);
                }
            }
        }
        const double vfc = median(tools.at(0).times);
        const double hb = median(tools.at(1).times);
        const double hbOts = median(withSanitizer);
        const bool measured = vfc >= 0 && hb > 0 && hbOts > 0;
        const Comparison bare = compare(tools.at(0).times, tools.at(1).times, request.ratioTarget);
        const Comparison checked = compare(tools.at(0).times, withSanitizer, request.ratioTarget);
        const auto verdict = [](const Comparison &comparison) {
            return comparison.met ? QStringLiteral("met") : QStringLiteral("MISSED");
        };
        QStringList row = {request.name, figure(vfc), figure(hb), figure(hbOts - hb)};
        if (measured)
            row += {QString::number(bare.over, 'f', 1), QString::number(bare.ratio, 'f', 2) + "x",
                    QString::number(checked.over, 'f', 1), QString::number(checked.ratio, 'f', 2) + "x",
                    verdict(bare) + QLatin1Char('/') + verdict(checked)};
        else
            row += {QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("-"),
                    QStringLiteral("-")};
        if (tools.size() > 2)
            row.append(figure(median(tools.at(2).times)));
        printRow(row);
    }
    std::printf("\ntarget: against hb / against hb+ots\n");
    return 0;
}
