#include "TestFiles.h"
#include "TestFonts.h"
#include "charset/TextCharacters.h"
#include "charset/UnicodeBlockTable.h"
#include "cli/FaceCommand.h"
#include "cli/SubsetCommand.h"
#include "cli/SubsetCommandLine.h"

#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <unistd.h>

namespace {

QSet<uint> span(uint first, uint last)
{
    QSet<uint> codepoints;
    for (uint codepoint = first; codepoint <= last; ++codepoint)
        codepoints.insert(codepoint);
    return codepoints;
}

} // namespace

class TestVfcSubset : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void readsTheCommandLine_data();
    void readsTheCommandLine();
    void keepsWhatWasChosen_data();
    void keepsWhatWasChosen();
    void existingOutputNeedsForce();
    void writesNoFont_data();
    void writesNoFont();
    void missingCharactersAreListedSafely();
    void signalStopsTheRun_data();
    void signalStopsTheRun();

private:
    QString path(const QString &name) const { return directory.filePath(name); }

    QTemporaryDir directory;
    QString capitalsOnly; // DejaVu Sans cut down to A-Z
};

void TestVfcSubset::initTestCase()
{
    // Every run happens without a display while asking for a platform that
    // needs one: the program must work all the same and print only its own words.
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR"})
        qunsetenv(name);
    qputenv("QT_QPA_PLATFORM", "xcb");

    QVERIFY(directory.isValid());
    QString error;
    capitalsOnly = path(QStringLiteral("capitals.ttf"));
    QVERIFY2(TestFonts::cutFont(TestFonts::dejaVuSans(), QStringLiteral("41-5A"), capitalsOnly, &error),
             qPrintable(error));
    QVERIFY(writeFile(path(QStringLiteral("chars.txt")), "xy\r\n\xE4\xB8\xAD")); // x, y, CR LF, U+4E2D
    QVERIFY(writeFile(path(QStringLiteral("gbk.txt")), "\xC4\xE3\xBA\xC3"));     // "你好" in GBK
    // The command-line rows name their font relatively, as a user would; the
    // request only goes on with a source that exists.
    QVERIFY(QDir::setCurrent(directory.path()));
    for (const char *name : {"f.ttf", "f", "--help"})
        QVERIFY(QFile::copy(capitalsOnly, path(QLatin1String(name))));
}

void TestVfcSubset::readsTheCommandLine_data()
{
    QTest::addColumn<QStringList>("arguments"); // after --lang=en
    QTest::addColumn<QString>("expected");      // font|output|force|--unicodes value, or part of the error

    QTest::newRow("values after = or apart; output as given; text ascending, once each")
        << QStringList{"f.ttf",           "--output-file", " My Font!.otf",
                       "--text=中A a@?😀", "--text=\tAaÀ¿", "--force"}
        << "f.ttf| My Font!.otf|1|U+0020,U+003F,U+0040,U+0041,U+0061,U+00BF,U+00C0,U+4E2D,U+1F600";
    QTest::newRow("block rows: first, last, ranges, repeats, spaces; table order; no controls")
        << QStringList{"f", "--output-file=o", "--blocks= 115,3 - 4,3,, 1-1"}
        << "f|o|0|U+0020-007E,U+0100-017F,U+0180-024F,U+FFF0-FFFF";
    const QString codepoints = " U+4E2D,u+00ff\t0X1F600\n41-5A, U+4E00-U+9FBF 10FFFE-10FFFF";
    QTest::newRow("blocks, code points as given, then text; -- ends the options")
        << QStringList{"--output-file=o", "--text=b", "--unicodes", codepoints,
                       "--blocks=2",      "--text=a", "--",         "--help"}
        << "--help|o|0|U+00A0-00FF,U+4E2D,U+00FF,U+1F600,U+0041-005A,U+4E00-9FBF,U+10FFFE-10FFFF,"
           "U+0061,U+0062";

    // Each error names the bad input and why.
    QTest::newRow("first mistake counts") << QStringList{"-en", "--blocks=0"} << "Unknown option: -en";
    QTest::newRow("value missing at the end") << QStringList{"f", "--blocks"} << "--blocks needs a value";
    QTest::newRow("empty output path") << QStringList{"--output-file="} << "--output-file needs a value";
    QTest::newRow("unknown language") << QStringList{"--lang=fr"} << "Unknown language \"fr\"";
    QTest::newRow("two fonts") << QStringList{"f", "g", "--output-file=o", "h", "--text=a"}
                               << "Only one font file may be given; also got: g h";
    QTest::newRow("block row 0, last --lang wins, any case")
        << QStringList{"--lang=zh", "--blocks=0", "--lang=EN"} << "Invalid block row \"0\" in --blocks";
    QTest::newRow("block row past the end")
        << QStringList{"--blocks=1,110-116"} << "Invalid block row \"110-116\" in --blocks";
    QTest::newRow("no block row") << QStringList{"--blocks= , "} << "--blocks lists no row";
    QTest::newRow("code point above U+10FFFF")
        << QStringList{"--unicodes=10FFFF-110000"} << "Invalid code point \"10FFFF-110000\" in --unicodes";
    QTest::newRow("not hexadecimal") << QStringList{"--unicodes=41,4G"}
                                     << "Invalid code point \"4G\" in --unicodes";
    QTest::newRow("reversed range") << QStringList{"--unicodes=5A-41"}
                                    << "\"5A-41\" in --unicodes: its first code point lies above its last";
    QTest::newRow("everything") << QStringList{"--unicodes=*"} << "--unicodes=* is not supported";
    QTest::newRow("no code point") << QStringList{"--unicodes= ,, "} << "--unicodes lists no code point";
}

void TestVfcSubset::readsTheCommandLine()
{
    QFETCH(QStringList, arguments);
    const SubsetCommandLine line = parseSubsetCommandLine(QStringList{"--lang=en"} + arguments);
    QString outcome = line.usageError;
    SubsetChoices choices;
    SubsetRequest request;
    FontFace face;
    if (line.action == SubsetCommandLine::Action::Subset && commandLineFace(line, &face, &outcome) &&
        subsetChoicesFromCommandLine(line, face, QString(), &choices, &outcome) &&
        buildSubsetRequest(choices, &request, &outcome))
        outcome =
            QStringList{line.fontPath, line.outputPath, QString::number(line.force), request.unicodesArgument}
                .join('|');
    QFETCH(QString, expected);
    if (expected.contains('|'))
        QCOMPARE(outcome, expected);
    else
        QVERIFY2(outcome.contains(expected) && !outcome.contains('|'), qPrintable(outcome));
}

void TestVfcSubset::keepsWhatWasChosen_data()
{
    QTest::addColumn<QString>("font");
    QTest::addColumn<QStringList>("selection");
    QTest::addColumn<QSet<uint>>("requested");
    QTest::addColumn<QString>("note"); // how standard error begins

    QSet<uint> everyBlock;
    for (const UnicodeBlock &block : unicodeBlockTable)
        everyBlock += span(block.first, block.last);
    QTest::newRow("unicodes, .otf") << TestFonts::nimbusSansOtf()
                                    << QStringList{"--unicodes", "U+0041-005A 61,0x62"}
                                    << (span('A', 'Z') + QSet<uint>{'a', 'b'}) << "";
    QTest::newRow("all blocks, .ttc, note in Chinese by default")
        << TestFonts::wqyMicroHei() << QStringList{"--blocks=ALL"} << everyBlock << "注意：有 ";
    QTest::newRow("text file, standard input, block and code point add up, .ttc")
        << TestFonts::wqyMicroHei()
        << QStringList{"--text-file", path("chars.txt"), "--text-file=-", "--blocks=3", "--unicodes=41"}
        << (span(0x100, 0x17F) + QSet<uint>{'x', 'y', 'z', 0x4E2D, 'A'}) << "";
    QTest::newRow("note in English")
        << capitalsOnly << QStringList{"--text=CabBAc", "--lang=en"} << span('A', 'C') + span('a', 'c')
        << "Note: 3 requested characters are not present in the source font and will not "
           "appear in the subset.\nExamples: \"abc\"\n";
}

void TestVfcSubset::keepsWhatWasChosen()
{
    QFETCH(QString, font);
    QFETCH(QStringList, selection);
    QFETCH(QSet<uint>, requested);
    QFETCH(QString, note);

    // Taken as given: no name cleaning, no ".ttf" appended.
    const QString output = path(QStringLiteral("kept %1!.otf").arg(QTest::currentDataTag()));
    const ProgramRun run =
        runProgram("vfc-subset", QStringList{font, "--output-file=" + output} + selection, "z");
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QCOMPARE(run.out, QByteArray());
    const QSet<uint> source = TestFonts::readCharacterMap(font);
    QCOMPARE(TestFonts::readCharacterMap(output), requested & source);
    // The note appears exactly when something printable that was asked for is not in the font.
    QSet<uint> lacking = requested - source;
    lacking.removeIf([](uint codepoint) { return !isKeptCharacter(codepoint); });
    QCOMPARE(run.err.isEmpty(), lacking.isEmpty());
    QVERIFY2(note.isEmpty() || run.err.startsWith(note), qPrintable(run.err));
}

void TestVfcSubset::existingOutputNeedsForce()
{
    const QString output = path(QStringLiteral("existing.ttf"));
    QVERIFY(writeFile(output, "keep me"));
    const QStringList request = {TestFonts::dejaVuSans(), "--output-file=" + output, "--text=a", "--lang=en"};

    ProgramRun run = runProgram("vfc-subset", request);
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.err, "vfc-subset: File " + output + " already exists; add --force to replace it.\n");
    QCOMPARE(readFile(output), QByteArray("keep me"));

    // A dangling link is there too: writing through it would create a file elsewhere.
    const QString link = path(QStringLiteral("dangling.ttf"));
    QVERIFY(QFile::link(path(QStringLiteral("elsewhere.ttf")), link));
    QCOMPARE(
        runProgram("vfc-subset", {TestFonts::dejaVuSans(), "--output-file=" + link, "--text=a"}).exitCode, 1);
    QVERIFY(QFileInfo(link).isSymLink());

    // Forced, but hb-subset fails: the old file survives.
    run = runProgram("vfc-subset", {directory.path(), "--output-file=" + output, "--text=a", "--force"});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(readFile(output), QByteArray("keep me"));

    run = runProgram("vfc-subset", request + QStringList{"--force"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(TestFonts::readCharacterMap(output), QSet<uint>{'a'});
}

void TestVfcSubset::writesNoFont_data()
{
    QTest::addColumn<QStringList>("arguments"); // --output-file added where missing
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said"); // on standard output after exit 0, else on standard error

    const QString font = TestFonts::dejaVuSans();
    QTest::newRow("help, over any mistake")
        << QStringList{"--bogus", "-h", "--lang=en"} << 0 << "Usage: vfc-subset FONT --output-file=";
    QTest::newRow("version") << QStringList{"--version"} << 0 << "vfc-subset " VFC_VERSION "\n";
    QTest::newRow("block table") << QStringList{"--list-blocks", "--lang=en"} << 0
                                 << "\n115  U+FFF0 - U+FFFF  Specials\n";
    QTest::newRow("usage error") << QStringList{"--lang=en", font} << 2
                                 << "vfc-subset: No characters chosen: add --text,";
    QTest::newRow("usage error, Chinese by default")
        << QStringList{font, "--blocks=0"} << 2
        << "vfc-subset: --blocks 中的分区行号“0”无效：行号为 1 到 115，可写范围（如 3-5）或 all。\n"
           "运行 'vfc-subset --help' 查看用法。\n";
    QTest::newRow("standard input empty")
        << QStringList{font, "--text-file", "-", "--lang=en"} << 1 << "File is empty.";
    QTest::newRow("only controls") << QStringList{font, "--text=\t", "--lang=en"} << 1
                                   << "The chosen text holds no character to keep (none from U+0020 up).";
    QTest::newRow("text file in GBK") << QStringList{font, "--text-file=" + path(QStringLiteral("gbk.txt"))}
                                      << 1 << "文件不是 UTF-8 文本: " + path(QStringLiteral("gbk.txt"));
}

void TestVfcSubset::writesNoFont()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, said);
    const QString output = path(QStringLiteral("unwritten.ttf"));
    if (arguments.filter(QStringLiteral("--output-file")).isEmpty())
        arguments.append("--output-file=" + output);
    const ProgramRun run = runProgram("vfc-subset", arguments);
    QCOMPARE(run.exitCode, status);
    const QString out = QString::fromUtf8(run.out);
    QVERIFY2((status ? run.err : out).contains(said), qPrintable(run.err + out));
    QCOMPARE(status ? out : run.err, QString());
    QVERIFY(!QFile::exists(output));
}

void TestVfcSubset::missingCharactersAreListedSafely()
{
    const QString output = path(QStringLiteral("all-blocks.ttf"));
    const ProgramRun run = runProgram("vfc-subset", {capitalsOnly, "--blocks=all", "--list-missing",
                                                     "--force", "--lang=en", "--output-file=" + output});
    QCOMPARE(run.exitCode, 0);
    // A terminal reads U+009B and friends as commands: none may reach it.
    const QString out = QString::fromUtf8(run.out);
    for (const QString &stream : {run.err, out}) {
        for (QChar c : stream) {
            const bool control = c.category() == QChar::Other_Control && c != QLatin1Char('\n');
            QVERIFY2(!control && c.category() != QChar::Other_Format,
                     qPrintable(QString::number(c.unicode(), 16)));
        }
    }
    QVERIFY2(run.err.contains(QStringLiteral("Examples: \"U+0020 !\"#")), qPrintable(run.err));

    // The full list: every code point of every block that a subset keeps and
    // the font lacks, one per line, in order.
    QStringList expected;
    for (const UnicodeBlock &block : unicodeBlockTable) {
        for (uint codepoint = block.first; codepoint <= block.last; ++codepoint) {
            if ((codepoint < 'A' || codepoint > 'Z') && isKeptCharacter(codepoint))
                expected.append(QStringLiteral("U+%1").arg(codepoint, 4, 16, QLatin1Char('0')).toUpper());
        }
    }
    QStringList listed = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(listed.size(), expected.size());
    QCOMPARE(listed.at(expected.indexOf("U+4E00")), QStringLiteral("U+4E00 一"));
    QCOMPARE(listed.at(expected.indexOf("U+3000")), QStringLiteral("U+3000"));
    QCOMPARE(listed.at(expected.indexOf("U+200B")), QStringLiteral("U+200B"));
    for (QString &line : listed)
        line = line.section(QLatin1Char(' '), 0, 0);
    QCOMPARE(listed, expected);
}

void TestVfcSubset::signalStopsTheRun_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("slowTool"); // the stand-in that takes its time
    QTest::newRow("SIGINT") << int(SIGINT) << 130 << "hb-subset";
    QTest::newRow("SIGTERM") << int(SIGTERM) << 143 << "hb-subset";
    // The sanitizer's time limit is a minute; a signal must not wait for it.
    QTest::newRow("SIGINT while ots-sanitize checks the result") << int(SIGINT) << 130 << "ots-sanitize";
    QTest::newRow("SIGINT while compressing to WOFF2") << int(SIGINT) << 130 << "vfc-woff2";
}

void TestVfcSubset::signalStopsTheRun()
{
    QFETCH(int, signalNumber);
    QFETCH(int, status);
    QFETCH(QString, slowTool);

    // A copy of the program beside a stand-in hb-subset that starts writing
    // its output and then takes its time, or beside the real one with a slow
    // stand-in sanitizer first on the PATH.
    QTemporaryDir tools;
    const QString program = tools.filePath(QStringLiteral("vfc-subset"));
    QVERIFY(QFile::copy(QStringLiteral(VFC_BIN_DIR "/vfc-subset"), program));
    const QByteArray slow =
        "#!/bin/sh\nfor a; do case $a in --output-file=*) out=${a#*=};; esac; done\n"
        "[ -n \"$out\" ] && printf partial > \"$out\"; echo $$ > \"$0.pid\"; exec sleep 60\n";
    if (slowTool == QLatin1String("hb-subset"))
        QVERIFY(writeFile(tools.filePath(slowTool), slow));
    else
        QVERIFY(QFile::link(QStringLiteral(VFC_HB_SUBSET), tools.filePath(QStringLiteral("hb-subset"))) &&
                writeFile(tools.filePath(slowTool), slow));
    QVERIFY(QFile::setPermissions(tools.filePath(slowTool), QFile::ReadOwner | QFile::ExeOwner));
    QTemporaryDir temporary;
    const QString output = path(slowTool == QLatin1String("vfc-woff2") ? QStringLiteral("signalled.woff2")
                                                                       : QStringLiteral("signalled.ttf"));
    QVERIFY(writeFile(output, "previous subset"));

    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), temporary.path());
    environment.insert(QStringLiteral("PATH"),
                       tools.path() + ':' + environment.value(QStringLiteral("PATH")));
    process.setProcessEnvironment(environment);
    QStringList arguments{TestFonts::dejaVuSans(), "--text=a", "--force", "--output-file=" + output};
    if (slowTool == QLatin1String("vfc-woff2"))
        arguments << "--format=woff2";
    process.start(program, arguments);
    const QString pidFile = tools.filePath(slowTool + ".pid");
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(pidFile).size() > 0, 20000);
    const pid_t standIn = pid_t(readFile(pidFile).trimmed().toInt());
    QCOMPARE(::kill(pid_t(process.processId()), signalNumber), 0);

    // Well before the stand-in's minute is up.
    QVERIFY(process.waitForFinished(20000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), status);
    QCOMPARE(readFile(output), QByteArray("previous subset"));
    QCOMPARE(QDir(temporary.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    QTRY_VERIFY(::kill(standIn, 0) != 0); // the slow tool was stopped too
}

QTEST_GUILESS_MAIN(TestVfcSubset)
#include "tst_vfcsubset.moc"
