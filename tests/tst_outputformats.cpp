#include "ModalDriver.h"
#include "TestFiles.h"
#include "TestFonts.h"
#include "common/UiText.h"
#include "subset/SizeReport.h"
#include "subset/SubsetJob.h"
#include "window/VectorFontClipDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QThreadPool>
#include <QtTest>

#include <woff2/decode.h>

namespace {

// What browsers run on every web font before they use it.
bool sanitized(const QString &path)
{
    return runProgram("ots-sanitize", {path}).exitCode == 0;
}

// The tables of a font file by tag, read from its table directory.
QMap<QByteArray, QByteArray> tables(const QByteArray &font)
{
    QMap<QByteArray, QByteArray> found;
    const auto u32 = [&](qsizetype at) { return qFromBigEndian<quint32>(font.constData() + at); };
    const int count = font.size() >= 12 ? qFromBigEndian<quint16>(font.constData() + 4) : 0;
    for (int i = 0; i < count && 12 + 16 * (i + 1) <= font.size(); ++i) {
        const qsizetype entry = 12 + 16 * i;
        found.insert(font.mid(entry, 4), font.mid(u32(entry + 8), u32(entry + 12)));
    }
    return found;
}

QByteArray decodeWoff2(const QByteArray &woff2)
{
    const auto *data = reinterpret_cast<const uint8_t *>(woff2.constData());
    QByteArray font(qsizetype(woff2::ComputeWOFF2FinalSize(data, size_t(woff2.size()))), '\0');
    woff2::WOFF2MemoryOut out(reinterpret_cast<uint8_t *>(font.data()), size_t(font.size()));
    return woff2::ConvertWOFF2ToTTF(data, size_t(woff2.size()), &out) ? font.left(qsizetype(out.Size()))
                                                                      : QByteArray();
}

// The code points of a style sheet's unicode-range; a range that touches the
// one before it, which should have been merged, counts as a failure.
QSet<uint> unicodeRange(const QString &css, bool *merged)
{
    QSet<uint> codepoints;
    *merged = true;
    qint64 previousLast = -2;
    static const QRegularExpression range("U\\+([0-9A-F]+)(?:-([0-9A-F]+))?");
    const QString value = css.section("unicode-range:", 1).section(';', 0, 0);
    for (const auto &match : range.globalMatch(value)) {
        const uint first = match.captured(1).toUInt(nullptr, 16);
        const uint last = match.hasCaptured(2) ? match.captured(2).toUInt(nullptr, 16) : first;
        *merged = *merged && qint64(first) > previousLast + 1;
        previousLast = last;
        for (uint codepoint = first; codepoint <= last; ++codepoint)
            codepoints.insert(codepoint);
    }
    return codepoints;
}

// vfc-subset in English on DejaVu Sans, writing out/web.woff2 unless the
// arguments name another output, with files limited to `blocks` blocks of
// 512 bytes; "%1" in the arguments stands for the folder `out`.
ProgramRun runVfcSubset(const QDir &out, QStringList arguments, const QString &blocks = "unlimited")
{
    arguments.replaceInStrings("%1", out.path());
    if (arguments.filter(QRegularExpression("^--output-file=")).isEmpty())
        arguments.append("--output-file=" + out.filePath("web.woff2"));
    return runProgram("sh", QStringList{"-c", "trap '' XFSZ; ulimit -f " + blocks + "; exec \"$@\"", "sh",
                                        VFC_BIN_DIR "/vfc-subset", "--lang=en", TestFonts::dejaVuSans()} +
                                arguments);
}

} // namespace

class TestOutputFormats : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void consumersReadEveryFormat_data();
    void consumersReadEveryFormat();
    void sizeReport_data();
    void sizeReport();
    void commandLine_data();
    void commandLine();
    void outputNamedByPath_data();
    void outputNamedByPath();
    void windowWritesWoff2WithCss();

private:
    SubsetOutcome generate(const FontFace &face, const QString &text, OutputFormat format,
                           const QString &target)
    {
        SubsetChoices choices;
        choices.face = face;
        choices.texts = {text};
        choices.targetPath = target;
        choices.format = format;
        choices.writeCss = true;
        setUiEnglish(true);
        choices.toolDirectory = VFC_BIN_DIR;
        SubsetRequest request;
        return buildSubsetRequest(choices, &request, nullptr) ? runSubsetJob(request) : SubsetOutcome();
    }
    // Fills in the window and presses "Generate subset"; the driver answers.
    bool generateInWindow(ModalDriver *driver, const QString &font, const QString &text)
    {
        VectorFontClipDialog dialog(1);
        dialog.findChild<QLineEdit *>("fontPathEdit")->setText(font);
        dialog.findChild<QLineEdit *>("outputNameEdit")->setText("web");
        dialog.findChild<QTextEdit *>("customTextEdit")->setPlainText(text);
        dialog.findChild<QComboBox *>("outputFormatCombo")->setCurrentIndex(1); // WOFF2
        dialog.findChild<QCheckBox *>("writeCssCheck")->setChecked(true);
        dialog.findChild<QPushButton *>("generateButton")->click();
        const auto *buttons = dialog.findChild<QDialogButtonBox *>("buttonBox");
        return QTest::qWaitFor([&] { return driver->pending() == 0 && buttons->isEnabled(); }, 120000);
    }

    QTemporaryDir base;
    std::unique_ptr<QTemporaryDir> work;
};

void TestOutputFormats::init()
{
    work = std::make_unique<QTemporaryDir>(base.filePath("XXXXXX"));
    QVERIFY(work->isValid() && QDir().mkpath(work->filePath("tmp")));
    qputenv("TMPDIR", QFile::encodeName(work->filePath("tmp")));
}

void TestOutputFormats::cleanup()
{
    QTRY_VERIFY(noWindowLeftOpen());
    // A worker still compressing after a cancel removes its own files when done.
    QVERIFY(QThreadPool::globalInstance()->waitForDone(120000));
    QCOMPARE(QDir(QDir::tempPath()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

void TestOutputFormats::consumersReadEveryFormat_data()
{
    QTest::addColumn<QString>("font");
    QTest::addColumn<int>("face");
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("name"); // what the C array is called: the output name made an identifier

    const QList<std::pair<QString, int>> fonts = {
        {TestFonts::dejaVuSans(), 0}, {TestFonts::nimbusSansOtf(), 0}, {TestFonts::wqyMicroHei(), 1}};
    for (const auto &[font, face] : fonts) {
        const QString source = QFileInfo(font).suffix() + " face " + QString::number(face);
        QTest::newRow(qPrintable(source + ", WOFF2 and CSS"))
            << font << face << int(OutputFormat::Woff2) << "";
        QTest::newRow(qPrintable(source + ", C array"))
            << font << face << int(OutputFormat::CArray) << (face ? "font_12MyFont" : "my_font_1");
    }
}

void TestOutputFormats::consumersReadEveryFormat()
{
    QFETCH(QString, font);
    QFETCH(int, face);
    QFETCH(int, format);
    QFETCH(QString, name);

    const QString text = "Quick fox, 42 € 中文字体";
    const QString reference = work->filePath("reference.ttf");
    const SubsetOutcome plain = generate({font, face}, text, OutputFormat::TrueType, reference);
    QVERIFY2(plain.ok, qPrintable(plain.errorMessage));
    QVERIFY(sanitized(reference));
    QSet<uint> requested;
    for (QChar unit : text)
        requested.insert(unit.unicode());
    const QSet<uint> kept = TestFonts::readCharacterMap(reference);
    QCOMPARE(kept, requested & TestFonts::readCharacterMap(font, face));
    QVERIFY2(plain.sizeReport.contains(QString(", %1 characters,").arg(kept.size())),
             qPrintable(plain.sizeReport));

    const QString target = work->filePath(format == int(OutputFormat::Woff2) ? "web.woff2"
                                          : name == "my_font_1"              ? "my font-1.h"
                                                                             : "12MyFont.h");
    const SubsetOutcome outcome = generate({font, face}, text, OutputFormat(format), target);
    QVERIFY2(outcome.ok, qPrintable(outcome.errorMessage));
    QVERIFY(sanitized(target) || format == int(OutputFormat::CArray));

    QByteArray readBack;
    if (format == int(OutputFormat::Woff2)) {
        readBack = decodeWoff2(readFile(target));
        // glyf and loca travel transformed and are rebuilt; head then differs in its checksum.
        auto decoded = tables(readBack), original = tables(readFile(reference));
        QCOMPARE(decoded.keys(), original.keys());
        for (const char *rebuilt : {"glyf", "loca", "head"})
            decoded.remove(rebuilt), original.remove(rebuilt);
        QVERIFY(decoded == original);
        bool merged = false;
        const QString css = QString::fromUtf8(readFile(work->filePath("web.css")));
        QCOMPARE(unicodeRange(css, &merged), kept);
        QVERIFY2(merged && css.contains("url(\"web.woff2\")"), qPrintable(css));
        QCOMPARE(outcome.writtenFiles, QStringList({target, work->filePath("web.css")}));
    } else {
        // The header must build as plain C with every warning an error.
        QVERIFY(writeFile(work->filePath("dump.c"), "#include <stdio.h>\n#include \"" + target.toUtf8() +
                                                        "\"\nint main(void) { return fwrite(" +
                                                        name.toUtf8() + ", 1, " + name.toUtf8() +
                                                        "_len, stdout) == 0; }\n"));
        const ProgramRun compiled =
            runProgram("cc", {"-std=c99", "-pedantic", "-Wall", "-Wextra", "-Werror", "-o",
                              work->filePath("dump"), work->filePath("dump.c")});
        QVERIFY2(compiled.exitCode == 0, qPrintable(compiled.err));
        const ProgramRun dump = runProgram(work->filePath("dump"), {});
        QCOMPARE(dump.exitCode, 0);
        readBack = dump.out;
        QCOMPARE(readBack, readFile(reference));
    }
    // A consumer shapes the same glyphs from what it reads back as from the plain font.
    QVERIFY(writeFile(work->filePath("readback.ttf"), readBack) && sanitized(work->filePath("readback.ttf")));
    const QStringList shape{"--no-glyph-names", "--text=" + text};
    const ProgramRun shaped = runProgram("hb-shape", QStringList{work->filePath("readback.ttf")} + shape);
    const ProgramRun expected = runProgram("hb-shape", QStringList{reference} + shape);
    QVERIFY(shaped.exitCode == 0 && expected.exitCode == 0);
    QCOMPARE(shaped.out, expected.out);
}

void TestOutputFormats::sizeReport_data()
{
    QTest::addColumn<qint64>("before");
    QTest::addColumn<qint64>("after");
    QTest::addColumn<int>("english");
    QTest::addColumn<QString>("line");

    QTest::newRow("megabytes to kilobytes") << qint64(5200000) << qint64(256000) << 1
                                            << "Size: 5.2 MB → 256 KB (4.9%), 3,500 characters, 3,527 glyphs";
    QTest::newRow("bytes, just below a kilobyte, Chinese")
        << qint64(19460000) << qint64(999) << 0 << "大小：19 MB → 999 B（0.01%），3,500 个字符，3,527 个字形";
    QTest::newRow("rounds up into the next unit")
        << qint64(999960) << qint64(9960) << 1
        << "Size: 1.0 MB → 10 KB (1.0%), 3,500 characters, 3,527 glyphs";
}

void TestOutputFormats::sizeReport()
{
    QFETCH(qint64, before);
    QFETCH(qint64, after);
    QFETCH(int, english);
    QFETCH(QString, line);
    setUiEnglish(english == 1);
    QCOMPARE(sizeReportLine(before, after, 3500, 3527), line);
}

void TestOutputFormats::commandLine_data()
{
    // "@NAME": a file there before, which a failure keeps ("@NAME/": a folder);
    // "%N": run with files limited to N blocks of 512 bytes, as on a disk that fills up.
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("error"); // the start of standard error; %1 is the output folder
    QTest::addColumn<QStringList>("files");

    const QStringList web{"--format=WOFF2", "--css"};
    QTest::newRow("WOFF2, CSS and report")
        << web + QStringList{"--text=Hi", "--report"} << 0 << "Size: " << QStringList{"web.css", "web.woff2"};
    QTest::newRow("style sheet already there")
        << web + QStringList{"--text=Hi", "@web.css"} << 1
        << "vfc-subset: File %1/web.css already exists; add --force to replace it." << QStringList{"web.css"};
    QTest::newRow("style sheet would replace a folder")
        << web + QStringList{"--text=Hi", "--force", "@web.css/"} << 1
        << "vfc-subset: The target is a folder: %1/web.css" << QStringList{};
    // hb-subset would write a font with an empty character map, which browsers reject.
    QTest::newRow("no requested character in the font")
        << web + QStringList{"--text=中文", "--force", "@web.woff2"} << 1
        << "vfc-subset: None of the requested characters are in this font; nothing was written."
        << QStringList{"web.woff2"};
    // The font itself fits; the header, six times its size, does not.
    QTest::newRow("C array on a disk that fills up")
        << QStringList{"--text=Hi", "--format=c", "--force", "--output-file=%1/web.h", "@web.h", "%24"} << 1
        << "vfc-subset: Failed to save to path: %1/web.h\nFile too large" << QStringList{"web.h"};
    QTest::newRow("CSS without WOFF2")
        << QStringList{"--text=Hi", "--css", "--format=c", "--output-file=%1/web.h"} << 2
        << "vfc-subset: Option --css needs --format=woff2." << QStringList{};
}

void TestOutputFormats::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, error);
    QFETCH(QStringList, files);

    const QDir out(work->filePath("out"));
    QVERIFY(out.mkpath("."));
    const QString blocks = arguments.last().startsWith('%') ? arguments.takeLast().mid(1) : "unlimited";
    const QString before = arguments.last().startsWith('@') ? out.filePath(arguments.takeLast().mid(1)) : "";
    QVERIFY(before.isEmpty() || (before.endsWith('/') ? out.mkpath(before) : writeFile(before, "previous")));
    const ProgramRun run = runVfcSubset(out, arguments, blocks);
    QCOMPARE(run.exitCode, exitCode);
    const QString &err = run.err;
    QVERIFY2(err.startsWith(error.contains("%1") ? error.arg(out.path()) : error), qPrintable(err));
    QCOMPARE(out.entryList(QDir::Files, QDir::Name), files);
    if (!before.isEmpty() && !before.endsWith('/'))
        QCOMPARE(readFile(before), QByteArray("previous"));
    if (exitCode == 0)
        QVERIFY(sanitized(out.filePath("web.woff2")) && err.contains(", 2 characters, "));
}

void TestOutputFormats::outputNamedByPath_data()
{
    QTest::addColumn<QStringList>("arguments"); // "%1" is the output folder; "@NAME" a file there before
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("said");  // the start of the output written, or of standard error
    QTest::addColumn<QStringList>("left"); // the output folder's tree afterwards

    QTest::newRow(".woff2 chooses WOFF2, so --css fits")
        << QStringList{"--text=Hi", "--css", "--output-file=%1/web.woff2"} << 0 << QByteArray("wOF2")
        << QStringList{"web.css", "web.woff2"};
    QTest::newRow(".H chooses the C array") << QStringList{"--text=Hi", "--output-file=%1/Web.H"} << 0
                                            << QByteArray("/*") << QStringList{"Web.H"};
    QTest::newRow("another extension: the font itself")
        << QStringList{"--text=Hi", "--output-file=%1/web.bin"} << 0 << QByteArray("\0\1\0\0", 4)
        << QStringList{"web.bin"};
    QTest::newRow(".woff2 against --format=ttf")
        << QStringList{"--text=Hi", "--format=ttf", "--output-file=%1/web.woff2"} << 2
        << QByteArray(
               "vfc-subset: --output-file=%1/web.woff2 ends in .woff2, which does not fit --format=ttf.\n")
        << QStringList{};
    QTest::newRow(".ttf against --format=c, Chinese")
        << QStringList{"--text=Hi", "--format=c", "--lang=zh", "--output-file=%1/web.ttf"} << 2
        << QByteArray("vfc-subset: --output-file=%1/web.ttf 的扩展名 .ttf 与 --format=c 不符。\n")
        << QStringList{};
    QTest::newRow("missing folders made")
        << QStringList{"--text=Hi", "--css", "--output-file=%1/site/fonts/web.woff2"} << 0
        << QByteArray("wOF2")
        << QStringList{"site/", "site/fonts/", "site/fonts/web.css", "site/fonts/web.woff2"};
    QTest::newRow("missing folders not made for a failed run")
        << QStringList{"--text=中", "--output-file=%1/site/fonts/web.ttf"} << 1
        << QByteArray("vfc-subset: None of the requested characters are in this font") << QStringList{};
    QTest::newRow("a file where a folder must go: the system's reason, Chinese")
        << QStringList{"--text=Hi", "--lang=zh", "--output-file=%1/plain/fonts/web.ttf", "@plain"} << 1
        << QByteArray("vfc-subset: 无法保存到目标路径: %1/plain/fonts/web.ttf\n不是文件夹\n")
        << QStringList{"plain"};
}

void TestOutputFormats::outputNamedByPath()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, said);
    QFETCH(QStringList, left);

    const QDir out(work->filePath("out"));
    QVERIFY(out.mkpath("."));
    if (arguments.last().startsWith('@'))
        QVERIFY(writeFile(out.filePath(arguments.takeLast().mid(1)), "previous"));
    const ProgramRun run = runVfcSubset(out, arguments);
    QCOMPARE(run.exitCode, exitCode);
    const QString output = arguments.filter(QRegularExpression("^--output-file=")).value(0).mid(14);
    const QByteArray shown =
        exitCode ? run.err.toUtf8() : readFile(QString(output).replace("%1", out.path()));
    QVERIFY2(shown.startsWith(said.replace("%1", QFile::encodeName(out.path()))),
             shown.left(200).constData());
    QCOMPARE(folderTree(out.path()), left);
}

void TestOutputFormats::windowWritesWoff2WithCss()
{
    // The style sheet alone is already there: the question names it.
    const QString folder = work->filePath("site");
    QVERIFY(QDir().mkpath(folder) && writeFile(folder + "/web.css", "previous"));
    QString question, done;
    ModalDriver driver;
    driver.expect(ModalDriver::chooseFile(folder));
    driver.expect(ModalDriver::pressAndKeep(QMessageBox::Yes, &question));
    driver.expect(ModalDriver::pressAndKeep(QMessageBox::Ok, &done));
    QVERIFY(generateInWindow(&driver, TestFonts::dejaVuSans(), "Hello"));
    QCOMPARE(question, "File " + folder + "/web.css already exists, overwrite?");
    QVERIFY2(done.contains(folder + "/web.woff2\n" + folder + "/web.css\nSize: ") &&
                 done.contains(", 4 characters,"),
             qPrintable(done));
    QVERIFY(sanitized(folder + "/web.woff2"));
    QVERIFY(readFile(folder + "/web.css").contains("unicode-range: U+48, U+65, U+6C, U+6F;"));
}

QTEST_MAIN(TestOutputFormats)
#include "tst_outputformats.moc"
