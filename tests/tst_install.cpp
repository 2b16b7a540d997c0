#include "TestFiles.h"
#include "TestFonts.h"

#include <QFileInfo>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class TestInstall : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void programsLiveBesideTheSystemsHbSubset_data();
    void programsLiveBesideTheSystemsHbSubset();
    void menuEntryAndIcon();
    void installedCommandLineWorks();

private:
    QTemporaryDir stage;
    QString prefix;
};

void TestInstall::initTestCase()
{
    QVERIFY(stage.isValid());
    // A prefix with a space, since nothing may depend on where it lies.
    prefix = stage.filePath(QStringLiteral("my prefix"));
    const ProgramRun run = runProgram(VFC_CMAKE_COMMAND, {"--install", VFC_BUILD_DIR, "--prefix", prefix});
    QVERIFY2(run.exitCode == 0, qPrintable(run.printed()));
}

void TestInstall::programsLiveBesideTheSystemsHbSubset_data()
{
    QTest::addColumn<QString>("program");
    QTest::newRow("window") << "vector-font-clip";
    QTest::newRow("command line") << "vfc-subset";
}

void TestInstall::programsLiveBesideTheSystemsHbSubset()
{
    QFETCH(QString, program);
    const QFileInfo link(prefix + "/bin/" + program);
    QVERIFY(link.isSymLink());
    const QFileInfo real(link.canonicalFilePath());
    QVERIFY(real.isFile() && real.isExecutable());
    QCOMPARE(real.absolutePath(), QFileInfo(prefix + "/lib/vector-font-clip").canonicalFilePath());

    // The program finds hb-subset in its real folder: a link to the system's
    // own, never a copy, and nothing of that name in bin/.
    const QFileInfo tool(real.absolutePath() + "/hb-subset");
    QVERIFY(tool.isSymLink());
    QCOMPARE(tool.canonicalFilePath(), QFileInfo(QStringLiteral(VFC_HB_SUBSET)).canonicalFilePath());
    QVERIFY(!QFileInfo::exists(prefix + "/bin/hb-subset"));
}

void TestInstall::menuEntryAndIcon()
{
    const QString entry = prefix + "/share/applications/vector-font-clip.desktop";
    const ProgramRun run = runProgram("desktop-file-validate", {entry});
    QVERIFY2(run.exitCode == 0 && run.printed().isEmpty(), qPrintable(run.printed()));

    QSettings settings(entry, QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("Desktop Entry"));
    QVERIFY(QFileInfo(prefix + "/bin/" + settings.value("Exec").toString()).isExecutable());
    const QImage icon(prefix + "/share/icons/hicolor/32x32/apps/" + settings.value("Icon").toString() +
                      ".png");
    QCOMPARE(icon.size(), QSize(32, 32));
}

void TestInstall::installedCommandLineWorks()
{
    const QString output = stage.filePath(QStringLiteral("out.ttf"));
    const ProgramRun run = runProgram(prefix + "/bin/vfc-subset",
                                      {TestFonts::dejaVuSans(), "--text=Hi", "--output-file=" + output});
    QVERIFY2(run.exitCode == 0 && run.printed().isEmpty(), qPrintable(run.printed()));
    QCOMPARE(TestFonts::readCharacterMap(output), (QSet<uint>{'H', 'i'}));

    // Servers and CI images often lack Qt's GUI libraries: the command line needs none.
    const ProgramRun ldd = runProgram("ldd", {prefix + "/bin/vfc-subset"});
    const QString libraries = ldd.printed();
    QVERIFY2(ldd.exitCode == 0 && libraries.contains("libQt6Core"), qPrintable(libraries));
    QVERIFY2(!libraries.contains("libQt6Gui") && !libraries.contains("libQt6Widgets"), qPrintable(libraries));
}

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
