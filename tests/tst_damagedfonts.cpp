#include "TestFiles.h"
#include "TestFonts.h"
#include "charset/TextCharacters.h"
#include "common/UiText.h"
#include "font/FontFileCheck.h"
#include "subset/MissingCharacters.h"
#include "subset/OtsSanitizer.h"
#include "subset/SubsetCheck.h"
#include "subset/SubsetFinishing.h"
#include "subset/SubsetJob.h"
#include "window/FontInfo.h"
#include "window/PreviewCoverage.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <random>

#include <sys/stat.h>

namespace {

// Far beyond any honest run; only a call that hangs comes near it.
constexpr qint64 hangBoundMs = 30000;
const QString sample = QStringLiteral("AaZz09 ÅéΩЖ€中文字");

quint32 read32(const QByteArray &bytes, qint64 at)
{
    return at >= 0 && at + 4 <= bytes.size() ? qFromBigEndian<quint32>(bytes.constData() + at) : 0;
}
void write32(QByteArray &bytes, qint64 at, quint32 value)
{
    if (at >= 0 && at + 4 <= bytes.size())
        qToBigEndian(value, bytes.data() + at);
}

// Where each table record of the face whose directory starts at `directory` lies.
QList<qint64> tableRecords(const QByteArray &font, qint64 directory = 0)
{
    QList<qint64> records;
    const quint32 tables = read32(font, directory + 4) >> 16;
    for (quint32 i = 0; i < tables && directory + 28 + 16 * qint64(i) <= font.size(); ++i)
        records.append(directory + 12 + 16 * i);
    return records;
}
qint64 findTable(const QByteArray &font, const char *tag)
{
    for (qint64 record : tableRecords(font))
        if (font.mid(record, 4) == tag)
            return record;
    return -1;
}

// A collection claiming `faces` faces, every one the face at `directory` of `font`.
QByteArray collectionOf(const QByteArray &font, qint64 directory, quint32 faces)
{
    const qint64 shift = 12 + 4 * qint64(faces);
    QByteArray bytes = QByteArray("ttcf\0\1\0\0", 8) + QByteArray(shift - 8, '\0') + font;
    write32(bytes, 8, faces);
    for (quint32 face = 0; face < faces; ++face)
        write32(bytes, 12 + 4 * face, quint32(directory + shift));
    for (qint64 record : tableRecords(bytes, directory + shift))
        write32(bytes, record + 8, read32(bytes, record + 8) + quint32(shift));
    return bytes;
}

// One damaged variant of `font`, drawn from `random`.
QByteArray damage(QByteArray font, const QString &kind, std::mt19937 &random)
{
    auto below = [&](qint64 end) { return qint64(random() % quint64(qMax<qint64>(end, 1))); };
    const QList<qint64> records = tableRecords(font, font.startsWith("ttcf") ? read32(font, 12) : 0);
    const qint64 record = records.isEmpty() ? 0 : records.at(below(records.size()));
    const qint64 cff = read32(font, findTable(font, "CFF ") + 8);
    if (kind == "truncated")
        font.truncate(below(font.size()));
    for (int i = 0, n = 1 + int(below(16)); kind.startsWith("flipped") && i < n; ++i)
        font[below(kind == "flipped bytes" ? font.size() : 1024)] ^= char(1 + below(255));
    if (kind == "table offset past the end" || kind == "table length past the end")
        write32(font, record + (kind.contains("offset") ? 8 : 12), quint32(font.size() + below(1 << 20)));
    if (kind == "broken CFF Name INDEX") // its count or offSize
        font[cff + uchar(font.at(cff + 2)) + below(3)] = char(below(256));
    if (kind.startsWith("claims")) // every face at face 0, as a collection claiming that many
        font = collectionOf(font, read32(font, 12), kind == "claims 1000 faces" ? 1000 : 100000);
    if (kind == "collection face count")
        write32(font, 8, quint32(mostCollectionFaces + 1 + below(0x7fffffff)));
    if (kind == "collection offset past the end")
        write32(font, 12 + 4 * below(read32(font, 8)), quint32(font.size() - below(12)));
    return font;
}

} // namespace

class TestDamagedFonts : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;

private Q_SLOTS:
    void initTestCase() { QVERIFY(dir.isValid()); }

    void outputCheck_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("kept");       // what hb-subset was asked to keep
        QTest::addColumn<QString>("requested");  // what the run is checked against
        QTest::addColumn<QByteArray>("damaged"); // a table renamed away, or glyf overwritten
        QTest::addColumn<QString>("defect");
        QTest::addColumn<bool>("sanitizerRejects");
        const QString dejaVu = TestFonts::dejaVuSans(), nimbus = TestFonts::nimbusSansOtf();
        // clang-format off
        QTest::newRow("exact subset") << dejaVu << "41-43" << "ABC" << QByteArray() << "" << false;
        QTest::newRow("lacks what the source lacks") << dejaVu << "41" << "A中" << QByteArray() << "" << false;
        QTest::newRow("requested character lost") << dejaVu << "41,42" << "ABC" << QByteArray() << "1 requested characters lost" << false;
        QTest::newRow("character not requested") << dejaVu << "41-44" << "ABC" << QByteArray() << "1 characters that were not requested" << false;
        QTest::newRow("no hhea") << dejaVu << "41" << "A" << QByteArray("hhea") << "no hhea table" << true;
        QTest::newRow("no CFF") << nimbus << "41" << "A" << QByteArray("CFF ") << "no glyph outlines" << true;
        QTest::newRow("no loca") << dejaVu << "41" << "A" << QByteArray("loca") << "no glyph outlines" << true;
        QTest::newRow("glyf overwritten") << dejaVu << "41-43" << "ABC" << QByteArray("glyf") << "" << true;
        // clang-format on
        // More characters asked for than the source has glyphs: matched against its cmap instead.
        QString many = QStringLiteral("ABC");
        for (char16_t unit = 0x4E00; unit < 0x4E00 + 8000; ++unit)
            many.append(QChar(unit));
        QTest::newRow("long request, exact") << dejaVu << "41-43" << many << QByteArray() << "" << false;
        QTest::newRow("long request, character lost")
            << dejaVu << "41,42" << many << QByteArray() << "1 requested characters lost" << false;
        QTest::newRow("long request, character not requested")
            << dejaVu << "41-44" << many << QByteArray() << "1 characters that were not requested" << false;
    }

    // The check after hb-subset: the in-process part, then the sanitizer.
    void outputCheck()
    {
        QFETCH(QString, source);
        QFETCH(QString, kept);
        QFETCH(QString, requested);
        QFETCH(QByteArray, damaged);
        QFETCH(QString, defect);
        QFETCH(bool, sanitizerRejects);
        const QString path = dir.filePath(QStringLiteral("out.ttf"));
        QVERIFY(TestFonts::cutFont(source, kept, path));
        QByteArray font = readFile(path);
        const qint64 record = findTable(font, damaged.constData());
        if (damaged == "glyf") // outlines that are no outlines, under a sound directory
            font.replace(read32(font, record + 8), 64, QByteArray(64, '\xff'));
        else if (!damaged.isEmpty())
            font[record + 3] = 'x';
        QVERIFY(writeFile(path, font));
        SubsetRequest request;
        request.face.path = source;
        setUiEnglish(true);
        request.codepoints = textCharacters(requested); // ascending in every row
        QCOMPARE(subsetFontDefect(request.face, request.codepoints, path), defect);
        if (findOtsSanitize().isEmpty())
            QSKIP("ots-sanitize is not installed");
        QCOMPARE(!sanitizerDefect(path, 1).isEmpty(), sanitizerRejects);
        QCOMPARE(finishSubsetOutput(request, path).errorMessage.contains(source),
                 !defect.isEmpty() || sanitizerRejects);
    }

    // A source that cannot be read as a font is refused with the reason and
    // the path before hb-subset runs; vfc-subset says so and exits 1.
    void sourceRefusedWithItsReason_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("reason");
        const QString dejaVu = TestFonts::dejaVuSans();
        // clang-format off
        QTest::newRow("cut to 300 KB") << dejaVu << "cut 300000" << "en" << "the file is cut short: it ends inside the glyf table";
        QTest::newRow("cut to 300 KB, Chinese") << dejaVu << "cut 300000" << "zh" << "文件不完整：在 glyf 表中途结束";
        QTest::newRow("name table offset past the end") << dejaVu << "offset name" << "en" << "the name table's offset points past the end of the file";
        QTest::newRow("glyf length past the end") << dejaVu << "length glyf" << "en" << "the glyf table's length runs past the end of the file";
        QTest::newRow("no CFF table") << TestFonts::nimbusSansOtf() << "rename CFF " << "zh" << "缺少字形轮廓";
        QTest::newRow("WOFF2") << QString() << "woff2" << "en" << "a WOFF web font; hb-subset takes TrueType and OpenType fonts only";
        // clang-format on
    }

    void sourceRefusedWithItsReason()
    {
        QFETCH(QString, source);
        QFETCH(QString, damage);
        QFETCH(QString, language);
        QFETCH(QString, reason);
        QByteArray font = readFile(source);
        const QString how = damage.section(' ', 0, 0), what = damage.section(' ', 1);
        const qint64 record = findTable(font, what.toLatin1().constData());
        if (how == "cut")
            font.truncate(what.toInt());
        else if (how == "offset" || how == "length")
            write32(font, record + (how == "offset" ? 8 : 12), quint32(font.size() + 16));
        else if (how == "rename")
            font[record + 3] = 'x';
        else
            font = QByteArray("wOF2\0\1\0\0", 8) + QByteArray(64, '\0');
        const QString path = dir.filePath(QStringLiteral("refused.ttf"));
        const QString output = dir.filePath(QStringLiteral("refused-out.ttf"));
        QVERIFY(writeFile(path, font));
        QFile::remove(output);
        const ProgramRun run =
            runProgram("vfc-subset", {"--lang=" + language, path, "--text=A", "--output-file=" + output});
        QCOMPARE(run.exitCode, 1);
        const QString expected =
            language == "en" ? "vfc-subset: The source cannot be read as a font: %1.\nSource font: %2\n"
                             : "vfc-subset: 源文件无法作为字体读取：%1。\n源字库: %2\n";
        QCOMPARE(run.err, expected.arg(reason, path));
        QVERIFY(!QFileInfo::exists(output));
    }

    void corpus_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<quint32>("seed");
        std::mt19937 random(14);
        const QStringList everyFont{"truncated", "flipped bytes", "flipped header bytes",
                                    "table offset past the end", "table length past the end"};
        auto add = [&](const QString &source, const QStringList &kinds, int each) {
            for (const QString &kind : everyFont + kinds) {
                for (int i = 0; i < each; ++i)
                    QTest::addRow("%s, %s %d", qPrintable(QFileInfo(source).fileName()), qPrintable(kind), i)
                        << source << kind << quint32(random());
            }
        };
        add(TestFonts::dejaVuSans(), {}, 20);
        add(TestFonts::nimbusSansOtf(), {"broken CFF Name INDEX"}, 16);
        add(TestFonts::wqyMicroHei(), {"collection face count", "collection offset past the end"}, 8);
        QTest::newRow("claims 1000 faces") << TestFonts::wqyMicroHei() << "claims 1000 faces" << 0u;
        QTest::newRow("claims 100,000 faces") << TestFonts::wqyMicroHei() << "claims 100,000 faces" << 0u;
        QTest::newRow("named pipe") << TestFonts::dejaVuSans() << "named pipe" << 0u;
    }

    // No crash, no hang, and never a success that consumers would refuse.
    void corpus()
    {
        QFETCH(QString, source);
        QFETCH(QString, kind);
        QFETCH(quint32, seed);
        std::mt19937 random(seed);
        QString path = dir.filePath(QStringLiteral("damaged") + source.right(4));
        if (kind == "named pipe") // with no writer: whoever opens it waits for good
            QCOMPARE(::mkfifo(QFile::encodeName(path = dir.filePath("pipe")).constData(), 0600), 0);
        else
            QVERIFY(writeFile(path, damage(readFile(source), kind, random)));
        if (kind.startsWith("claims") || kind == "named pipe")
            QCOMPARE(checkFontFile(path) == FontFileCheck::Usable, kind == "claims 1000 faces");
        QElapsedTimer timer;
        timer.start();
        const FontInfo info = readFontInfo(FontFace{path, 0});
        const PreviewCoverage coverage = checkPreviewCoverage(FontFace{path, 0}, sample, QFont());
        const QList<uint> missing = findMissingCodepoints({path, 0}, {0x10FFFD});
        QVERIFY2(timer.restart() < hangBoundMs, "count, preview or missing-character lookup");
        // Whatever the file check refuses, no entry point reads.
        if (checkFontFile(path) != FontFileCheck::Usable) {
            QCOMPARE(info.status, FontInfo::Status::Unreadable);
            QCOMPARE(coverage.status, PreviewCoverage::Status::Unreadable);
            QVERIFY(missing.isEmpty());
        }

        SubsetChoices choices;
        choices.face.path = path;
        choices.targetPath = dir.filePath(QStringLiteral("subset.ttf"));
        choices.texts = QStringList{sample};
        setUiEnglish(true);
        choices.toolDirectory = QCoreApplication::applicationDirPath();
        QVERIFY(writeFile(choices.targetPath, "earlier"));
        SubsetRequest request;
        SubsetOutcome outcome;
        if (buildSubsetRequest(choices, &request, &outcome.errorMessage))
            outcome = runSubsetJob(request);
        QVERIFY2(timer.restart() < hangBoundMs, "generation");
        if (!outcome.ok) {
            QVERIFY2(outcome.errorMessage.contains(path), qPrintable(outcome.errorMessage));
            QCOMPARE(readFile(choices.targetPath), QByteArray("earlier"));
            return;
        }
        const QSet<uint> mapped = TestFonts::readCharacterMap(outcome.writtenPath);
        QVERIFY(!mapped.isEmpty() &&
                QSet<uint>(request.codepoints.cbegin(), request.codepoints.cend()).contains(mapped));
        QCOMPARE(runProgram("ots-sanitize", {outcome.writtenPath}).exitCode, 0); // as browsers will take it
    }
};

QTEST_MAIN(TestDamagedFonts)
#include "tst_damagedfonts.moc"
