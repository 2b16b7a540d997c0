#include "TestFiles.h"
#include "TestFonts.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs `program` with the arguments and `input` on standard input; as
// "nobody" when asked and running as root.
Run run(QString program, QStringList arguments, bool asNobody = false, const QByteArray &input = {})
{
    if (asNobody && geteuid() == 0) {
        arguments = QStringList{"--reuid=nobody", "--regid=nogroup", "--clear-groups", program} + arguments;
        program = QStringLiteral("setpriv");
    }
    QProcess process;
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    Run result;
    if (process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit)
        result.exitCode = process.exitCode();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

} // namespace

class TestCollectCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void collectOnly_data();
    void collectOnly();
    void unreadableFileIsCounted();
    void subsetFromSeveralFiles();

private:
    QTemporaryDir directory;
    QString program = QStringLiteral(VFC_BIN_DIR "/vfc-subset");
};

void TestCollectCommand::initTestCase()
{
    QVERIFY(directory.isValid());
    QDir tree(directory.path());
    QVERIFY(tree.mkpath("src/build") && tree.mkpath("web"));
    QVERIFY(writeFile(tree.filePath("src/strings.c"), R"(L"\u03A9")"));
    QVERIFY(writeFile(tree.filePath("src/build/gen.c"), "\xD0\x96"));    // Ж
    QVERIFY(writeFile(tree.filePath("web/page.html"), "&#x3b1;&#946;")); // α β
    QVERIFY(writeFile(tree.filePath("web/old.txt"), "\xB0\xA1"
                                                    "a")); // GBK 啊
}

void TestCollectCommand::collectOnly_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::addColumn<QByteArray>("input");

    QTest::newRow("folders, code point order, summary on stderr")
        << QStringList{"src", "--text-file=web"} << 0 << "\"L\u03A9\u03B1\u03B2\u0416\n"
        << "Found 6 distinct characters in 3 files; skipped 1 not UTF-8 (e.g. old.txt)\n"
        << QByteArray();
    QTest::newRow("include and exclude")
        << QStringList{"--include=*.c,*.txt", "--exclude", "build", "."} << 0 << "\"L\u03A9\n"
        << "Found 3 distinct characters in 1 file; skipped 1 not UTF-8 (e.g. web/old.txt)\n"
        << QByteArray();
    QTest::newRow("missing path") << QStringList{"src", "nowhere"} << 1 << ""
                                  << "vfc-subset: Failed to open file: nowhere\n"
                                  << QByteArray();
    QTest::newRow("no path") << QStringList{} << 2 << ""
                             << "vfc-subset: --collect-only needs files or folders to read.\n"
                                "Try 'vfc-subset --help' for more information.\n"
                             << QByteArray();
    // Standard input is text as typed, as --text-file=- reads it for a subset:
    // strictly UTF-8 (unlike a walk), CR LF as LF, an escape only its own characters.
    QTest::newRow("standard input and a folder")
        << QStringList{"-", "web"} << 0 << "24DE\\au\u03B1\u03B2\u4E2D\n"
        << "Found 2 distinct characters in 1 file; skipped 1 not UTF-8 (e.g. old.txt)\n"
        << QByteArray("\xE4\xB8\xAD"
                      "a\r\n\\u4E2D");
    QTest::newRow("--text-file=- alone: no files, no summary") << QStringList{"--text-file=-"} << 0 << " ab\n"
                                                               << "" << QByteArray("b a");
    QTest::newRow("standard input in GBK") << QStringList{"-"} << 1 << ""
                                           << "vfc-subset: The file is not UTF-8 text: -\n"
                                           << QByteArray("\xC4\xE3");
    QTest::newRow("files and standard input in a legacy encoding")
        << QStringList{"--source-encoding=GB18030", "web", "-"} << 0 << "a\u03B1\u03B2\u4F60\u554A\n"
        << "Found 4 distinct characters in 2 files (1 read as GB18030)\n" << QByteArray("\xC4\xE3");
    QTest::newRow("unknown legacy encoding")
        << QStringList{"--source-encoding=utf-16", "web"} << 2 << ""
        << "vfc-subset: Unknown source encoding: utf-16 (gb18030, big5, shift_jis or euc-kr)\n"
           "Try 'vfc-subset --help' for more information.\n"
        << QByteArray();
}

void TestCollectCommand::collectOnly()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QFETCH(QByteArray, input);
    QDir::setCurrent(directory.path());
    const Run result = run(program, QStringList{"--collect-only", "--lang=en"} + arguments, false, input);
    QCOMPARE(result.err, err);
    QCOMPARE(result.out, out);
    QCOMPARE(result.exitCode, exitCode);
}

void TestCollectCommand::unreadableFileIsCounted()
{
    // Root reads every file, so the walk goes as "nobody" then, with a copy
    // of the program and a tree that "nobody" may reach.
    QTemporaryDir open(QDir::tempPath() + QStringLiteral("/vfc-collect-XXXXXX"));
    const QDir tree(open.path());
    const QString copy = tree.filePath("vfc-subset");
    QVERIFY(QFile::copy(program, copy));
    QVERIFY(QDir().mkpath(tree.filePath("tree/locked")));
    QVERIFY(writeFile(tree.filePath("tree/open.txt"), "o"));
    QVERIFY(writeFile(tree.filePath("tree/secret.txt"), "s"));
    QVERIFY(writeFile(tree.filePath("tree/locked/hidden.txt"), "h"));
    const auto everyone =
        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther;
    for (const char *name : {"", "tree"})
        QVERIFY(QFile::setPermissions(tree.filePath(name), everyone));
    QVERIFY(QFile::setPermissions(tree.filePath("tree/open.txt"), QFile::ReadOwner | QFile::ReadOther));
    QVERIFY(QFile::setPermissions(tree.filePath("tree/secret.txt"), QFile::ReadOwner));
    QVERIFY(QFile::setPermissions(tree.filePath("tree/locked"), QFile::ReadOwner | QFile::ExeOwner));

    const Run result = run(copy, {"--collect-only", "--lang=en", tree.filePath("tree")}, true);
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, "o\n");
    QCOMPARE(result.err, "Found 1 distinct character in 1 file; skipped 2 unreadable (e.g. locked)\n");
}

void TestCollectCommand::subsetFromSeveralFiles()
{
    const QDir tree(directory.path());
    const QString output = tree.filePath("cut.ttf");
    const Run result =
        run(program, {TestFonts::dejaVuSans(), "--lang=en", "--output-file=" + output, "--text-file",
                      tree.filePath("src"), "--text-file", tree.filePath("web/page.html")});
    QCOMPARE(result.err, "Found 6 distinct characters in 3 files\n");
    QCOMPARE(result.exitCode, 0);
    const QSet<uint> kept = TestFonts::readCharacterMap(output);
    for (uint character : {0x22u, 0x4Cu, 0x3A9u, 0x3B1u, 0x3B2u, 0x416u})
        QVERIFY2(kept.contains(character), qPrintable(QString::number(character, 16)));
    QVERIFY(!kept.contains('a'));
}

QTEST_GUILESS_MAIN(TestCollectCommand)
#include "tst_collectcommand.moc"
