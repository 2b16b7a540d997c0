#include "TestFonts.h"
#include "subset/HbSubsetRunner.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A shell script standing in for hb-subset; it knows its output as $out and
// logs its arguments (and a copy of any list file) into its own folder.
bool writeTool(const QString &path, const QString &body)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    const QString log = QFileInfo(path).path();
    const QString script =
        QStringLiteral(
            "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> '%1/args'; case \"$a\" in\n"
            "--output-file=*) out=\"${a#--output-file=}\";;\n"
            "--unicodes-file=*) cp \"${a#*=}\" '%1/list'; echo \"${a#*=}\" > '%1/listpath';; esac; done\n")
            .arg(log) +
        body + QLatin1Char('\n');
    return file.open(QIODevice::WriteOnly) && file.write(script.toUtf8()) > 0 &&
           file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QStringList lines(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts)
                                          : QStringList();
}

} // namespace

class TestHbSubsetRunner : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
    }
    void outcomes_data();
    void outcomes();
    void stopsAtTheTimeLimit();
    void arguments_data();
    void arguments();

private:
    bool run(const QString &font, const QString &unicodes, int useEnglish, QString *error,
             int finishMs = 60000)
    {
        return runHbSubset(font, unicodes, dir->filePath("out.ttf"), dir->filePath("tools"), 10000, finishMs,
                           useEnglish, error);
    }
    std::unique_ptr<QTemporaryDir> dir;
};

void TestHbSubsetRunner::outcomes_data()
{
    QTest::addColumn<QStringList>("tools"); // relative path, then its body; repeated
    QTest::addColumn<int>("useEnglish");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("message");

    const QString font = TestFonts::dejaVuSans();
    const QString beside = QStringLiteral("hb-subset");
    const QString below = QStringLiteral("harfbuzz/hb-subset");
    const QString untouched = QStringLiteral("<untouched>");
    // clang-format off
    QTest::newRow("exit 1: standard error kept whole") << QStringList{beside, "echo 'Unable to open font' >&2; exit 1"}
        << 1 << false << "Unable to open font\n";
    QTest::newRow("exit 3, silent") << QStringList{beside, "exit 3"} << 1 << false << "hb-subset exited with code 3";
    QTest::newRow("exit 3, silent, Chinese") << QStringList{beside, "exit 3"} << 0 << false << "hb-subset 退出码: 3";
    QTest::newRow("exit 0 without output") << QStringList{beside, "exit 0"} << 1 << false << untouched;
    QTest::newRow("exit 0, a 12-byte font without tables")
        << QStringList{beside, "printf '\\0\\1\\0\\0\\0\\0\\0\\20\\0\\0\\0\\0' > \"$out\""} << 1 << false
        << "hb-subset produced no usable font. Please check that the source is a valid font file.";
    QTest::newRow("exit 0, empty output, Chinese") << QStringList{beside, ": > \"$out\""} << 0 << false
        << "hb-subset 未生成有效字库，请确认源文件是有效的字体文件。";
    QTest::newRow("font written, then killed")
        << QStringList{beside, "cp '" + font + "' \"$out\"; echo killed >&2; kill -9 $$"} << 1 << false << "killed\n";
    QTest::newRow("exit 0 with a font") << QStringList{beside, "cp '" + font + "' \"$out\""} << 1 << true << untouched;
    QTest::newRow("only in harfbuzz/") << QStringList{below, "echo below >&2; exit 1"} << 1 << false << "below\n";
    QTest::newRow("both: the one beside wins")
        << QStringList{below, "echo below >&2; exit 1", beside, "echo beside >&2; exit 1"} << 1 << false << "beside\n";
    // The system's hb-subset on PATH is never used.
    QTest::newRow("neither") << QStringList{"hb-subset.exe", "exit 0"} << 1 << false
        << "hb-subset not found. Please place it beside this executable.";
    QTest::newRow("neither, Chinese") << QStringList{} << 0 << false << "未找到 hb-subset，请将其放在程序同目录下。";
    QTest::newRow("cannot start") << QStringList{beside, "@not executable"} << 1 << false
        << "Failed to start hb-subset process.";
    // clang-format on
}

void TestHbSubsetRunner::outcomes()
{
    QFETCH(QStringList, tools);
    QFETCH(int, useEnglish);
    QFETCH(bool, ok);
    QFETCH(QString, message);

    for (int i = 0; i + 1 < tools.size(); i += 2) {
        const QString path = dir->filePath("tools/" + tools.at(i));
        QVERIFY(writeTool(path, tools.at(i + 1)));
        if (tools.at(i + 1).startsWith('@'))
            QFile::setPermissions(path, QFile::ReadOwner);
    }
    QString error = QStringLiteral("<untouched>");
    QCOMPARE(run(TestFonts::dejaVuSans(), "U+0041", useEnglish, &error), ok);
    QCOMPARE(error, message);
    QCOMPARE(run(TestFonts::dejaVuSans(), "U+0041", useEnglish, nullptr), ok);
}

void TestHbSubsetRunner::stopsAtTheTimeLimit()
{
    QVERIFY(writeTool(dir->filePath("tools/hb-subset"),
                      "echo $$ > '" + dir->filePath("pid") + "'; exec sleep 30"));
    QElapsedTimer timer;
    timer.start();
    QString error;
    QVERIFY(!run(TestFonts::dejaVuSans(), "U+0041", 0, &error, 1500));
    QVERIFY(timer.elapsed() < 10000);
    QCOMPARE(error, QStringLiteral("hb-subset 未在 1 秒内完成，已被终止。"));
    QVERIFY2(!QFileInfo::exists("/proc/" + lines(dir->filePath("pid")).value(0)), "the tool still runs");
    QVERIFY(!run(TestFonts::dejaVuSans(), "U+0041", 1, &error, 1000));
    QCOMPARE(error, QStringLiteral("hb-subset did not finish within 1 seconds and was stopped."));
}

void TestHbSubsetRunner::arguments_data()
{
    QTest::addColumn<QString>("font"); // copied into the test folder, which is the working directory
    QTest::addColumn<int>("count");    // ideographs from U+4E00
    QTest::addColumn<bool>("ok");

    // 4,000 code points make 28,000 characters: still one argument.
    QTest::newRow("short list") << "CJK.ttc" << 4000 << true;
    QTest::newRow("long list, in a file") << "CJK.ttc" << 20000 << true;
    QTest::newRow("long list, failing run") << "CJK.ttc" << 20000 << false;
    // hb-subset would take these for options ("-" reads standard input).
    QTest::newRow("font named -") << "-" << 10 << true;
    QTest::newRow("font named -x.ttc") << "-x.ttc" << 10 << true;
}

void TestHbSubsetRunner::arguments()
{
    QFETCH(QString, font);
    QFETCH(int, count);
    QFETCH(bool, ok);

    QVERIFY(QFile::copy(TestFonts::wqyMicroHei(), dir->filePath(font)));
    QVERIFY(writeTool(dir->filePath("tools/hb-subset"), ok ? "exec '" VFC_HB_SUBSET "' \"$@\"" : "exit 1"));
    QStringList list;
    QSet<uint> requested;
    for (uint codepoint = 0x4E00; codepoint < 0x4E00 + uint(count); ++codepoint) {
        list.append(QStringLiteral("U+%1").arg(codepoint, 4, 16).toUpper());
        requested.insert(codepoint);
    }
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir->path());
    const bool result = run(font, list.join(','), 1, nullptr);
    QDir::setCurrent(previous);
    QCOMPARE(result, ok);

    const QStringList args = lines(dir->filePath("tools/args"));
    const QString listPath = lines(dir->filePath("tools/listpath")).value(0);
    QCOMPARE(args,
             QStringList({dir->filePath(font), "--output-file=" + dir->filePath("out.ttf"),
                          listPath.isEmpty() ? "--unicodes=" + list.join(',') : "--unicodes-file=" + listPath,
                          "--layout-features=*"}));
    QCOMPARE(listPath.isEmpty(), count < 20000);
    if (!listPath.isEmpty()) {
        QCOMPARE(lines(dir->filePath("tools/list")), QStringList{list.join(',')});
        QVERIFY2(!QFileInfo::exists(listPath), "the list file was left behind");
    }
    if (ok)
        QCOMPARE(TestFonts::readCharacterMap(dir->filePath("out.ttf")),
                 requested & TestFonts::readCharacterMap(TestFonts::wqyMicroHei()));
}

QTEST_MAIN(TestHbSubsetRunner)
#include "tst_hbsubsetrunner.moc"
