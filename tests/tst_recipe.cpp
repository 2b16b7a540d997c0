#include "ModalDriver.h"
#include "TestFiles.h"
#include "TestFonts.h"
#include "common/UiText.h"
#include "window/CustomTextPage.h"
#include "window/SubsetOptionsButton.h"
#include "window/VectorFontClipDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

#include <csignal>

// Recipes as a build pipeline runs them: vfc-subset itself, in a project
// folder whose path has spaces and Chinese in it.
class TestRecipe : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void refusesBadRecipes_data();
    void refusesBadRecipes();
    void recipeTakesNothingElse();
    void checkFollowsTheSources();
    void failingOutputReplacesNothing();
    void signalStopsEveryOutput();
    void savedCommandLineBuildsTheSame();
    void bitmapFontsBuildAndCheck();
    void windowAndCommandLineWriteTheSameFiles_data();
    void windowAndCommandLineWriteTheSameFiles();
    void windowRemembersItsSetup();

private:
    QString path(const QString &name) const { return project->filePath(name); }
    ProgramRun vfcSubset(const QStringList &arguments) const
    {
        return runProgram("vfc-subset", arguments + QStringList{"--lang=en"});
    }
    // A recipe beside the sources, naming the font by an absolute path.
    bool writeRecipe(const QByteArray &characters, const QByteArray &outputs) const
    {
        return writeFile(path("fonts.json"), R"({"version": 1, "source": {"file": ")" +
                                                 TestFonts::dejaVuSans().toUtf8() + R"("}, "characters": )" +
                                                 characters + R"(, "outputs": )" + outputs + "}");
    }

    QTemporaryDir base;
    std::unique_ptr<QTemporaryDir> project;
};

void TestRecipe::init()
{
    project = std::make_unique<QTemporaryDir>(base.filePath("项目 XXXXXX"));
    QVERIFY(project->isValid() && QDir().mkpath(path("src/ui")));
    QVERIFY(writeFile(path("src/ui/strings.json"), "{\n  \"title\": \"Hello\",\n  \"ok\": \"\\u00C5\"\n}\n"));
}

void TestRecipe::refusesBadRecipes_data()
{
    QTest::addColumn<QByteArray>("recipe");
    QTest::addColumn<QString>("message"); // after "fonts.json: "

    const QByteArray font = TestFonts::dejaVuSans().toUtf8();
    const auto recipe = [&](const QByteArray &source, const QByteArray &rest) {
        return R"({"version": 1, "source": )" + source + ", " + rest + "}";
    };
    const QByteArray good = R"({"file": ")" + font + R"("})";
    const QByteArray out = R"("outputs": [{"path": "out/a.ttf"}])";
    QTest::newRow("not JSON, with line and column")
        << QByteArray("{\n  \"version\": 1,\n  \"source\" {}\n}") << "line 3, column 13: not JSON: ";
    QTest::newRow("unknown key named")
        << recipe(good, R"("characters": {"txt": "A"}, )" + out) << "characters.txt: unknown key";
    QTest::newRow("wrong type, with the type expected")
        << recipe(good, R"("characters": {"text": ["A"]}, )" + out) << "characters.text: must be a string";
    QTest::newRow("unknown character set") << recipe(good, R"("characters": {"charsets": ["gb231"]}, )" + out)
                                           << R"(characters.charsets: unknown character set "gb231")";
    QTest::newRow("unknown format") << recipe(good, R"("outputs": [{"path": "a.ttf", "format": "png"}])")
                                    << R"(outputs[0].format: unknown output format "png")";
    QTest::newRow("unknown source encoding")
        << recipe(good, R"("characters": {"files": ["src"], "sourceEncoding": "gbk"}, )" + out)
        << R"(characters.sourceEncoding: unknown encoding "gbk")";
    const auto outputs = [&](const QByteArray &list) {
        return recipe(good, R"("characters": {"text": "A"}, "outputs": [{"path": "a.ttf"}, )" + list + "]");
    };
    QTest::newRow("a bitmap font without its size")
        << outputs(R"({"path": "a.c", "format": "lvgl"})") << "outputs[1].size: missing";
    QTest::newRow("a bitmap font's size out of range")
        << outputs(R"({"path": "a.bin", "format": "lvgl-bin", "size": 300})")
        << "outputs[1].size: The pixel size 300 is outside 4–255 px.";
    QTest::newRow("a bitmap font's symbol no C name")
        << outputs(R"({"path": "a.c", "format": "lvgl", "size": 16, "symbol": "2x"})")
        << R"(outputs[1].symbol: "2x" is not a valid C identifier.)";
    QTest::newRow("bitmap settings on a font file")
        << outputs(R"({"path": "b.ttf", "size": 16})") << "outputs[1].size: unknown key";
    QTest::newRow("web slices, which have no strategy here")
        << outputs(R"({"path": "web", "format": "woff2-slices"})")
        << R"(outputs[1].format: output format "woff2-slices" cannot be built from a recipe yet)";
    QTest::newRow("newer version") << QByteArray(R"({"version": 2, "source": {"file": "x.ttf"}})")
                                   << "version: made by a newer version";
    QTest::newRow("missing source font")
        << recipe(R"({"file": "fonts/gone.ttf"})", R"("characters": {"text": "A"}, )" + out)
        << "source.file: font file not found: ";
    QTest::newRow("output that is a folder")
        << recipe(good, R"("characters": {"text": "A"}, "outputs": [{"path": "src"}])")
        << "outputs[0].path: ";
}

void TestRecipe::refusesBadRecipes()
{
    QFETCH(QByteArray, recipe);
    QFETCH(QString, message);
    QVERIFY(writeFile(path("fonts.json"), recipe));
    const QStringList before = folderTree(project->path());
    for (const QStringList &extra : {QStringList(), QStringList{"--check"}}) {
        const ProgramRun run = vfcSubset(QStringList{"--recipe=" + path("fonts.json")} + extra);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(path("fonts.json") + ": " + message), qPrintable(run.err));
    }
    QCOMPARE(folderTree(project->path()), before);
}

void TestRecipe::recipeTakesNothingElse()
{
    const ProgramRun withFont = vfcSubset({"--recipe=fonts.json", TestFonts::dejaVuSans()});
    QCOMPARE(withFont.exitCode, 2);
    QVERIFY2(withFont.err.contains("--recipe takes no font, characters or output"), qPrintable(withFont.err));
    const ProgramRun checkAlone =
        vfcSubset({TestFonts::dejaVuSans(), "--text=A", "--output-file=o.ttf", "--check"});
    QCOMPARE(checkAlone.exitCode, 2);
    QVERIFY2(checkAlone.err.contains("--check needs --recipe=FILE."), qPrintable(checkAlone.err));
}

void TestRecipe::checkFollowsTheSources()
{
    QVERIFY(writeRecipe(R"({"files": ["src"], "text": "0", "blocks": [2]})",
                        R"([{"path": "out/ui.ttf"}, {"path": "out/web/ui.woff2", "css": true},
                            {"path": "out/fw/ui.h", "format": "c"}])"));
    const QStringList recipe{"--recipe=fonts.json"};
    QVERIFY(QDir::setCurrent(project->path()));
    ProgramRun check = vfcSubset(recipe + QStringList{"--check"});
    QCOMPARE(check.exitCode, 1);
    QCOMPARE(check.out, "Out of date: out/ui.ttf: missing\n"
                        "Out of date: out/web/ui.woff2: missing\n"
                        "Out of date: out/web/ui.css: missing\n"
                        "Out of date: out/fw/ui.h: missing\n");
    QCOMPARE(vfcSubset(recipe).exitCode, 0);
    check = vfcSubset(recipe + QStringList{"--check"});
    QCOMPARE(check.exitCode, 0);
    QCOMPARE(check.out, QByteArray());

    // Ω (U+03A9) is new and € (U+20AC) escaped; ¡ (U+00A1) came with block 2.
    QVERIFY(
        writeFile(path("src/ui/strings.json"),
                  "{\n  \"title\": \"Hello\",\n  \"ok\": \"\\u00C5\",\n  \"tile\": \"Ω \\u20AC ¡\"\n}\n"));
    check = vfcSubset(recipe + QStringList{"--check"});
    QCOMPARE(check.exitCode, 1);
    QCOMPARE(check.out, "U+03A9 Ω  src/ui/strings.json:4\nU+20AC €  src/ui/strings.json:4\n");
    QCOMPARE(vfcSubset(recipe).exitCode, 0);
    QCOMPARE(vfcSubset(recipe + QStringList{"--check"}).exitCode, 0);
    // The C array is read for the font it holds, not trusted by its name.
    QVERIFY(writeFile(path("out/fw/ui.h"), "static const unsigned char font[] = { 0x00 };"));
    check = vfcSubset(recipe + QStringList{"--check"});
    QCOMPARE(check.exitCode, 1);
    QVERIFY2(check.out.startsWith("Out of date: ") && check.out.contains("out/fw/ui.h"),
             check.out.constData());
    // What the source lacks (、 U+3001 of the CJK punctuation) is no fault of the outputs.
    QVERIFY(writeRecipe(
        R"({"files": ["src"], "text": "0", "blocks": [2], "unicodes": "416", "charsets": ["cjk-punct"]})",
        R"([{"path": "out/ui.ttf"}])"));
    const QByteArray listed = vfcSubset(recipe + QStringList{"--check"}).out;
    QVERIFY2(listed.startsWith("U+0416 Ж  unicodes\nU+2014 —  charset cjk-punct\n") &&
                 !listed.contains("U+3001"),
             listed.constData());
}

void TestRecipe::failingOutputReplacesNothing()
{
    // The second output's folder is a file: it fails when the files are
    // placed, after the first one was made.
    QVERIFY(writeFile(path("out.ttf"), "old") && writeFile(path("blocker"), "a file"));
    QVERIFY(writeRecipe(R"({"text": "AB"})", R"([{"path": "out.ttf"}, {"path": "blocker/b.ttf"}])"));
    const ProgramRun run = vfcSubset({"--recipe=" + path("fonts.json")});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(path("blocker/b.ttf")), qPrintable(run.err));
    QCOMPARE(readFile(path("out.ttf")), "old");
    QCOMPARE(folderTree(project->path()),
             QStringList({"blocker", "fonts.json", "out.ttf", "src/", "src/ui/", "src/ui/strings.json"}));
}

void TestRecipe::signalStopsEveryOutput()
{
    // The program beside the real hb-subset and a WOFF2 compressor that
    // takes its time: SIGINT comes while the C array is long made.
    QTemporaryDir tools, temporary;
    const QString program = tools.filePath("vfc-subset");
    QVERIFY(QFile::copy(VFC_BIN_DIR "/vfc-subset", program) &&
            QFile::link(VFC_HB_SUBSET, tools.filePath("hb-subset")));
    QVERIFY(writeFile(tools.filePath("vfc-woff2"), "#!/bin/sh\necho $$ > \"$0.pid\"; exec sleep 60\n") &&
            QFile::setPermissions(tools.filePath("vfc-woff2"), QFile::ReadOwner | QFile::ExeOwner));
    QVERIFY(writeFile(path("a.h"), "old") && writeFile(path("a.woff2"), "old"));
    QVERIFY(writeRecipe(R"({"text": "AB"})", R"([{"path": "a.h"}, {"path": "a.woff2"}])"));
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TMPDIR", temporary.path());
    process.setProcessEnvironment(environment);
    process.start(program, {"--recipe=" + path("fonts.json")});
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(tools.filePath("vfc-woff2.pid")).size() > 0, 20000);
    QCOMPARE(::kill(pid_t(process.processId()), SIGINT), 0);
    QVERIFY(process.waitForFinished(20000));
    QCOMPARE(process.exitCode(), 130);
    QCOMPARE(readFile(path("a.h")) + readFile(path("a.woff2")), "oldold");
    QCOMPARE(QDir(temporary.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    const pid_t standIn = pid_t(readFile(tools.filePath("vfc-woff2.pid")).trimmed().toInt());
    QTRY_VERIFY(::kill(standIn, 0) != 0);
}

void TestRecipe::savedCommandLineBuildsTheSame()
{
    QVERIFY(QDir::setCurrent(project->path()));
    const QStringList choices{TestFonts::wqyMicroHei(), "--face-index=1",  "--text=中文",
                              "--text-file=src",        "--unicodes=20AC", "--charset=cjk-punct",
                              "--layout=none",          "--no-hinting"};
    QCOMPARE(vfcSubset(choices + QStringList{"--output-file=direct/a.h"}).exitCode, 0);
    QCOMPARE(
        vfcSubset(choices + QStringList{"--output-file=recipe/a.h", "--save-recipe=ci/fonts.json"}).exitCode,
        0);
    QVERIFY(!QFile::exists(path("recipe/a.h")));
    const QByteArray saved = readFile(path("ci/fonts.json"));
    QVERIFY2(saved.contains("\"path\": \"../recipe/a.h\"") && saved.contains("\"../src\""),
             saved.constData());
    QCOMPARE(vfcSubset({"--recipe=ci/fonts.json"}).exitCode, 0);
    QCOMPARE(readFile(path("recipe/a.h")), readFile(path("direct/a.h")));
}

void TestRecipe::bitmapFontsBuildAndCheck()
{
    QVERIFY(QDir::setCurrent(project->path()));
    const QStringList choices{TestFonts::dejaVuSans(), "--text=0", "--text-file=src"};
    const QStringList c{"--format=lvgl", "--size=16", "--bpp=2", "--no-kerning", "--symbol=ui_16"};
    const QStringList bin{"--format=lvgl-bin", "--size=12", "--hinting=none", "--no-compress"};
    QCOMPARE(vfcSubset(choices + c + QStringList{"--output-file=direct/ui.c"}).exitCode, 0);
    QCOMPARE(vfcSubset(choices + bin + QStringList{"--output-file=direct/ui.bin"}).exitCode, 0);
    // The command line's recipe carries its settings; a second output with others is added to it.
    QCOMPARE(
        vfcSubset(choices + c + QStringList{"--output-file=fw/ui.c", "--save-recipe=fonts.json"}).exitCode,
        0);
    QJsonObject root = QJsonDocument::fromJson(readFile(path("fonts.json"))).object();
    QJsonArray outputs = root.value("outputs").toArray();
    outputs.append(QJsonObject{{"path", "fw/ui.bin"},
                               {"format", "lvgl-bin"},
                               {"size", 12},
                               {"hinting", "none"},
                               {"compress", false}});
    root.insert("outputs", outputs);
    QVERIFY(writeFile(path("fonts.json"), QJsonDocument(root).toJson()));
    QCOMPARE(vfcSubset({"--recipe=fonts.json"}).exitCode, 0);
    QCOMPARE(readFile(path("fw/ui.c")), readFile(path("direct/ui.c")));
    QCOMPARE(readFile(path("fw/ui.bin")), readFile(path("direct/ui.bin")));
    QCOMPARE(vfcSubset({"--recipe=fonts.json", "--check"}).exitCode, 0);
    QVERIFY(writeFile(path("src/ui/strings.json"),
                      "{\n  \"title\": \"Hello\",\n  \"ok\": \"\\u00C5\",\n  \"tile\": \"Ω\"\n}\n"));
    const ProgramRun check = vfcSubset({"--recipe=fonts.json", "--check"});
    QCOMPARE(check.exitCode, 1);
    QCOMPARE(check.out, "U+03A9 Ω  src/ui/strings.json:4\n");
}

void TestRecipe::windowAndCommandLineWriteTheSameFiles_data()
{
    QTest::addColumn<int>("format"); // the index in the format list
    QTest::addColumn<QStringList>("files");
    QTest::newRow("ttf") << 0 << QStringList{"ui.ttf"};
    QTest::newRow("woff2 with css") << 1 << QStringList{"ui.woff2", "ui.css"};
    QTest::newRow("c") << 2 << QStringList{"ui.h"};
    QTest::newRow("lvgl") << 3 << QStringList{"ui.c"};
    QTest::newRow("lvgl-bin") << 4 << QStringList{"ui.bin"};
}

void TestRecipe::windowAndCommandLineWriteTheSameFiles()
{
    QFETCH(int, format);
    QFETCH(QStringList, files);
    const QString windowOut = path("window"), openedOut = path("opened");
    QVERIFY(QDir().mkpath(windowOut) && QDir().mkpath(openedOut));
    ModalDriver driver;
    {
        VectorFontClipDialog dialog(1);
        dialog.findChild<QLineEdit *>("fontPathEdit")->setText(TestFonts::dejaVuSans());
        dialog.findChild<QLineEdit *>("outputNameEdit")->setText("ui");
        dialog.findChild<QComboBox *>("outputFormatCombo")->setCurrentIndex(format);
        dialog.findChild<QCheckBox *>("writeCssCheck")->setChecked(true);
        dialog.findChild<QSpinBox *>("lvglSizeSpin")->setValue(20); // not the default
        dialog.findChild<QComboBox *>("lvglBppCombo")->setCurrentText("2");
        driver.expect(ModalDriver::press(QMessageBox::Ok)); // the import's summary
        dialog.findChild<CustomTextPage *>()->importTextFiles({path("src")});
        QTRY_COMPARE(driver.pending(), 0);
        // Typed after the import: kept as text beside the folder.
        dialog.findChild<QTextEdit *>("customTextEdit")->append("xyz");
        driver.expect(ModalDriver::chooseFile(windowOut));
        driver.expect(ModalDriver::press(QMessageBox::Ok));
        dialog.findChild<QPushButton *>("generateButton")->click();
        QTRY_VERIFY_WITH_TIMEOUT(driver.pending() == 0 && dialog.findChild<QDialogButtonBox *>()->isEnabled(),
                                 60000);
        QString error;
        QVERIFY2(dialog.saveRecipe(path("fonts.json"), &error), qPrintable(error));
    }
    const QByteArray saved = readFile(path("fonts.json"));
    QVERIFY2(saved.contains("\"files\": [\n            \"src\"\n        ]") &&
                 saved.contains("\"text\": \"\\nxyz\""),
             saved.constData());
    for (const QString &file : files)
        QVERIFY(QFile::rename(windowOut + "/" + file, openedOut + "/" + file));
    QCOMPARE(vfcSubset({"--recipe=" + path("fonts.json")}).exitCode, 0);
    for (const QString &file : files)
        QCOMPARE(readFile(windowOut + "/" + file), readFile(openedOut + "/" + file));

    // Opened in a fresh window, the recipe generates the same files again.
    VectorFontClipDialog reopened(1);
    QString error;
    driver.expect(ModalDriver::press(QMessageBox::Ok)); // the import's summary
    QVERIFY2(reopened.openRecipe(path("fonts.json"), &error), qPrintable(error));
    QTRY_COMPARE(driver.pending(), 0);
    if (format >= 3) {
        QCOMPARE(reopened.findChild<QSpinBox *>("lvglSizeSpin")->value(), 20);
        QCOMPARE(reopened.findChild<QComboBox *>("lvglBppCombo")->currentText(), "2");
    }
    driver.expect(ModalDriver::chooseFile(openedOut));
    driver.expect(ModalDriver::press(QMessageBox::Yes)); // replace
    driver.expect(ModalDriver::press(QMessageBox::Ok));
    reopened.findChild<QPushButton *>("generateButton")->click();
    QTRY_VERIFY_WITH_TIMEOUT(driver.pending() == 0 && reopened.findChild<QDialogButtonBox *>()->isEnabled(),
                             60000);
    for (const QString &file : files)
        QCOMPARE(readFile(windowOut + "/" + file), readFile(openedOut + "/" + file));
    QVERIFY(driver.unexpected().isEmpty());
}

void TestRecipe::windowRemembersItsSetup()
{
    QSettings settings(path("settings.ini"), QSettings::IniFormat);
    SubsetOptions options;
    options.layout = LayoutChoice::NoLayout;
    options.dropHinting = true;
    {
        VectorFontClipDialog dialog(1);
        QString error;
        // The recipe brings a font, a face, a format, options and an output folder.
        QVERIFY(QDir().mkpath(path("fw")));
        QVERIFY(writeFile(path("fonts.json"), R"({"version": 1, "source": {"file": ")" +
                                                  TestFonts::wqyMicroHei().toUtf8() + R"(", "face": 1},
            "characters": {"blocks": [1]}, "options": {"layout": "none", "hinting": false},
            "outputs": [{"path": "fw/ui.h"}, {"path": "web/ui.woff2"}]})"));
        QVERIFY2(dialog.openRecipe(path("fonts.json"), &error), qPrintable(error));
        // Saved again, the output the window does not show is still there.
        QVERIFY2(dialog.saveRecipe(path("again.json"), &error), qPrintable(error));
        Recipe again;
        QVERIFY2(readRecipe(path("again.json"), &again, &error), qPrintable(error));
        QCOMPARE(again.outputs.size(), 2);
        QCOMPARE(again.outputs.at(1).path, path("web/ui.woff2"));
        dialog.resize(900, 700);
        dialog.findChild<QSpinBox *>("lvglSizeSpin")->setValue(24);
        dialog.saveSettings(settings);
    }
    const auto reopen = [&](auto check) {
        VectorFontClipDialog dialog(1);
        dialog.restoreSettings(settings);
        check(dialog);
    };
    reopen([&](VectorFontClipDialog &dialog) {
        QCOMPARE(dialog.findChild<QLineEdit *>("fontPathEdit")->text(), TestFonts::wqyMicroHei());
        QCOMPARE(dialog.findChild<QComboBox *>("outputFormatCombo")->currentIndex(), 2);
        QCOMPARE(dialog.findChild<SubsetOptionsButton *>()->optionsFor({TestFonts::wqyMicroHei(), 1}),
                 options);
        QCOMPARE(dialog.findChild<QTabWidget *>("characterTabs")->currentIndex(), 1);
        QCOMPARE(dialog.size(), QSize(900, 700));
        QCOMPARE(dialog.findChild<QSpinBox *>("lvglSizeSpin")->value(), 24);
        // The folder dialog starts where the recipe's output went.
        QString start;
        ModalDriver driver;
        driver.expect([&](QWidget *widget) {
            auto *folderDialog = qobject_cast<QFileDialog *>(widget);
            start = folderDialog ? folderDialog->directory().absolutePath() : widget->windowTitle();
            ModalDriver::cancel()(widget);
        });
        dialog.findChild<QTabWidget *>("characterTabs")->setCurrentIndex(0);
        dialog.findChild<QTextEdit *>("customTextEdit")->setPlainText("A");
        dialog.findChild<QPushButton *>("generateButton")->click();
        QTRY_COMPARE(driver.pending(), 0);
        QCOMPARE(start, path("fw"));
    });
    // A font that is gone is forgotten without a word; the rest stays.
    settings.setValue("source/path", path("gone.ttf"));
    reopen([&](VectorFontClipDialog &dialog) {
        QCOMPARE(dialog.findChild<QLineEdit *>("fontPathEdit")->text(), QString());
        QCOMPARE(dialog.findChild<QComboBox *>("outputFormatCombo")->currentIndex(), 2);
    });
}

QTEST_MAIN(TestRecipe)
#include "tst_recipe.moc"
