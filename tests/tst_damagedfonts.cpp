#include "TestFiles.h"
#include "TestFonts.h"
#include "font/FontFileCheck.h"
#include "font/FontInfo.h"
#include "font/PreviewCoverage.h"
#include "subset/MissingCharacters.h"
#include "subset/OtsSanitizer.h"
#include "subset/SubsetCheck.h"
#include "subset/SubsetJob.h"

#include <QCoreApplication>
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
    return at + 4 <= bytes.size() ? qFromBigEndian<quint32>(bytes.constData() + at) : 0;
}
void write32(QByteArray &bytes, qint64 at, quint32 value)
{
    if (at + 4 <= bytes.size())
        qToBigEndian(value, bytes.data() + at);
}

// Where each table record of the face whose directory starts at `directory` lies.
QList<qint64> tableRecords(const QByteArray &font, qint64 directory = 0)
{
    QList<qint64> records;
    const int tables =
        directory + 6 <= font.size() ? qFromBigEndian<quint16>(font.constData() + directory + 4) : 0;
    for (int i = 0; i < tables && directory + 28 + 16 * i <= font.size(); ++i)
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
    QByteArray bytes(shift, '\0');
    bytes.replace(0, 8, QByteArray("ttcf\0\1\0\0", 8));
    write32(bytes, 8, faces);
    for (quint32 face = 0; face < faces; ++face)
        write32(bytes, 12 + 4 * face, quint32(directory + shift));
    bytes += font;
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
    if (kind == "truncated")
        font.truncate(below(font.size()));
    else if (kind == "flipped bytes" || kind == "flipped header bytes")
        for (int i = 0, n = 1 + int(below(16)); i < n; ++i)
            font[below(kind == "flipped bytes" ? font.size() : 1024)] ^= char(1 + below(255));
    else if (kind == "table offset past the end")
        write32(font, record + 8, quint32(font.size() + below(1 << 20)));
    else if (kind == "table length past the end")
        write32(font, record + 12, quint32(font.size() + below(1 << 20)));
    else if (kind == "broken CFF index") {
        const qint64 cff = read32(font, findTable(font, "CFF ") + 8);
        font[cff + uchar(font.at(cff + 2)) + below(3)] =
            char(below(256)); // the Name INDEX's count and offSize
    } else if (kind == "collection face count")
        write32(font, 8, quint32(mostCollectionFaces + 1 + below(0x7fffffff)));
    else if (kind == "collection offset past the end")
        write32(font, 12 + 4 * below(read32(font, 8)), quint32(font.size() - below(12)));
    return font;
}

QStringList tableTags(const QString &path)
{
    QFile file(path);
    const QByteArray font = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    QStringList tags;
    for (qint64 record : tableRecords(font))
        tags.append(QString::fromLatin1(font.mid(record, 4)));
    return tags;
}

} // namespace

class TestDamagedFonts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(dir.isValid()); }
    void sourceCheck_data();
    void sourceCheck();
    void outputCheck_data();
    void outputCheck();
    void corpus_data();
    void corpus();
    void commandLine_data();
    void commandLine();

private:
    QTemporaryDir dir;
};

void TestDamagedFonts::sourceCheck_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<FontFileCheck>("expected");
    QFile wqy(TestFonts::wqyMicroHei());
    QVERIFY(wqy.open(QIODevice::ReadOnly));
    const QByteArray collection = wqy.readAll();
    const qint64 firstFace = read32(collection, 12);
    auto variant = [&](const char *name, const QByteArray &bytes) {
        const QString path = dir.filePath(QLatin1String(name) + QStringLiteral(".ttc"));
        return writeFile(path, bytes) ? path : QString();
    };
    QByteArray pastTheEnd = collection;
    write32(pastTheEnd, 16, quint32(collection.size() - 4));
    const QString pipe = dir.filePath(QStringLiteral("pipe.ttf"));
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);

    QTest::newRow("named pipe, no writer") << pipe << FontFileCheck::NotAFile;
    QTest::newRow("directory") << dir.path() << FontFileCheck::NotAFile;
    QTest::newRow("1000 faces") << variant("1000", collectionOf(collection, firstFace, 1000))
                                << FontFileCheck::Usable;
    QTest::newRow("1001 faces") << variant("1001", collectionOf(collection, firstFace, 1001))
                                << FontFileCheck::Unreadable;
    QTest::newRow("100,000 faces, all face 0")
        << variant("100000", collectionOf(collection, firstFace, 100000)) << FontFileCheck::Unreadable;
    QTest::newRow("second face past the end") << variant("past", pastTheEnd) << FontFileCheck::Unreadable;
    QTest::newRow("offsets cut short") << variant("short", collection.left(14)) << FontFileCheck::Unreadable;
}

// Whatever the file check refuses, no entry point reads; each says so in its own way.
void TestDamagedFonts::sourceCheck()
{
    QFETCH(QString, path);
    QFETCH(FontFileCheck, expected);
    QCOMPARE(checkFontFile(path), expected);
    if (expected == FontFileCheck::Usable)
        return;
    QCOMPARE(readFontInfo(path).status, FontInfo::Status::Unreadable);
    QCOMPARE(checkPreviewCoverage(path, sample, QFont()).status, PreviewCoverage::Status::Unreadable);
    QVERIFY(findMissingCodepoints({path, 0}, {0x10FFFD}).isEmpty());
    QVERIFY(sourceFontProblem({path, 0}, 1).contains(path));
}

void TestDamagedFonts::outputCheck_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("kept");       // what the subset was cut to
    QTest::addColumn<QString>("requested");  // what the run asked for
    QTest::addColumn<QByteArray>("renamed"); // a table taken out by renaming it
    QTest::addColumn<QString>("defect");
    QTest::addColumn<bool>("sanitizerRejects");
    const QString dejaVu = TestFonts::dejaVuSans(), nimbus = TestFonts::nimbusSansOtf();
    QTest::newRow("exact subset") << dejaVu << "41-43"
                                  << "ABC" << QByteArray() << "" << false;
    QTest::newRow("CFF subset") << nimbus << "41-43"
                                << "ABC" << QByteArray() << "" << false;
    QTest::newRow("lacks what the source lacks") << dejaVu << "41"
                                                 << "A中" << QByteArray() << "" << false;
    QTest::newRow("requested character lost")
        << dejaVu << "41,42"
        << "ABC" << QByteArray() << "1 requested characters lost" << false;
    QTest::newRow("character not requested")
        << dejaVu << "41-44"
        << "ABC" << QByteArray() << "1 characters that were not requested" << false;
    QTest::newRow("no hhea") << dejaVu << "41"
                             << "A" << QByteArray("hhea") << "no hhea table" << true;
    QTest::newRow("no OS/2") << nimbus << "41"
                             << "A" << QByteArray("OS/2") << "no OS/2 table" << true;
    QTest::newRow("no CFF") << nimbus << "41"
                            << "A" << QByteArray("CFF ") << "no glyph outlines" << true;
    QTest::newRow("no loca") << dejaVu << "41"
                             << "A" << QByteArray("loca") << "no glyph outlines" << true;
    QTest::newRow("glyf overwritten") << dejaVu << "41-43"
                                      << "ABC" << QByteArray("glyf") << "" << true;
}

// The check after hb-subset: the in-process part, then the sanitizer.
void TestDamagedFonts::outputCheck()
{
    QFETCH(QString, source);
    QFETCH(QString, kept);
    QFETCH(QString, requested);
    QFETCH(QByteArray, renamed);
    QFETCH(QString, defect);
    QFETCH(bool, sanitizerRejects);
    const QString path = dir.filePath(QStringLiteral("out.ttf"));
    QString error;
    QVERIFY2(TestFonts::cutFont(source, kept, path, &error), qPrintable(error));
    if (!renamed.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray font = file.readAll();
        file.close();
        const qint64 record = findTable(font, renamed.constData());
        QVERIFY(record >= 0);
        if (renamed == "glyf") // outlines that are no outlines, under a valid directory
            font.replace(read32(font, record + 8), 64, QByteArray(64, '\xff'));
        else
            font[record + 3] = 'x';
        QVERIFY(writeFile(path, font));
    }
    SubsetRequest request;
    request.face.path = source;
    request.useEnglish = 1;
    for (const QChar character : requested)
        request.codepoints.append(character.unicode());
    std::sort(request.codepoints.begin(), request.codepoints.end());
    QCOMPARE(subsetFontDefect(request.face, request.codepoints, path, 1), defect);
    if (findOtsSanitize().isEmpty())
        QSKIP("ots-sanitize is not installed");
    QCOMPARE(!sanitizerDefect(path, 1).isEmpty(), sanitizerRejects);
    const QString message = subsetOutputProblem(request, path);
    QCOMPARE(message.contains(source), !defect.isEmpty() || sanitizerRejects);
}

void TestDamagedFonts::corpus_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<quint32>("seed");
    std::mt19937 random(14);
    const QStringList fontKinds{"truncated", "flipped bytes", "flipped header bytes",
                                "table offset past the end", "table length past the end"};
    const struct
    {
        QString path;
        QStringList kinds;
        int each;
    } sources[] = {
        {TestFonts::dejaVuSans(), fontKinds, 20},
        {TestFonts::nimbusSansOtf(), fontKinds + QStringList{"broken CFF index"}, 16},
        {TestFonts::wqyMicroHei(),
         fontKinds + QStringList{"collection face count", "collection offset past the end"}, 8},
    };
    for (const auto &source : sources) {
        for (const QString &kind : source.kinds) {
            for (int i = 0; i < source.each; ++i)
                QTest::addRow("%s, %s %d", qPrintable(QFileInfo(source.path).fileName()), qPrintable(kind), i)
                    << source.path << kind << quint32(random());
        }
    }
}

// No crash, no hang, and never a success that consumers would refuse.
void TestDamagedFonts::corpus()
{
    QFETCH(QString, source);
    QFETCH(QString, kind);
    QFETCH(quint32, seed);
    QFile original(source);
    QVERIFY(original.open(QIODevice::ReadOnly));
    std::mt19937 random(seed);
    const QString path = dir.filePath(QStringLiteral("damaged") + source.right(4));
    QVERIFY(writeFile(path, damage(original.readAll(), kind, random)));

    QElapsedTimer timer;
    timer.start();
    readFontInfo(path);
    QVERIFY2(timer.restart() < hangBoundMs, "count");
    checkPreviewCoverage(path, sample, QFont());
    QVERIFY2(timer.restart() < hangBoundMs, "preview");
    findMissingCodepoints({path, 0}, {0x41, 0x4E2D});
    QVERIFY2(timer.restart() < hangBoundMs, "missing-character lookup");

    SubsetChoices choices;
    choices.face.path = path;
    choices.targetPath = dir.filePath(QStringLiteral("subset.ttf"));
    choices.texts = QStringList{sample};
    choices.useEnglish = 1;
    choices.toolDirectory = QCoreApplication::applicationDirPath();
    QVERIFY(writeFile(choices.targetPath, "earlier"));
    SubsetRequest request;
    QString error;
    if (!buildSubsetRequest(choices, &request, &error)) {
        QVERIFY2(error.contains(path), qPrintable(error));
        return;
    }
    const SubsetOutcome outcome = runSubsetJob(request);
    QVERIFY2(timer.restart() < hangBoundMs, "generation");
    if (!outcome.ok) {
        QVERIFY2(outcome.errorMessage.contains(path), qPrintable(outcome.errorMessage));
        QFile kept(choices.targetPath);
        QVERIFY(kept.open(QIODevice::ReadOnly) && kept.readAll() == "earlier");
        return;
    }
    const QStringList tags = tableTags(outcome.writtenPath);
    for (const char *tag : {"head", "hhea", "maxp", "hmtx", "cmap", "name", "OS/2", "post"})
        QVERIFY2(tags.contains(QLatin1String(tag)), tag);
    const QSet<uint> mapped = TestFonts::readCharacterMap(outcome.writtenPath);
    QVERIFY(!mapped.isEmpty());
    for (uint codepoint : mapped)
        QVERIFY(request.codepoints.contains(codepoint));
    if (!findOtsSanitize().isEmpty()) {
        QProcess sanitizer;
        sanitizer.start(findOtsSanitize(), {outcome.writtenPath});
        QVERIFY(sanitizer.waitForFinished(hangBoundMs));
        QVERIFY2(sanitizer.exitCode() == 0, sanitizer.readAllStandardError().constData());
    }
}

void TestDamagedFonts::commandLine_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("reason");
    QFile nimbus(TestFonts::nimbusSansOtf()), wqy(TestFonts::wqyMicroHei());
    QVERIFY(nimbus.open(QIODevice::ReadOnly) && wqy.open(QIODevice::ReadOnly));
    QByteArray noNames = nimbus.readAll();
    const qint64 cff = read32(noNames, findTable(noNames, "CFF ") + 8);
    noNames[cff + uchar(noNames.at(cff + 2)) + 2] = '\0'; // hb-subset then drops the outlines, exit 0
    const QByteArray collection = wqy.readAll();
    const QString otf = dir.filePath(QStringLiteral("no-names.otf")),
                  ttc = dir.filePath(QStringLiteral("huge.ttc"));
    QVERIFY(writeFile(otf, noNames) &&
            writeFile(ttc, collectionOf(collection, read32(collection, 12), 100000)));
    QTest::newRow("CFF Name INDEX offSize 0") << otf << "The subset is not a usable font (no glyph outlines)";
    QTest::newRow("100,000 faces") << ttc << "Failed to read font information.";
}

// The command line refuses as the window does, and the earlier target stays.
void TestDamagedFonts::commandLine()
{
    QFETCH(QString, source);
    QFETCH(QString, reason);
    const QString target = dir.filePath(QStringLiteral("kept.ttf"));
    QVERIFY(writeFile(target, "earlier"));
    QProcess program;
    program.start(QStringLiteral(VFC_BIN_DIR "/vfc-subset"),
                  {source, "--output-file=" + target, "--text=ABC", "--force", "--lang=en"});
    QVERIFY(program.waitForFinished(hangBoundMs));
    const QString error = QString::fromUtf8(program.readAllStandardError());
    QCOMPARE(program.exitCode(), 1);
    QVERIFY2(error.contains(reason) && error.contains(source), qPrintable(error));
    QFile kept(target);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("earlier"));
}

QTEST_MAIN(TestDamagedFonts)
#include "tst_damagedfonts.moc"
