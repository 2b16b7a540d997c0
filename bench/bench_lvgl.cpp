// GB 2312 at 16 px, 4 bpp from WenQuanYi Micro Hei as an LVGL C font: this
// program (in-process, and vfc-subset end to end) against the reference
// converter lv_font_conv, with the sizes of both files and the flash both
// fonts take.

#include "BenchFigures.h"

#include "charset/StandardCharsets.h"
#include "font/FaceFontData.h"
#include "lvgl/LvglWriters.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

const QString wqy = QStringLiteral("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc");
const QString reference = QStringLiteral("/opt/lv_font_conv/node_modules/.bin/lv_font_conv");

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What a C font's arrays and descriptors take in flash, counted alike for
// both files: the elements of every array by their type, 8 bytes a glyph
// descriptor and 20 a character map entry.
qint64 flashBytes(const QByteArray &source)
{
    static const QRegularExpression array("(uint8_t|int8_t|uint16_t) (\\w+)\\[\\] =\\s*\\{([^}]*)\\}");
    static const QRegularExpression comment("/\\*.*?\\*/"), element("-?\\w+");
    const QString text = QString::fromUtf8(source);
    qint64 total = 8 * text.count(QStringLiteral(".bitmap_index =")) + 20 * text.count(QStringLiteral(".range_start ="));
    for (const auto &match : array.globalMatch(text)) {
        const QString body = match.captured(3).remove(comment);
        total += qint64(body.count(QLatin1Char(',')) + (body.trimmed().isEmpty() ? 0 : 1)) *
                 (match.captured(1) == QLatin1String("uint16_t") ? 2 : 1);
    }
    return total;
}

double runMs(const QString &program, const QStringList &arguments)
{
    QElapsedTimer timer;
    timer.start();
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(-1);
    if (process.exitCode() != 0)
        std::printf("%s failed: %s\n", qPrintable(program), process.readAllStandardError().constData());
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir directory;
    const QList<uint> codes = standardCharsetCharacters(findStandardCharset(QStringLiteral("gb2312")));
    QString text;
    for (uint code : codes)
        text += QString::fromUcs4(reinterpret_cast<const char32_t *>(&code), 1);
    const QByteArray file = readAll(wqy);
    LvglOptions options;
    options.size = 16;
    QByteArray mine;
    report("rasterize and write in-process (C)", medianMs(5, [&] {
               RasterFace face;
               QString error;
               rasterizeFace(file, 0, codes, options, &face, &error);
               mine = lvglCSource(buildLvglFont(face, options), QStringLiteral("gb2312_16"), {});
           }),
           1000);

    const QString minePath = directory.filePath(QStringLiteral("gb2312_16.c"));
    report("vfc-subset --format=lvgl, end to end",
           runMs(QCoreApplication::applicationDirPath() + QStringLiteral("/vfc-subset"),
                 {wqy, QStringLiteral("--charset=gb2312"), QStringLiteral("--format=lvgl"), QStringLiteral("--size=16"),
                  QStringLiteral("--output-file=") + minePath}),
           1000);

    const QString facePath = directory.filePath(QStringLiteral("wqy0.ttf"));
    QFile face(facePath);
    if (!face.open(QIODevice::WriteOnly) || face.write(standaloneFaceData(file, 0)) < 0)
        return 1;
    face.close();
    const QString referencePath = directory.filePath(QStringLiteral("reference.c"));
    report("lv_font_conv 1.5.3 (the reference)",
           runMs(reference, {QStringLiteral("--font"), facePath, QStringLiteral("--symbols"), text,
                             QStringLiteral("--size"), QStringLiteral("16"), QStringLiteral("--bpp"),
                             QStringLiteral("4"), QStringLiteral("--format"), QStringLiteral("lvgl"),
                             QStringLiteral("-o"), referencePath}),
           0);

    const QByteArray written = readAll(minePath), theirs = readAll(referencePath);
    std::printf("%-62s %8lld bytes, reference %lld bytes\n", "C file", qlonglong(written.size()),
                qlonglong(theirs.size()));
    std::printf("%-62s %8lld bytes, reference %lld bytes\n", "flash (bitmaps, descriptors, maps, kerning)",
                qlonglong(flashBytes(written)), qlonglong(flashBytes(theirs)));
    return 0;
}
