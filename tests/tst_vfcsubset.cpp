#include "TestFonts.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run runSubset(const QStringList &arguments, const QByteArray &input = QByteArray(),
              const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(VFC_BIN_DIR "/vfc-subset"), arguments);
    process.write(input);
    process.closeWriteChannel();
    Run run;
    if (process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit)
        run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QSet<uint> span(uint first, uint last)
{
    QSet<uint> codepoints;
    for (uint codepoint = first; codepoint <= last; ++codepoint)
        codepoints.insert(codepoint);
    return codepoints;
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

} // namespace

class TestVfcSubset : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void keepsWhatWasChosen_data();
    void keepsWhatWasChosen();
    void notesWhatTheFontLacks_data();
    void notesWhatTheFontLacks();
    void existingOutputNeedsForce();
    void failures_data();
    void failures();
    void exitStatus_data();
    void exitStatus();
    void runsWithoutDisplay();

private:
    QString path(const QString &name) const { return directory.filePath(name); }

    QTemporaryDir directory;
    QString capitalsOnly; // DejaVu Sans cut down to A-Z
};

void TestVfcSubset::initTestCase()
{
    QVERIFY(directory.isValid());
    QString error;
    capitalsOnly = path(QStringLiteral("capitals.ttf"));
    QVERIFY2(TestFonts::cutFont(TestFonts::dejaVuSans(), QStringLiteral("41-5A"), capitalsOnly, &error),
             qPrintable(error));
    QVERIFY(writeFile(path(QStringLiteral("chars.txt")), "xy\r\n\xE4\xB8\xAD")); // x, y, CR LF, U+4E2D
    QVERIFY(writeFile(path(QStringLiteral("empty.txt")), QByteArray()));
}

void TestVfcSubset::keepsWhatWasChosen_data()
{
    QTest::addColumn<QString>("font");
    QTest::addColumn<QStringList>("selection");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QSet<uint>>("requested");

    const QString text = QStringLiteral("Hello, Wörld €");
    QSet<uint> textCodepoints;
    for (QChar unit : text)
        textCodepoints.insert(unit.unicode());
    QTest::newRow("text, .ttf") << TestFonts::dejaVuSans() << QStringList{"--text=" + text} << QByteArray()
                                << textCodepoints;
    QTest::newRow("text file and standard input, .ttc")
        << TestFonts::wqyMicroHei() << QStringList{"--text-file", path("chars.txt"), "--text-file=-"}
        << QByteArray("z") << QSet<uint>{'x', 'y', 'z', 0x4E2D};
    QTest::newRow("blocks, .ttc") << TestFonts::wqyMicroHei() << QStringList{"--blocks=1,102"} << QByteArray()
                                  << (span(0x01, 0x7F) + span(0x4E00, 0x9FBF));
    QTest::newRow("unicodes, .otf") << TestFonts::nimbusSansOtf()
                                    << QStringList{"--unicodes", "U+0041-005A 61,0x62"} << QByteArray()
                                    << (span('A', 'Z') + QSet<uint>{'a', 'b'});
    QTest::newRow("all kinds add up")
        << TestFonts::wqyMicroHei() << QStringList{"--text=中", "--blocks=3", "--unicodes=41", "--text=a"}
        << QByteArray() << (span(0x100, 0x17F) + QSet<uint>{0x4E2D, 'A', 'a'});
}

void TestVfcSubset::keepsWhatWasChosen()
{
    QFETCH(QString, font);
    QFETCH(QStringList, selection);
    QFETCH(QByteArray, input);
    QFETCH(QSet<uint>, requested);

    // Taken as given: no name cleaning, no ".ttf" appended.
    const QString output = path(QStringLiteral("kept %1!.otf").arg(QTest::currentDataTag()));
    const Run run = runSubset(QStringList{font, "--output-file=" + output} + selection, input);
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QCOMPARE(run.out, QString());
    const QSet<uint> source = TestFonts::readCharacterMap(font);
    const QSet<uint> kept = TestFonts::readCharacterMap(output);
    QVERIFY(!kept.isEmpty());
    QCOMPARE(kept, requested & source);
    // The note appears exactly when something printable that was asked for is not in the font.
    QSet<uint> lacking = requested - source;
    lacking.removeIf([](uint codepoint) { return codepoint < 0x20; });
    QCOMPARE(run.err.isEmpty(), lacking.isEmpty());
}

void TestVfcSubset::notesWhatTheFontLacks_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("note");

    QTest::newRow("English")
        << QStringList{"--text=CabBAc", "--lang=en"}
        << "Note: 3 requested characters are not present in the source font and will not "
           "appear in the subset.\nExamples: \"abc\"\n";
    QTest::newRow("Chinese by default")
        << QStringList{"--unicodes=41-43,61-63,1F600"}
        << "注意：有 4 个请求的字符在源字库中不存在，将不会出现在生成的字库中。\n示例: "
           "\"abc\"\n";
    QTest::newRow("nothing lacking, no note") << QStringList{"--text=ABC"} << QString();
}

void TestVfcSubset::notesWhatTheFontLacks()
{
    QFETCH(QStringList, arguments);
    const QString output = path(QStringLiteral("noted.ttf"));
    const Run run = runSubset(QStringList{capitalsOnly, "--force", "--output-file=" + output} + arguments);
    QCOMPARE(run.exitCode, 0);
    QTEST(run.err, "note");
    QCOMPARE(TestFonts::readCharacterMap(output), span('A', 'C'));
}

void TestVfcSubset::existingOutputNeedsForce()
{
    const QString output = path(QStringLiteral("existing.ttf"));
    QVERIFY(writeFile(output, "keep me"));
    const QStringList request = {TestFonts::dejaVuSans(), "--output-file=" + output, "--text=a", "--lang=en"};

    Run run = runSubset(request);
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.err, "vfc-subset: File " + output + " already exists; add --force to replace it.\n");
    QCOMPARE(contentOf(output), QByteArray("keep me"));

    // Forced, but hb-subset fails: the old file survives.
    run = runSubset({directory.path(), "--output-file=" + output, "--text=a", "--force"});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(contentOf(output), QByteArray("keep me"));

    run = runSubset(request + QStringList{"--force"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(TestFonts::readCharacterMap(output), QSet<uint>{'a'});
}

void TestVfcSubset::failures_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message"); // after "vfc-subset: "

    const QString missing = path(QStringLiteral("missing.txt"));
    const QString font = TestFonts::dejaVuSans();
    QTest::newRow("no font there") << QStringList{path("none.ttf"), "--text=a", "--lang=en"}
                                   << "Please choose a valid source TTF font file first.";
    QTest::newRow("no font there, Chinese")
        << QStringList{path("none.ttf"), "--text=a"} << "请先选择有效的源 TTF 字体文件。";
    QTest::newRow("text file missing")
        << QStringList{font, "--text-file=" + missing, "--lang=en"} << "Failed to open file: " + missing;
    QTest::newRow("text file empty") << QStringList{font, "--text-file=" + path("empty.txt"), "--lang=en"}
                                     << "File is empty.";
    QTest::newRow("only controls") << QStringList{font, "--text=\t", "--lang=en"}
                                   << "The chosen text holds no character to keep (none from U+0020 up).";
    QTest::newRow("output folder missing")
        << QStringList{font, "--text=a", "--lang=en", "--output-file=" + path("no/such/dir.ttf")}
        << "Failed to save to path: " + path("no/such/dir.ttf");
    QTest::newRow("output would replace the source")
        << QStringList{capitalsOnly, "--text=A", "--lang=en", "--force", "--output-file=" + capitalsOnly}
        << "The output file would replace the source font: " + capitalsOnly +
               ". Choose another name or directory.";
}

void TestVfcSubset::failures()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const QString output = path(QStringLiteral("failed.ttf"));
    if (!arguments.filter(QStringLiteral("--output-file")).size())
        arguments.append("--output-file=" + output);
    const QByteArray capitals = contentOf(capitalsOnly);

    const Run run = runSubset(arguments);
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.err, "vfc-subset: " + message + '\n');
    QCOMPARE(run.out, QString());
    QVERIFY(!QFile::exists(output));
    QCOMPARE(contentOf(capitalsOnly), capitals);
}

void TestVfcSubset::exitStatus_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("outContains"); // "": nothing on standard output
    QTest::addColumn<int>("outLines");        // -1: not counted
    QTest::addColumn<QString>("err");

    QTest::newRow("help, Chinese") << QStringList{"--help"} << 0
                                   << "用法: vfc-subset 字体 --output-file=" << -1 << "";
    QTest::newRow("help, English") << QStringList{"-h", "--lang=en"} << 0
                                   << "Usage: vfc-subset FONT --output-file=" << -1 << "";
    QTest::newRow("version") << QStringList{"--version"} << 0 << "vfc-subset " VFC_VERSION "\n" << 1 << "";
    QTest::newRow("block table") << QStringList{"--list-blocks", "--lang=en"} << 0
                                 << "\n102  U+4E00 - U+9FBF  CJK Unified Ideographs\n"
                                 << 115 << "";
    QTest::newRow("usage error, English")
        << QStringList{"--lang=en", TestFonts::dejaVuSans(), "--text=a"} << 2 << "" << 0
        << "vfc-subset: No output file given: add --output-file=PATH.\n"
           "Try 'vfc-subset --help' for more information.\n";
    QTest::newRow("usage error, Chinese")
        << QStringList{TestFonts::dejaVuSans(), "--blocks=0", "--output-file=" + path("u.ttf")} << 2 << ""
        << 0
        << "vfc-subset: --blocks 中的分区行号“0”无效：行号为 1 到 115，可写范围（如 3-5）或 all。\n"
           "运行 'vfc-subset --help' 查看用法。\n";
}

void TestVfcSubset::exitStatus()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, outContains);
    const Run run = runSubset(arguments);
    QTEST(run.exitCode, "status");
    QTEST(run.err, "err");
    QVERIFY2(outContains.isEmpty() ? run.out.isEmpty() : run.out.contains(outContains), qPrintable(run.out));
    QFETCH(int, outLines);
    if (outLines >= 0)
        QCOMPARE(int(run.out.count('\n')), outLines);
    QVERIFY(!QFile::exists(path(QStringLiteral("u.ttf"))));
}

void TestVfcSubset::runsWithoutDisplay()
{
    // A session without a display, asking for a platform that needs one: the
    // program still works and says nothing but its own words.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    const QString output = path(QStringLiteral("headless.ttf"));
    const Run run =
        runSubset({TestFonts::dejaVuSans(), "--text=abc", "--output-file=" + output}, {}, environment);
    QCOMPARE(run.err, QString());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(TestFonts::readCharacterMap(output), span('a', 'c'));
}

QTEST_GUILESS_MAIN(TestVfcSubset)
#include "tst_vfcsubset.moc"
