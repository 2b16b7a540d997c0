#include "TestFiles.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString chromium = QStringLiteral("/usr/bin/chromium");
const QString notoRegular = QStringLiteral("/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc");
const QString notoBold = QStringLiteral("/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc");

// The slice files of a style sheet whose unicode-range holds a character of `text`.
QSet<QString> slicesFor(const QString &styleSheet, const QString &text)
{
    static const QRegularExpression rule(
        QStringLiteral("url\\(\"([^\"]+)\"\\)[^}]*unicode-range: ([^;]+);"));
    QSet<QString> files;
    for (const QRegularExpressionMatch &match : rule.globalMatch(styleSheet)) {
        for (const QString &range : match.captured(2).split(QStringLiteral(", "))) {
            const QStringList ends = range.mid(2).split(QLatin1Char('-'));
            const uint first = ends.first().toUInt(nullptr, 16), last = ends.last().toUInt(nullptr, 16);
            for (char32_t c : text.toUcs4()) {
                if (c >= first && c <= last)
                    files.insert(match.captured(1));
            }
        }
    }
    return files;
}

} // namespace

// The test page opened by a real browser from a web server, on a machine
// whose only fonts are DejaVu: whatever CJK it draws comes from the slices.
class WebPageBrowserTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pageDrawsOnlyWithTheSlicesItNeeds_data();
    void pageDrawsOnlyWithTheSlicesItNeeds();
};

void WebPageBrowserTest::pageDrawsOnlyWithTheSlicesItNeeds_data()
{
    QTest::addColumn<QStringList>("fonts");
    QTest::addColumn<int>("faces");
    QTest::newRow("one face") << QStringList{notoRegular} << 1;
    QTest::newRow("family of two weights") << QStringList{notoRegular, notoBold} << 2;
}

void WebPageBrowserTest::pageDrawsOnlyWithTheSlicesItNeeds()
{
    QFETCH(QStringList, fonts);
    QFETCH(int, faces);
    if (!QFileInfo::exists(chromium))
        QSKIP("chromium is not installed (scripts/setup.sh installs it)");
    QTemporaryDir work;
    const QString folder = work.filePath("site");
    const QString sample = QStringLiteral("你好，世界。网页字体");
    const ProgramRun made = runProgram("vfc-subset", fonts + QStringList{"--face-index=2", "--text=" + sample,
                                                                         "--charset=tgh1", "--format=woff2-slices",
                                                                         "--output-file=" + folder});
    QVERIFY2(made.exitCode == 0, qPrintable(made.err));
    const QSet<QString> needed = slicesFor(QString::fromUtf8(readFile(folder + "/site.css")), sample);
    QVERIFY(needed.size() >= faces && needed.size() < QDir(folder).entryList({"*.woff2"}).size() / 4);

    QVERIFY(writeFile(work.filePath("fonts.conf"),
                      "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>"
                      "<dir>/usr/share/fonts/truetype/dejavu</dir><cachedir>" +
                          QFile::encodeName(work.filePath("fccache")) + "</cachedir></fontconfig>\n"));
    // Port 0: the server takes a free one and says which once it listens.
    QProcess server;
    server.start("/usr/bin/python3", {"-u", "-m", "http.server", "0", "--bind", "127.0.0.1", "--directory", folder});
    static const QRegularExpression serving("port (\\d+)");
    QString said;
    QVERIFY(QTest::qWaitFor([&] {
        server.waitForReadyRead(100);
        said += QString::fromUtf8(server.readAllStandardOutput());
        return serving.match(said).hasMatch();
    }, 10000));
    const int port = serving.match(said).captured(1).toInt();

    QProcess browser;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("FONTCONFIG_FILE", work.filePath("fonts.conf"));
    browser.setProcessEnvironment(environment);
    browser.start(chromium, {"--headless", "--no-sandbox", "--disable-gpu", "--user-data-dir=" + work.filePath("profile"),
                             "--virtual-time-budget=10000", "--dump-dom",
                             QString("http://127.0.0.1:%1/index.html").arg(port)});
    QVERIFY(browser.waitForFinished(120000));
    const QString dom = QString::fromUtf8(browser.readAllStandardOutput());
    server.terminate();
    QVERIFY(server.waitForFinished(5000));

    static const QRegularExpression check(
        "id=\"fontCheck\" data-loaded=\"(\\d+)\" data-check=\"(\\w+)\" data-drawn=\"(\\w+)\"");
    const QRegularExpressionMatch result = check.match(dom);
    QVERIFY2(result.hasMatch(), qPrintable(dom.right(2000)));
    QCOMPARE(result.captured(1).toInt(), needed.size());
    QCOMPARE(result.captured(2), "true");
    QCOMPARE(result.captured(3), "true");

    QSet<QString> fetched;
    static const QRegularExpression get("\"GET /([^ ]+\\.woff2) HTTP");
    for (const QRegularExpressionMatch &match : get.globalMatch(QString::fromUtf8(server.readAllStandardError())))
        fetched.insert(match.captured(1));
    QCOMPARE(fetched, needed);
}

QTEST_GUILESS_MAIN(WebPageBrowserTest)
#include "tst_webpagebrowser.moc"
