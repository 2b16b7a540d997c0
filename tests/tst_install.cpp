#include "TestFonts.h"

#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Runs a program to its end: the exit code (-1 when it did not end normally)
// and all it printed.
std::pair<int, QString> run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool finished = process.waitForFinished(300000) && process.exitStatus() == QProcess::NormalExit;
    return {finished ? process.exitCode() : -1, QString::fromLocal8Bit(process.readAll())};
}

} // namespace

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
    const auto [status, output] = run(VFC_CMAKE_COMMAND, {"--install", VFC_BUILD_DIR, "--prefix", prefix});
    QVERIFY2(status == 0, qPrintable(output));
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
    const auto [status, output] = run(QStringLiteral("desktop-file-validate"), {entry});
    QVERIFY2(status == 0 && output.isEmpty(), qPrintable(output));

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
    const auto [status, messages] =
        run(prefix + "/bin/vfc-subset", {TestFonts::dejaVuSans(), "--text=Hi", "--output-file=" + output});
    QVERIFY2(status == 0 && messages.isEmpty(), qPrintable(messages));
    QCOMPARE(TestFonts::readCharacterMap(output), (QSet<uint>{'H', 'i'}));

    // Servers and CI images often lack Qt's GUI libraries: the command line needs none.
    const auto [lddStatus, libraries] = run(QStringLiteral("ldd"), {prefix + "/bin/vfc-subset"});
    QVERIFY2(lddStatus == 0 && libraries.contains("libQt6Core"), qPrintable(libraries));
    QVERIFY2(!libraries.contains("libQt6Gui") && !libraries.contains("libQt6Widgets"), qPrintable(libraries));
}

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
