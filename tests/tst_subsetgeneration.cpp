#include "ModalDriver.h"
#include "TestFonts.h"
#include "charset/UnicodeBlockTable.h"
#include "dialog/VectorFontClipDialog.h"
#include "subset/SubsetGeneration.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

#include <sys/stat.h>

namespace {

const QString done =
    "Subset font has been generated. You can continue generating more subsets or close this tool.";
const QByteArray previous = "previous subset";

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

QSet<uint> unitsFrom(const QString &text)
{
    QSet<uint> set;
    for (QChar unit : text)
        set.insert(unit.unicode());
    return set;
}

} // namespace

class TestSubsetGeneration : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void endToEnd_data();
    void endToEnd();
    void noteForFortyMissing();
    void refusalsAndFailures_data();
    void refusalsAndFailures();

private:
    // Fills in the window, presses "Generate subset" and answers the windows
    // that come up; returns their titles, the last box's text in `text`.
    QStringList generate(int useEnglish, const QString &font, const QString &name, const QString &text,
                         const QList<int> &rows, const QStringList &answers, QString *shown)
    {
        VectorFontClipDialog dialog(useEnglish);
        dialog.findChild<QLineEdit *>("fontPathEdit")->setText(font);
        dialog.findChild<QLineEdit *>("outputNameEdit")->setText(name);
        dialog.findChild<QTabWidget *>("characterTabs")->setCurrentIndex(text.isNull() ? 1 : 0);
        dialog.findChild<QTextEdit *>("customTextEdit")->setPlainText(text);
        for (int row : rows)
            dialog.findChild<QListWidget *>("blockList")->item(row - 1)->setCheckState(Qt::Checked);
        ModalDriver driver;
        for (const QString &answer : answers) {
            if (answer == "cancel")
                driver.expect(ModalDriver::cancel());
            else if (answer == "folder")
                driver.expect(ModalDriver::chooseFile(chosenFolder));
            else
                driver.expect(ModalDriver::pressAndKeep(answer == "yes"  ? QMessageBox::Yes
                                                        : answer == "no" ? QMessageBox::No
                                                                         : QMessageBox::Ok,
                                                        shown));
        }
        dialog.findChild<QPushButton *>("generateButton")->click();
        QStringList titles;
        for (const QString &window : driver.seen())
            titles.append(window.section(": ", 1));
        return driver.pending() == 0 && driver.unexpected().isEmpty() ? titles : driver.unexpected();
    }
    QString outFolder() const { return work->filePath("out put 目录"); }
    QString chosenFolder; // what the directory dialog is answered with

    QTemporaryDir base; // made before TMPDIR points elsewhere
    QString temporaryFolder;
    std::unique_ptr<QTemporaryDir> work;
};

void TestSubsetGeneration::initTestCase()
{
    // A temporary folder of this test's own, where leftovers can be seen.
    temporaryFolder = base.filePath("tmp");
    QVERIFY(base.isValid() && QDir().mkpath(temporaryFolder));
    qputenv("TMPDIR", QFile::encodeName(temporaryFolder));
}

void TestSubsetGeneration::init()
{
    work = std::make_unique<QTemporaryDir>();
    QVERIFY(work->isValid() && QDir().mkpath(outFolder()));
    chosenFolder = outFolder();
    QDir::setCurrent(work->path());
}

void TestSubsetGeneration::cleanup()
{
    QTRY_VERIFY(noWindowLeftOpen());
    const QStringList left =
        QDir(temporaryFolder).entryList({"vfc_*"}) + QDir(outFolder()).entryList({"vfc_*"});
    QVERIFY2(left.isEmpty(), qPrintable(left.join(' ')));
    work.reset();
}

void TestSubsetGeneration::endToEnd_data()
{
    QTest::addColumn<QString>("font");
    QTest::addColumn<QString>("text"); // a null text means the blocks page
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<bool>("existing");
    QTest::addColumn<QString>("temporary"); // "shm": on another file system; "chosen": chosen as output

    const QString ttf = TestFonts::dejaVuSans(), otf = TestFonts::nimbusSansOtf(),
                  ttc = TestFonts::wqyMicroHei();
    QTest::newRow("ttf, text") << ttf << "Hello, wörld! ΑΒΓ ЖЯ 中" << QList<int>{} << false << "";
    // The text edit's plain text would turn it into U+0020.
    QTest::newRow("ttf, no-break space kept")
        << ttf << QString::fromUtf8("A\u00A0B") << QList<int>{} << false << "";
    QTest::newRow("ttf, blocks, replacing") << ttf << QString() << QList<int>{1, 2, 9} << true << "";
    QTest::newRow("otf, text") << otf << "Quick fox, 42 € ﬁ" << QList<int>{} << false << "";
    QTest::newRow("otf, blocks") << otf << QString() << QList<int>{1, 3} << false << "";
    QTest::newRow("ttc, text, replacing") << ttc << "中文字体 subset，测试。" << QList<int>{} << true << "";
    QTest::newRow("ttc, blocks") << ttc << QString() << QList<int>{1, 102} << false << "";
    QString many; // far beyond what one command-line argument may hold
    for (char16_t unit = 0x4E00; unit < 0x4E00 + 20000; ++unit)
        many.append(QChar(unit));
    QTest::newRow("20,000 ideographs") << ttc << many << QList<int>{} << false << "";
    // Spaces around the path are trimmed; spaces and Chinese inside are kept.
    QTest::newRow("spaces and Chinese in paths") << " my fonts 字体/源 字体.ttf "
                                                 << "Ab" << QList<int>{} << false << "";
    // hb-subset's output can then not simply be renamed into place.
    QTest::newRow("temporary folder on another file system") << ttf << "Ab" << QList<int>{} << true << "shm";
    // hb-subset's output and the copy staged beside the target are one file.
    QTest::newRow("output into the temporary folder") << ttf << "Ab" << QList<int>{} << true << "chosen";
}

void TestSubsetGeneration::endToEnd()
{
    QFETCH(QString, font);
    QFETCH(QString, text);
    QFETCH(QList<int>, rows);
    QFETCH(bool, existing);
    QFETCH(QString, temporary);

    if (!font.trimmed().startsWith('/')) {
        QVERIFY(QDir().mkpath(QFileInfo(font.trimmed()).path()));
        QVERIFY(QFile::copy(TestFonts::dejaVuSans(), font.trimmed()));
    }
    QTemporaryDir shm("/dev/shm/vfc-test-XXXXXX");
    if (temporary == "shm") {
        if (!shm.isValid() || QStorageInfo(shm.path()).device() == QStorageInfo(work->path()).device())
            QSKIP("no second file system here");
        qputenv("TMPDIR", QFile::encodeName(shm.path()));
    } else if (temporary == "chosen") {
        chosenFolder = temporaryFolder;
    }
    const auto restore = qScopeGuard([this] { qputenv("TMPDIR", QFile::encodeName(temporaryFolder)); });
    const QString target = chosenFolder + "/输出Font.ttf";
    const auto removeTarget = qScopeGuard([&] { QFile::remove(target); });
    if (existing)
        QVERIFY(writeFile(target, previous));
    QStringList answers{"folder", "ok"};
    if (existing)
        answers.insert(1, "yes");
    QString shown;
    QCOMPARE(generate(1, font, " 输出 Font! ", text, rows, answers, &shown),
             existing ? QStringList({"Select output directory", "Overwrite?", "Done"})
                      : QStringList({"Select output directory", "Done"}));
    QVERIFY(QDir(shm.path()).isEmpty());

    QSet<uint> requested = unitsFrom(text);
    for (int row : rows) {
        for (uint codepoint = unicodeBlockTable[row - 1].first; codepoint <= unicodeBlockTable[row - 1].last;
             ++codepoint)
            requested.insert(codepoint);
    }
    const QSet<uint> sourceMap = TestFonts::readCharacterMap(font.trimmed());
    QVERIFY(!sourceMap.isEmpty());
    QCOMPARE(TestFonts::readCharacterMap(target), requested & sourceMap);
    // The note counts what the font's own map lacks, controls aside.
    QSet<uint> lacking = requested - sourceMap;
    lacking.removeIf([](uint codepoint) { return codepoint < 0x20; });
    QCOMPARE(shown.section("\n\nNote: ", 0, 0), done);
    QCOMPARE(shown.section("\n\nNote: ", 1).section(' ', 0, 0),
             lacking.isEmpty() ? "" : QString::number(lacking.size()));
}

void TestSubsetGeneration::noteForFortyMissing()
{
    const QString cut = work->filePath("ascii.ttf");
    QVERIFY(TestFonts::cutFont(TestFonts::dejaVuSans(), "U+0020-007E", cut));
    QString text = "Keep";
    for (char16_t unit = 0x0437; unit >= 0x0410; --unit) // 40 Cyrillic letters
        text.append(QChar(unit));
    const QString examples = "\"АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ\"";
    QString shown;
    QCOMPARE(generate(1, cut, "Cut", text, {}, {"folder", "ok"}, &shown).size(), 2);
    QCOMPARE(shown, done +
                        "\n\nNote: 40 requested characters are not present in the source font and will not "
                        "appear in the subset.\nExamples: " +
                        examples);
    QCOMPARE(generate(0, cut, "Cut", text, {}, {"folder", "yes", "ok"}, &shown).size(), 3);
    QCOMPARE(shown,
             "子集字库已生成，可继续生成其他字库或关闭本工具。\n\n注意：有 40 个请求的字符在源字库中不存在，"
             "将不会出现在生成的字库中。\n示例: " +
                 examples);
}

void TestSubsetGeneration::refusalsAndFailures_data()
{
    QTest::addColumn<int>("useEnglish");
    QTest::addColumn<QString>("font"); // "@name": made in the work folder
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QString>("message"); // %1: the target; "*": hb-subset's own words

    const QString font = TestFonts::dejaVuSans();
    const QString noFont = "Please choose a valid source TTF font file first.";
    const QString noText = "Please input at least one valid character on the Custom text tab.";
    const QStringList folderYesOk{"folder", "yes", "ok"}, ok{"ok"}, folderOk{"folder", "ok"};
    const QStringList dirQuestionError{"Select output directory", "Overwrite?", "Error"};
    // clang-format off
    QTest::newRow("no font path") << 1 << "  " << "Font" << "A" << ok << QStringList{"Error"} << noFont;
    QTest::newRow("named pipe") << 1 << "@pipe" << "Font" << "A" << ok << QStringList{"Error"} << noFont;
    QTest::newRow("punctuation-only name, Chinese") << 0 << font << "!!!" << "A" << ok << QStringList{"错误"}
        << "输出文件名不能为空。";
    QTest::newRow("folder dialog cancelled") << 1 << font << "Font" << "A" << QStringList{"cancel"}
        << QStringList{"Select output directory"} << "";
    QTest::newRow("overwrite refused, Chinese") << 0 << font << "Font" << "A" << QStringList{"folder", "no"}
        << QStringList{"选择输出目录", "覆盖确认"} << "文件 %1 已存在，是否覆盖？";
    QTest::newRow("empty text, after the questions") << 1 << font << "Font" << "" << folderYesOk
        << dirQuestionError << noText;
    QTest::newRow("no block ticked") << 1 << font << "Font" << QString() << folderYesOk << dirQuestionError
        << "Please check at least one block on the Unicode blocks tab.";
    QTest::newRow("target is the source, no question") << 1 << "@Font.ttf" << "Font" << "A" << folderOk
        << QStringList{"Select output directory", "Error"}
        << "The output file would replace the source font: %1. Choose another name or directory.";
    QTest::newRow("target is the source, Chinese") << 0 << "@Font.ttf" << "Font" << "A" << folderOk
        << QStringList{"选择输出目录", "错误"} << "输出文件将覆盖源字库: %1，请更换文件名或目录。";
    QTest::newRow("hb-subset refuses a folder") << 1 << "@folder" << "Font" << "A" << folderYesOk
        << dirQuestionError << "*";
    QTest::newRow("source is not a font") << 1 << "@text.ttf" << "Font" << "A" << folderYesOk << dirQuestionError
        << "hb-subset produced no usable font. Please check that the source is a valid font file.";
    QTest::newRow("target is a folder") << 1 << font << "Folder" << "A" << folderYesOk << dirQuestionError
        << "Failed to save to path: %1";
    // clang-format on
}

void TestSubsetGeneration::refusalsAndFailures()
{
    QFETCH(int, useEnglish);
    QFETCH(QString, font);
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, titles);
    QFETCH(QString, message);

    // Whatever goes wrong, an existing target stays as it was.
    const QString target = outFolder() + '/' + name + ".ttf";
    QVERIFY(name == "Folder" ? QDir().mkpath(target + "/inside") : writeFile(target, previous));
    if (font == "@pipe")
        QCOMPARE(mkfifo(QFile::encodeName(font = work->filePath("pipe.ttf")).constData(), 0600), 0);
    else if (font == "@folder")
        QVERIFY(QDir().mkpath(font = work->filePath("folder.ttf")));
    else if (font == "@text.ttf")
        QVERIFY(writeFile(font = work->filePath("text.ttf"), "not a font\n"));
    else if (font == "@Font.ttf")
        QVERIFY(QFile::remove(font = target) && QFile::copy(TestFonts::dejaVuSans(), target));
    const QByteArray before = contents(target);

    QString shown;
    QCOMPARE(generate(useEnglish, font, name, text, {}, answers, &shown), titles);
    if (message == "*")
        QVERIFY2(shown.contains(font) && shown.endsWith('\n'), qPrintable(shown));
    else
        QCOMPARE(shown, message.contains("%1") ? message.arg(target) : message);
    QCOMPARE(contents(target), before);
    QCOMPARE(QDir(outFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{name + ".ttf"});
}

QTEST_MAIN(TestSubsetGeneration)
#include "tst_subsetgeneration.moc"
