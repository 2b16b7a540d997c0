#include "ModalDriver.h"
#include "TestFiles.h"
#include "TestFonts.h"
#include "charset/TextCharacters.h"
#include "charset/UnicodeBlockTable.h"
#include "common/UiText.h"
#include "subset/OutputName.h"
#include "subset/SubsetJob.h"
#include "subset/TemporarySubsetPath.h"
#include "subset/UnicodesArgument.h"
#include "window/VectorFontClipDialog.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

#include <csignal>
#include <sys/stat.h>

namespace {

const QString done =
    "Subset font has been generated. You can continue generating more subsets or close this tool.";

// Chooses the folder, which then goes away before the run can write there.
ModalDriver::Answer chooseThenRemove(const QString &folder)
{
    return [folder](QWidget *window) {
        ModalDriver::chooseFile(folder)(window);
        QDir(folder).removeRecursively();
    };
}

// `font` with its head table's record pointing past the end of the file.
} // namespace

class TestSubsetGeneration : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void outputAndTemporaryNames();
    void runner_data();
    void runner();
    void generation_data();
    void generation();

private:
    // A stand-in for hb-subset in the tool folder. It logs its arguments
    // (and a copy of a list file) in the working directory and knows its
    // output as $out; a body starting with "@" makes it not executable.
    bool writeTool(const QString &name, const QString &body)
    {
        QFile file(work->filePath("tools/" + name));
        const QString log = "printf '%s\\n' \"$@\" > args; out=\"${2#*=}\"\n"
                            "case \"$3\" in --unicodes-file=*) cp \"${3#*=}\" list;; esac\n";
        return QDir().mkpath(QFileInfo(file).path()) && file.open(QIODevice::WriteOnly) &&
               file.write(("#!/bin/sh\n" + log + body).toUtf8()) > 0 &&
               file.setPermissions(body.startsWith('@') ? QFile::ReadOwner
                                                        : QFile::ReadOwner | QFile::ExeOwner);
    }
    // Fills in the window (a null text means the blocks page; a negative row
    // is only partially checked), presses "Generate subset" and answers the
    // windows that come up in turn ("folder", "cancel", "yes", "no", "ok");
    // returns their titles and keeps the last message box's text in `shown`.
    QString generate(int english, const QString &font, const QString &name, const QString &text,
                     const QList<int> &rows, const QString &answers, QString *shown)
    {
        VectorFontClipDialog dialog(english);
        dialog.setToolDirectory(toolDirectory);
        dialog.findChild<QLineEdit *>("fontPathEdit")->setText(font);
        dialog.findChild<QLineEdit *>("outputNameEdit")->setText(name);
        dialog.findChild<QTabWidget *>("characterTabs")->setCurrentIndex(text.isNull() ? 1 : 0);
        dialog.findChild<QTextEdit *>("customTextEdit")->setPlainText(text);
        for (int row : rows)
            dialog.findChild<QListWidget *>("blockList")
                ->item(qAbs(row) - 1)
                ->setCheckState(row > 0 ? Qt::Checked : Qt::PartiallyChecked);
        ModalDriver driver;
        const QHash<QString, QMessageBox::StandardButton> buttons{
            {"yes", QMessageBox::Yes}, {"no", QMessageBox::No}, {"ok", QMessageBox::Ok}};
        for (const QString &answer : answers.split(' '))
            driver.expect(answer == "folder"        ? ModalDriver::chooseFile(chosenFolder)
                          : answer == "folder-gone" ? chooseThenRemove(chosenFolder)
                          : answer == "cancel"      ? ModalDriver::cancel()
                                               : ModalDriver::pressAndKeep(buttons.value(answer), shown));
        dialog.findChild<QPushButton *>("generateButton")->click();
        // The run goes on after the click; its result box is answered later.
        const auto *buttonBox = dialog.findChild<QDialogButtonBox *>("buttonBox");
        if (!QTest::qWaitFor([&] { return driver.pending() == 0 && buttonBox->isEnabled(); }, 120000))
            return QStringLiteral("<run did not end>");
        QStringList titles;
        for (const QString &window : driver.seen())
            titles.append(window.section(": ", 1));
        return (titles + driver.unexpected()).join('|');
    }
    QString chosenFolder; // what the directory dialog is answered with
    QString toolDirectory = QCoreApplication::applicationDirPath();

    QTemporaryDir base; // made before TMPDIR points elsewhere
    std::unique_ptr<QTemporaryDir> work, otherFileSystem;
};

void TestSubsetGeneration::init()
{
    // A temporary folder of the test's own, where leftovers can be seen.
    work = std::make_unique<QTemporaryDir>(base.filePath("XXXXXX"));
    chosenFolder = work->filePath("out put 目录");
    QVERIFY(work->isValid() && QDir().mkpath(chosenFolder) && QDir().mkpath(work->filePath("tmp")));
    qputenv("TMPDIR", QFile::encodeName(work->filePath("tmp")));
    QDir::setCurrent(work->path());
}

void TestSubsetGeneration::cleanup()
{
    QTRY_VERIFY(noWindowLeftOpen());
    const QStringList left =
        QDir(QDir::tempPath()).entryList({"vfc_*"}) + QDir(chosenFolder).entryList({"vfc_*"});
    otherFileSystem.reset();
    QVERIFY2(left.isEmpty(), qPrintable(left.join(' ')));
}

void TestSubsetGeneration::outputAndTemporaryNames()
{
    QCOMPARE(outputFileName("Font.TTF"), "Font.TTF");
    QCOMPARE(outputFileName("Font.otf"), "Font.otf.ttf");
    QCOMPARE(outputFileName("Font.ttf.TTF"), "Font.ttf");
    QCOMPARE(outputFileName("../1_a-b\\c:d😀"), "..1_a-bcd.ttf"); // stays in the chosen folder
    const QString first = temporarySubsetPath(), second = temporarySubsetPath();
    QVERIFY(first != second); // within the same second
    const QRegularExpression pattern("^" + QRegularExpression::escape(QDir::tempPath()) +
                                     "/vfc_subset_\\d{14}_[0-9a-f]{8}\\.ttf$");
    QVERIFY2(pattern.match(first).hasMatch(), qPrintable(first));
}

void TestSubsetGeneration::runner_data()
{
    QTest::addColumn<QStringList>("tools"); // path in the tool folder, then its script; repeated
    QTest::addColumn<int>("count");         // ideographs from U+4E00 requested
    QTest::addColumn<int>("english");
    QTest::addColumn<QString>("message");

    const QString beside = "hb-subset", below = "harfbuzz/hb-subset";
    // clang-format off
    QTest::newRow("exit 1: standard error kept whole, under the code") << QStringList{beside, "echo 'Unable to open font' >&2; exit 1"}
        << 1 << 1 << "hb-subset exited with code 1\nUnable to open font\nSource font: -";
    QTest::newRow("exit 3, silent, Chinese") << QStringList{beside, "exit 3"} << 1 << 0 << "hb-subset 退出码: 3\n源字库: -";
    QTest::newRow("exit 0 without output") << QStringList{beside, "exit 0"} << 1 << 1
        << "The subset is not a usable font (not an OpenType font). The source font may be damaged: -";
    QTest::newRow("exit 0, a 12-byte font without tables, Chinese")
        << QStringList{beside, "printf '\\0\\1\\0\\0\\0\\0\\0\\20\\0\\0\\0\\0' > \"$out\""} << 1 << 0
        << "生成的子集不是可用的字库（缺少 head 表）。源字库可能已损坏: -";
    QTest::newRow("font written, then killed")
        << QStringList{beside, "cp '" + TestFonts::dejaVuSans() + "' \"$out\"; echo killed >&2; kill -9 $$"}
        << 1 << 1 << "hb-subset stopped unexpectedly.\nkilled\nSource font: -";
    QTest::newRow("outlasts the time limit") << QStringList{beside, "exec sleep 30"} << 1 << 1
        << "hb-subset did not finish within 2 seconds and was stopped.\nSource font: -";
    // 4,000 code points make 28,000 characters, still one argument; 20,000
    // would be too long for one and travel in a list file.
    QTest::newRow("4,000 code points") << QStringList{beside, "exit 1"} << 4000 << 1
        << "hb-subset exited with code 1\nSource font: -";
    QTest::newRow("20,000 code points") << QStringList{beside, "exit 1"} << 20000 << 1
        << "hb-subset exited with code 1\nSource font: -";
    QTest::newRow("only in harfbuzz/") << QStringList{below, "echo below >&2; exit 1"} << 1 << 1
        << "hb-subset exited with code 1\nbelow\nSource font: -";
    QTest::newRow("both: the one beside wins")
        << QStringList{below, "echo below >&2; exit 1", beside, "echo beside >&2; exit 1"} << 1 << 1
        << "hb-subset exited with code 1\nbeside\nSource font: -";
    // Neither a suffix nor the system's hb-subset on PATH counts.
    QTest::newRow("neither") << QStringList{"hb-subset.exe", "exit 0"} << 1 << 1
        << "hb-subset not found. Please place it beside this executable.";
    QTest::newRow("cannot start") << QStringList{beside, "@not executable"} << 1 << 1
        << "Failed to start hb-subset process.";
    // clang-format on
}

void TestSubsetGeneration::runner()
{
    QFETCH(QStringList, tools);
    QFETCH(int, count);
    QFETCH(int, english);
    QFETCH(QString, message);

    // Named "-", the font would be an option to hb-subset (read standard input).
    QVERIFY(QFile::copy(TestFonts::dejaVuSans(), "-"));
    for (int i = 0; i + 1 < tools.size(); i += 2)
        QVERIFY(writeTool(tools.at(i), tools.at(i + 1)));
    SubsetRequest request;
    for (uint codepoint = 0x4E00; codepoint < 0x4E00 + uint(count); ++codepoint)
        request.codepoints.append(codepoint);
    request.face.path = "-";
    request.unicodesArgument = formatUnicodesArgument(request.codepoints);
    request.targetPath = work->filePath("target.ttf");
    request.toolDirectory = work->filePath("tools");
    request.finishTimeoutMs = 2000;
    setUiEnglish(english == 1);
    const SubsetOutcome outcome = runSubsetJob(request);
    QVERIFY(!outcome.ok && !outcome.cancelled);
    QCOMPARE(outcome.errorMessage, message);
    QVERIFY(!QFileInfo::exists(request.targetPath));
    const QString list = request.unicodesArgument;

    const QStringList args = QString::fromUtf8(readFile("args")).split('\n', Qt::SkipEmptyParts);
    const QString listPath = args.value(2).section("--unicodes-file=", 1);
    if (!args.isEmpty()) // some stand-in ran
        QCOMPARE(args.mid(0, 1) + args.mid(2),
                 QStringList({work->filePath("-"),
                              count < 20000 ? "--unicodes=" + list : "--unicodes-file=" + listPath,
                              "--layout-features=*"}));
    QCOMPARE(readFile("list"), listPath.isEmpty() ? QByteArray() : list.toLatin1());
    QVERIFY2(!QFileInfo::exists(listPath), "the list file was left behind");
}

void TestSubsetGeneration::generation_data()
{
    QTest::addColumn<int>("english");
    QTest::addColumn<QString>("font"); // "@…": made in the work folder
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("rows");
    // At the target beforehand: nothing, a "file", a "folder", a "link" to
    // nowhere or the "source" itself; "shm" and "tmp" also mean a file, with the temporary folder on
    // another file system or chosen as the output folder.
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("answers");
    QTest::addColumn<QString>("titles");
    // The last box's text (%1: the target); empty for a success means the
    // done text, with the note's count of what the source's map lacks.
    QTest::addColumn<QString>("message");

    // clang-format off
    const QString ttf = TestFonts::dejaVuSans(), otf = TestFonts::nimbusSansOtf(), ttc = TestFonts::wqyMicroHei();
    const QString name = " 输出 Font! ", none, dirDone = "Select output directory|Done";
    const QString asked = "Select output directory|Overwrite?|", replaced = asked + "Done";
    QString many; // far beyond what one command-line argument may hold
    for (char16_t unit = 0x4E00; unit < 0x4E00 + 20000; ++unit)
        many.append(QChar(unit));
    const QString forty = "KeepзжедгвбаЯЮЭЬЫЪЩШЧЦХФУТСРПОНМЛКЙИЗЖЕДГВБА"; // 40 letters lacking
    const QString examples = "\"АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ\"";
    const QString noteZh = "子集字库已生成，可继续生成其他字库或关闭本工具。\n\n注意：有 40 个请求的字符在源字库中"
        "不存在，将不会出现在生成的字库中。\n示例: " + examples;
    // Row 113 ends with U+FEFF, which must not be mistaken for a byte-order mark.
    QTest::newRow("ttf, blocks, replacing") << 1 << ttf << name << none << QList<int>{1, 2, -3, 9, 113} << "file"
        << "folder yes ok" << replaced << "";
    // Writing through the link would create a file somewhere else.
    QTest::newRow("dangling link at the target, replaced once asked") << 1 << ttf << name << "A" << QList<int>{}
        << "link" << "folder yes ok" << replaced << "";
    QTest::newRow("otf, text") << 1 << otf << name << "Quick fox, 42 € ﬁ" << QList<int>{} << "" << "folder ok"
        << dirDone << "";
    QTest::newRow("ttc, 20,000 ideographs, replacing") << 1 << ttc << name << many << QList<int>{} << "file"
        << "folder yes ok" << replaced << "";
    // Spaces around the path are trimmed, those inside kept; the text
    // edit's plain text would turn the no-break space into U+0020.
    QTest::newRow("ttf, spaces and Chinese in paths, no-break space") << 1 << " my fonts 字体/源 字体.ttf "
        << name << "A\u00A0B" << QList<int>{} << "" << "folder ok" << dirDone << "";
    // hb-subset's output can then not simply be renamed into place.
    QTest::newRow("temporary folder on another file system") << 1 << ttf << name << "Ab" << QList<int>{} << "shm"
        << "folder yes ok" << replaced << "";
    // hb-subset's output and the copy staged beside the target are one file.
    QTest::newRow("otf, blocks, output into the temporary folder") << 1 << otf << name << none << QList<int>{1, 3}
        << "tmp" << "folder yes ok" << replaced << "";
    // Qt would draw the lacking U+00A0 with the space's glyph; hb-subset keeps
    // only what the map has, and the note must say so.
    QTest::newRow("note for 41 missing, one a no-break space") << 1 << "@ascii" << name << forty + "\u00A0"
        << QList<int>{} << "" << "folder ok" << dirDone << "";
    QTest::newRow("note for 40 missing, Chinese") << 0 << "@ascii" << name << forty << QList<int>{} << "file"
        << "folder yes ok" << "选择输出目录|覆盖确认|完成" << noteZh;
    QTest::newRow("named pipe as font") << 1 << "@pipe" << name << "A" << QList<int>{} << "file" << "ok" << "Error"
        << "Please choose a valid source TTF font file first.\nSource font: @font";
    QTest::newRow("punctuation-only name, Chinese") << 0 << ttf << "!!!" << "A" << QList<int>{} << "file" << "ok"
        << "错误" << "输出文件名不能为空。";
    QTest::newRow("folder dialog cancelled") << 1 << ttf << name << "A" << QList<int>{} << "file" << "cancel"
        << "Select output directory" << "";
    QTest::newRow("overwrite refused, Chinese") << 0 << ttf << name << "A" << QList<int>{} << "file" << "folder no"
        << "选择输出目录|覆盖确认" << "文件 %1 已存在，是否覆盖？";
    // Whatever needs no folder is refused before the folder is asked for.
    QTest::newRow("controls-only text") << 1 << ttf << name << "\t\n\u0085\u2028" << QList<int>{} << "file"
        << "ok" << "Error" << "Please input at least one valid character on the Custom text tab.";
    QTest::newRow("only a partial tick") << 1 << ttf << name << none << QList<int>{-1} << "file" << "ok"
        << "Error" << "Please check at least one block on the Unicode blocks tab.";
    QTest::newRow("target is the source, no question") << 1 << ttf << name << "A" << QList<int>{} << "source"
        << "folder ok" << "Select output directory|Error"
        << "The output file would replace the source font: %1. Choose another name or directory.";
    QTest::newRow("source is not a font") << 1 << "@text" << name << "A" << QList<int>{} << "file" << "ok"
        << "Error" << "The source cannot be read as a font: not a TrueType or OpenType font.\nSource font: @font";
    QTest::newRow("source cut short") << 1 << "@truncated" << name << "A" << QList<int>{} << "file" << "ok" << "Error"
        << "The source cannot be read as a font: the file is cut short: it ends inside the glyf table.\n"
           "Source font: @font";
    QTest::newRow("source gone") << 1 << "@missing" << name << "A" << QList<int>{} << "file" << "ok" << "Error"
        << "Please choose a valid source TTF font file first.\n@font: not found";
    QTest::newRow("source gone, Chinese") << 0 << "@missing" << name << "A" << QList<int>{} << "file" << "ok"
        << "错误" << "请先选择有效的源 TTF 字体文件。\n未找到：@font";
    QTest::newRow("target is a folder: before the question") << 0 << ttf << name << "A" << QList<int>{} << "folder"
        << "folder ok" << "选择输出目录|错误" << "目标是一个文件夹: %1";
    QTest::newRow("output folder gone: path and reason") << 1 << ttf << name << "A" << QList<int>{} << ""
        << "folder-gone ok" << "Select output directory|Error" << "Failed to save to path: %1\nNo such file or directory";
    // clang-format on
}

void TestSubsetGeneration::generation()
{
    QFETCH(int, english);
    QFETCH(QString, font);
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QList<int>, rows);
    QFETCH(QString, before);
    QFETCH(QString, answers);
    QFETCH(QString, titles);
    QFETCH(QString, message);

    if (before == "shm") {
        otherFileSystem = std::make_unique<QTemporaryDir>("/dev/shm/vfc-test-XXXXXX");
        if (!otherFileSystem->isValid() ||
            QStorageInfo(otherFileSystem->path()).device() == QStorageInfo(work->path()).device())
            QSKIP("no second file system here");
        qputenv("TMPDIR", QFile::encodeName(otherFileSystem->path()));
    }
    if (before == "tmp")
        chosenFolder = QDir::tempPath();
    const QString target = chosenFolder + "/输出Font.ttf";
    if (before == "folder")
        QVERIFY(QDir().mkpath(target + "/inside"));
    else if (before == "source")
        QVERIFY(QFile::copy(TestFonts::dejaVuSans(), font = target));
    else if (before == "link")
        QVERIFY(QFile::link(work->filePath("nowhere.ttf"), target));
    else if (!before.isEmpty())
        QVERIFY(writeFile(target, "previous subset"));
    if (font == "@pipe")
        QCOMPARE(mkfifo(QFile::encodeName(font = work->filePath("pipe.ttf")).constData(), 0600), 0);
    else if (font == "@text")
        QVERIFY(writeFile(font = work->filePath("text.ttf"), "not a font\n"));
    else if (font == "@ascii")
        QVERIFY(
            TestFonts::cutFont(TestFonts::dejaVuSans(), "U+0020-007E", font = work->filePath("ascii.ttf")));
    else if (font == "@truncated") // what a broken download leaves
        QVERIFY(writeFile(font = work->filePath("cut.ttf"), readFile(TestFonts::dejaVuSans()).left(300000)));
    else if (font == "@missing")
        font = work->filePath("gone.ttf");
    else if (QFileInfo(font.trimmed()).isRelative())
        QVERIFY(QDir().mkpath(QFileInfo(font.trimmed()).path()) &&
                QFile::copy(TestFonts::dejaVuSans(), font.trimmed()));
    const QByteArray previous = readFile(target);

    QString shown;
    QCOMPARE(generate(english, font, name, text, rows, answers, &shown), titles);
    if (!titles.endsWith("Done") && !titles.endsWith("完成")) {
        // Whatever goes wrong, an existing target stays as it was, alone.
        QCOMPARE(shown, (message.contains("%1") ? message.arg(target) : message).replace("@font", font));
        QCOMPARE(readFile(target), previous);
        if (answers.contains("folder-gone"))
            QVERIFY(!QFileInfo::exists(chosenFolder));
        else
            QCOMPARE(QDir(chosenFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                     QStringList{"输出Font.ttf"});
        return;
    }
    // The done text names the file written on a line of its own.
    const QString pathLine = "\n" + QDir::toNativeSeparators(target) + "\n";
    QVERIFY2((shown + "\n").contains(pathLine), qPrintable(shown));
    shown = QString(shown + "\n").replace(pathLine, "\n").chopped(1);
    // Then the size line.
    const QRegularExpression sizeLine("\n(Size: |大小：)[^\n]*");
    QVERIFY2(shown.contains(sizeLine), qPrintable(shown));
    shown.remove(sizeLine);
    QSet<uint> requested;
    for (QChar unit : text)
        requested.insert(unit.unicode());
    for (int row : rows) {
        const auto &block = unicodeBlockTable[qAbs(row) - 1];
        for (uint codepoint = block.first; row > 0 && codepoint <= block.last; ++codepoint) {
            if (isKeptCharacter(codepoint))
                requested.insert(codepoint);
        }
    }
    QVERIFY(!QFileInfo(target).isSymLink() && !QFileInfo::exists(work->filePath("nowhere.ttf")));
    const QSet<uint> sourceMap = TestFonts::readCharacterMap(font.trimmed());
    QVERIFY(!sourceMap.isEmpty());
    QCOMPARE(TestFonts::readCharacterMap(target), requested & sourceMap);
    // The note counts what the font's own map lacks, controls aside.
    QSet<uint> lacking = requested - sourceMap;
    lacking.removeIf([](uint codepoint) { return !isKeptCharacter(codepoint); });
    if (message.isEmpty())
        QCOMPARE(shown.section(" requested", 0, 0),
                 lacking.isEmpty() ? done : done + "\n\nNote: " + QString::number(lacking.size()));
    else
        QCOMPARE(shown, message);
}

QTEST_MAIN(TestSubsetGeneration)
#include "tst_subsetgeneration.moc"
