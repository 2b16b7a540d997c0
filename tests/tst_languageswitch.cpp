#include "window/LanguageSwitch.h"

#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QtTest>

class TestLanguageSwitch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void scan_data();
    void scan();
    void programNameIsNotExamined();
    void realProgramShowsChosenLanguage_data();
    void realProgramShowsChosenLanguage();
};

void TestLanguageSwitch::scan_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("expected");

    QTest::newRow("no arguments: Chinese") << QStringList() << 0;
    QTest::newRow("--lang=en") << QStringList{"--lang=en"} << 1;
    QTest::newRow("-en") << QStringList{"-en"} << 1;
    QTest::newRow("bare en") << QStringList{"en"} << 1;
    QTest::newRow("upper case --LANG=EN") << QStringList{"--LANG=EN"} << 1;
    QTest::newRow("-lang=en") << QStringList{"-lang=en"} << 1;
    QTest::newRow("en then zh: last wins") << QStringList{"en", "zh"} << 0;
    QTest::newRow("zh then en: last wins") << QStringList{"zh", "en"} << 1;
    QTest::newRow("-lang=zh and -zh") << QStringList{"-lang=zh", "-zh"} << 0;
    QTest::newRow("--lang=fr ignored") << QStringList{"--lang=fr"} << 0;
    QTest::newRow("--lang en: second word counts") << QStringList{"--lang", "en"} << 1;
    QTest::newRow("en anywhere, between files") << QStringList{"a.ttf", "en", "b.txt"} << 1;
    QTest::newRow("no prefix or suffix match") << QStringList{"--lang=english", "xen", "en "} << 0;
}

void TestLanguageSwitch::scan()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, expected);
    arguments.prepend(QStringLiteral("vector-font-clip"));
    QCOMPARE(useEnglishFromArguments(arguments), expected);
}

void TestLanguageSwitch::programNameIsNotExamined()
{
    QCOMPARE(useEnglishFromArguments({QStringLiteral("en")}), 0);
    QCOMPARE(useEnglishFromArguments({QStringLiteral("en"), QStringLiteral("x")}), 0);
}

void TestLanguageSwitch::realProgramShowsChosenLanguage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("title");

    QTest::newRow("default Chinese") << QStringList() << QStringLiteral("Corvanta - 矢量字库裁剪工具");
    QTest::newRow("--lang=en") << QStringList{"--lang=en"}
                               << QStringLiteral("Corvanta - Vector Font Subset Tool");
    QTest::newRow("Qt's -style consumes en")
        << QStringList{"-style", "en"} << QStringLiteral("Corvanta - 矢量字库裁剪工具");
}

void TestLanguageSwitch::realProgramShowsChosenLanguage()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, title);

    // A real X server, so that the window can be found by its title as a
    // user sees it.
    QProcess server;
    server.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
    QVERIFY2(server.waitForStarted(10000), "Xvfb is missing; scripts/setup.sh installs it");
    QTRY_VERIFY_WITH_TIMEOUT(server.canReadLine(), 20000);
    const QString display = ":" + QString::fromLatin1(server.readLine()).trimmed();
    auto stopServer = qScopeGuard([&server] {
        server.terminate();
        server.waitForFinished(5000);
    });

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("QT_QPA_PLATFORM");
    environment.insert("DISPLAY", display);

    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(VFC_BIN_DIR "/vector-font-clip"), arguments);
    QVERIFY(program.waitForStarted(10000));
    auto stopProgram = qScopeGuard([&program] {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished(5000);
        }
    });

    auto xdotool = [&environment](const QStringList &arguments, QByteArray *output) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start("xdotool", arguments);
        const bool finished = process.waitForFinished(20000);
        if (!finished)
            process.kill();
        *output = process.readAllStandardOutput().trimmed();
        return finished && process.exitCode() == 0;
    };
    // search --sync waits until the window is there; a wrong title never is.
    QByteArray window;
    const QString pattern = '^' + QRegularExpression::escape(title) + '$';
    QVERIFY2(xdotool({"search", "--sync", "--onlyvisible", "--name", pattern}, &window),
             qPrintable("no window titled " + title));
    QVERIFY(!window.isEmpty());
}

QTEST_GUILESS_MAIN(TestLanguageSwitch)
#include "tst_languageswitch.moc"
