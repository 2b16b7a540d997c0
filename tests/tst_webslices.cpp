#include "TestFiles.h"
#include "TestFonts.h"
#include "charset/StandardCharsets.h"
#include "subset/OtsSanitizer.h"
#include "web/SlicingStrategy.h"
#include "web/WebSliceJob.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <hb.h>
#include <woff2/decode.h>

namespace {

const QString notoRegular = QStringLiteral("/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc");
const QString notoBold = QStringLiteral("/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc");

// The code points a WOFF2 file maps, decoded as a browser decodes it.
QList<uint> woff2Codepoints(const QString &path)
{
    const QByteArray woff2 = readFile(path);
    const auto *data = reinterpret_cast<const uint8_t *>(woff2.constData());
    QByteArray font(qsizetype(woff2::ComputeWOFF2FinalSize(data, size_t(woff2.size()))), '\0');
    woff2::WOFF2MemoryOut out(reinterpret_cast<uint8_t *>(font.data()), size_t(font.size()));
    if (!woff2::ConvertWOFF2ToTTF(data, size_t(woff2.size()), &out))
        return {};
    hb_blob_t *blob = hb_blob_create(font.constData(), uint(out.Size()), HB_MEMORY_MODE_READONLY, nullptr, nullptr);
    hb_face_t *face = hb_face_create(blob, 0);
    hb_set_t *set = hb_set_create();
    hb_face_collect_unicodes(face, set);
    QList<uint> codepoints;
    for (hb_codepoint_t codepoint = HB_SET_VALUE_INVALID; hb_set_next(set, &codepoint);)
        codepoints.append(codepoint);
    hb_set_destroy(set);
    hb_face_destroy(face);
    hb_blob_destroy(blob);
    return codepoints;
}

// One @font-face of a style sheet, read back the way a browser reads it.
struct CssFace
{
    QString file, weight, style;
    QList<uint> codepoints;
};

QList<CssFace> readStyleSheet(const QString &path)
{
    static const QRegularExpression rule(QStringLiteral(
        "src: url\\(\"([^\"]+)\"\\) format\\(\"woff2\"\\);\\s*font-weight: ([^;]+);\\s*font-style: (\\w+);\\s*"
        "font-display: swap;\\s*unicode-range: ([^;]+);"));
    QList<CssFace> faces;
    for (const QRegularExpressionMatch &match : rule.globalMatch(QString::fromUtf8(readFile(path)))) {
        CssFace face{match.captured(1), match.captured(2), match.captured(3), {}};
        for (const QString &range : match.captured(4).split(QStringLiteral(", "))) {
            const QStringList ends = range.mid(2).split(QLatin1Char('-'));
            for (uint c = ends.first().toUInt(nullptr, 16); c <= ends.last().toUInt(nullptr, 16); ++c)
                face.codepoints.append(c);
        }
        faces.append(face);
    }
    return faces;
}

WebSliceRequest requestFor(const QList<FontFace> &faces, const QList<uint> &codepoints, const QString &folder)
{
    WebSliceRequest request;
    request.faces = faces;
    request.codepoints = codepoints;
    request.targetFolder = folder;
    request.toolDirectory = QStringLiteral(VFC_BIN_DIR);
    return request;
}

QList<uint> codepointsOf(const QString &text)
{
    QList<uint> codepoints;
    for (char32_t c : text.toUcs4())
        codepoints.append(uint(c));
    std::sort(codepoints.begin(), codepoints.end());
    codepoints.erase(std::unique(codepoints.begin(), codepoints.end()), codepoints.end());
    return codepoints;
}

} // namespace

class WebSlicesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void gb2312SlicesCoverEachCharacterOnce();
    void familyStyleSheetHasEachWeight();
    void variableWeightIsItsAxisRange();
    void strategyFollowsTheFace_data();
    void strategyFollowsTheFace();
    void sliceSizeBoundsEverySlice();
    void cancelLeavesNothing();
    void badInputIsRefused_data();
    void badInputIsRefused();
    void tableMatchesItsGenerator();
};

void WebSlicesTest::gb2312SlicesCoverEachCharacterOnce()
{
    QTemporaryDir directory;
    const QString folder = directory.filePath("site/gb");
    const QList<uint> gb2312 = standardCharsetCharacters(findStandardCharset("gb2312"));
    QList<uint> requested = gb2312;
    std::sort(requested.begin(), requested.end());
    const WebSliceOutcome outcome = runWebSliceJob(requestFor({{notoRegular, 2}}, requested, folder));
    QVERIFY2(outcome.ok, qPrintable(outcome.errorMessage));

    const QSet<uint> held = TestFonts::readCharacterMap(notoRegular, 2);
    const QList<CssFace> faces = readStyleSheet(folder + "/gb.css");
    QCOMPARE(faces.size(), outcome.sliceCount);
    QCOMPARE(folderTree(directory.path()).filter(QRegularExpression("^site/\\.")), QStringList());
    QHash<uint, int> sliceOf;
    QSet<int> punctuationSlices;
    for (int slice = 0; slice < faces.size(); ++slice) {
        const QString path = folder + "/" + faces.at(slice).file;
        QCOMPARE(woff2Codepoints(path), faces.at(slice).codepoints);
        QCOMPARE(sanitizerDefect(path), QString());
        for (uint c : faces.at(slice).codepoints) {
            QVERIFY2(!sliceOf.contains(c), qPrintable(QString::number(c, 16)));
            sliceOf.insert(c, slice);
            if (isCjkPunctuation(c))
                punctuationSlices.insert(slice);
        }
    }
    int heldCount = 0;
    for (uint c : requested) {
        heldCount += held.contains(c);
        QCOMPARE(sliceOf.contains(c), held.contains(c));
    }
    QCOMPARE(sliceOf.size(), heldCount);
    QCOMPARE(punctuationSlices.size(), 1);
    QVERIFY(readFile(folder + "/index.html").contains("gb.css"));
}

void WebSlicesTest::familyStyleSheetHasEachWeight()
{
    QTemporaryDir directory;
    const QString folder = directory.filePath("family");
    WebSliceRequest request = requestFor({{notoRegular, 2}, {notoBold, 2}, {TestFonts::dejaVuSans(), 0}},
                                         codepointsOf("中文字体，测试。ABC"), folder);
    request.faces.last() = {"/usr/share/fonts/truetype/dejavu/DejaVuSans-Oblique.ttf", 0};
    request.cssFamily = "Site \"Sans\"";
    const WebSliceOutcome outcome = runWebSliceJob(request);
    QVERIFY2(outcome.ok, qPrintable(outcome.errorMessage));
    QSet<QString> styles;
    for (const CssFace &face : readStyleSheet(folder + "/family.css"))
        styles.insert(face.file.section('-', 1, 1) + " " + face.weight + " " + face.style);
    QCOMPARE(styles, (QSet<QString>{"Regular 400 normal", "Bold 700 normal", "Oblique 400 italic"}));
    QVERIFY(readFile(folder + "/family.css").contains("font-family: \"Site \\\"Sans\\\"\";"));
}

void WebSlicesTest::variableWeightIsItsAxisRange()
{
    QTemporaryDir directory;
    const ProgramRun made =
        runProgram("/usr/bin/python3", {QFINDTESTDATA("make_variable_font.py"), directory.path()});
    QVERIFY2(made.exitCode == 0, qPrintable(made.err));
    const QString folder = directory.filePath("variable");
    const WebSliceOutcome outcome =
        runWebSliceJob(requestFor({{directory.filePath("variable.ttf"), 0}}, codepointsOf("ABCabc"), folder));
    QVERIFY2(outcome.ok, qPrintable(outcome.errorMessage));
    const QList<CssFace> faces = readStyleSheet(folder + "/variable.css");
    QVERIFY(!faces.isEmpty());
    for (const CssFace &face : faces)
        QCOMPARE(face.weight, "100 900");
}

void WebSlicesTest::strategyFollowsTheFace_data()
{
    QTest::addColumn<int>("face");
    QTest::addColumn<QString>("strategy");
    QTest::newRow("Noto Sans CJK JP") << 0 << "ja";
    QTest::newRow("Noto Sans CJK KR") << 1 << "ko";
    QTest::newRow("Noto Sans CJK SC") << 2 << "sc";
    QTest::newRow("Noto Sans CJK TC") << 3 << "tc";
    QTest::newRow("Noto Sans CJK HK") << 4 << "hk";
}

void WebSlicesTest::strategyFollowsTheFace()
{
    QFETCH(int, face);
    QFETCH(QString, strategy);
    QCOMPARE(slicingStrategyId(strategyForFace({notoRegular, face})), strategy);
}

void WebSlicesTest::sliceSizeBoundsEverySlice()
{
    QTemporaryDir directory;
    const QString folder = directory.filePath("sized");
    QList<uint> requested = standardCharsetCharacters(findStandardCharset("tgh1")).mid(0, 1500);
    std::sort(requested.begin(), requested.end());
    WebSliceRequest request = requestFor({{notoRegular, 2}}, requested, folder);
    request.sliceSizeKB = 100;
    const WebSliceOutcome outcome = runWebSliceJob(request);
    QVERIFY2(outcome.ok, qPrintable(outcome.errorMessage));
    QVERIFY(outcome.sliceCount > 2);
    qint64 largest = 0;
    for (const QFileInfo &slice : QDir(folder).entryInfoList({"*.woff2"}))
        largest = std::max(largest, slice.size());
    QVERIFY2(largest <= 110000 && largest > 60000, qPrintable(QString::number(largest)));
}

void WebSlicesTest::cancelLeavesNothing()
{
    QTemporaryDir directory;
    QList<uint> requested = standardCharsetCharacters(findStandardCharset("gb2312"));
    std::sort(requested.begin(), requested.end());
    WebSliceJob job;
    WebSliceOutcome outcome;
    QEventLoop loop;
    connect(&job, &WebSliceJob::progressChanged, &job, [&](int done) {
        if (done > 0)
            job.cancel();
    });
    connect(&job, &WebSliceJob::finished, &loop, [&](const WebSliceOutcome &result) {
        outcome = result;
        loop.quit();
    });
    job.start(requestFor({{notoRegular, 2}}, requested, directory.filePath("a/b/gb")));
    loop.exec();
    QVERIFY(outcome.cancelled);
    QCOMPARE(folderTree(directory.path()), QStringList());
}

void WebSlicesTest::badInputIsRefused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("named");
    const QString sc = "--face-index=2";
    QTest::newRow("face with none of the characters")
        << QStringList{TestFonts::dejaVuSans(), "--text=中文"} << TestFonts::dejaVuSans();
    QTest::newRow("slice size under one character") << QStringList{notoRegular, sc, "--text=鬱", "--slice-size=1"}
                                                    << "1.0 KB is too small";
    QTest::newRow("family not installed") << QStringList{"--family=No Such Family", "--all-styles", "--text=a"}
                                          << "No Such Family";
    QTest::newRow("output folder is a file") << QStringList{notoRegular, sc, "--text=中文", "--force"} << "taken";
    QTest::newRow("output folder holds the source")
        << QStringList{"taken/font.ttf", "--text=a", "--force"} << "would replace the source font";
    QTest::newRow("strategy unknown") << QStringList{notoRegular, "--text=中", "--slicing=xx"} << "xx";
}

void WebSlicesTest::badInputIsRefused()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, named);
    QTemporaryDir directory;
    const bool sourceInside = arguments.first() == "taken/font.ttf";
    if (sourceInside) {
        QVERIFY(QDir(directory.path()).mkdir("taken") &&
                QFile::copy(TestFonts::dejaVuSans(), directory.filePath("taken/font.ttf")));
        arguments.first() = directory.filePath("taken/font.ttf");
    } else {
        QVERIFY(writeFile(directory.filePath("taken"), "a file"));
    }
    const QString output = directory.filePath(named == "taken" || sourceInside ? "taken" : "out");
    const ProgramRun run = runProgram(
        "vfc-subset", arguments + QStringList{"--format=woff2-slices", "--output-file=" + output, "--lang=en"});
    QVERIFY2(run.exitCode == 1 || run.exitCode == 2, qPrintable(run.printed()));
    QVERIFY2(run.err.contains(named), qPrintable(run.err));
    const QStringList left = sourceInside ? QStringList{"taken/", "taken/font.ttf"} : QStringList{"taken"};
    QCOMPARE(folderTree(directory.path()), left);
}

void WebSlicesTest::tableMatchesItsGenerator()
{
    QTemporaryDir directory;
    const QString output = directory.filePath("data.cpp");
    const ProgramRun run =
        runProgram("/usr/bin/python3", {VFC_SOURCE_DIR "/web/generate_slicing.py", "--output", output});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QVERIFY(readFile(output) == readFile(VFC_SOURCE_DIR "/web/SlicingStrategyData.cpp"));
}

QTEST_GUILESS_MAIN(WebSlicesTest)
#include "tst_webslices.moc"
