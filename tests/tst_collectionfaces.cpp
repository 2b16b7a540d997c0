#include "ModalDriver.h"
#include "TestFiles.h"
#include "TestFonts.h"
#include "common/UiText.h"
#include "font/FontFaceList.h"
#include "font/platform/FontFileLookup.h"
#include "window/VectorFontClipDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtEndian>
#include <QtTest>

namespace {

// A .ttc holding `fonts` in turn, each moved behind the collection's header.
QByteArray collectionOf(const QList<QByteArray> &fonts)
{
    QByteArray collection("ttcf");
    QDataStream header(&collection, QIODevice::Append); // big-endian, as fonts are
    header << quint32(0x00010000) << quint32(fonts.size());
    QByteArray body;
    for (QByteArray font : fonts) {
        const quint32 at = quint32(12 + 4 * fonts.size() + body.size());
        header << at;
        for (int t = 0; t < qFromBigEndian<quint16>(font.constData() + 4); ++t) {
            char *offset = font.data() + 12 + 16 * t + 8;
            qToBigEndian(qFromBigEndian<quint32>(offset) + at, offset);
        }
        body += font + QByteArray((4 - font.size() % 4) % 4, '\0');
    }
    return collection + body;
}

// How wide the dark pixels drawn inside the label reach.
int inkWidth(QLabel *label)
{
    const QImage image = label->grab(label->contentsRect().adjusted(2, 2, -2, -2)).toImage();
    QList<int> inked; // the columns with a dark pixel
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height() && inked.value(inked.size() - 1, -1) != x; ++y) {
            if (qGray(image.pixel(x, y)) < 96)
                inked.append(x);
        }
    }
    return inked.isEmpty() ? 0 : inked.last() - inked.first();
}

} // namespace

class TestCollectionFaces : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void faceNames_data();
    void faceNames();
    void windowFollowsTheFace();
    void installedFamilyBringsItsFace_data();
    void installedFamilyBringsItsFace();
    void commandLine_data();
    void commandLine();
    void cleanup();

private:
    QTemporaryDir dir;
    QString pair; // face 0 maps only A and B, face 1 only X, Y and Z
};

void TestCollectionFaces::initTestCase()
{
    QVERIFY(dir.isValid());
    const QString ab = dir.filePath("ab.ttf"), xyz = dir.filePath("xyz.ttf");
    QVERIFY(TestFonts::cutFont(TestFonts::dejaVuSans(), "U+41,U+42", ab));
    QVERIFY(TestFonts::cutFont(TestFonts::dejaVuSans(), "U+58-5A", xyz));
    pair = dir.filePath("pair.ttc");
    QVERIFY(writeFile(pair, collectionOf({readFile(ab), readFile(xyz)})));
    QVERIFY(writeFile(dir.filePath("crowd.ttc"), collectionOf(QList<QByteArray>(1001, readFile(ab)))));

    const QByteArray wqy = readFile(TestFonts::wqyMicroHei());
    QVERIFY(writeFile(dir.filePath("short.ttc"), wqy.left(14)));
    QByteArray farFace = wqy;
    qToBigEndian(quint32(wqy.size() + 4096), farFace.data() + 16); // face 1's directory
    QVERIFY(writeFile(dir.filePath("far.ttc"), farFace));
}

void TestCollectionFaces::faceNames_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("english");
    QTest::addColumn<QStringList>("labels");

    const QString wqy = TestFonts::wqyMicroHei();
    QTest::newRow("Simplified Chinese names, English style")
        << wqy << 0 << QStringList{"0: 文泉驿微米黑 Regular", "1: 文泉驿等宽微米黑 Regular"};
    QStringList noto;
    for (const char *mono : {"", "Mono "}) {
        for (const char *region : {"JP", "KR", "SC", "TC", "HK"})
            noto << QStringLiteral("%1: Noto Sans %2CJK %3 Regular").arg(noto.size()).arg(mono, region);
    }
    QTest::newRow("ten faces, no Chinese names: English in Chinese")
        << "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc" << 0 << noto;
    QTest::newRow("a single face") << TestFonts::dejaVuSans() << 1 << QStringList{"0: DejaVu Sans Book"};
}

void TestCollectionFaces::faceNames()
{
    QFETCH(QString, path);
    QFETCH(int, english);
    setUiEnglish(english == 1);
    const FontFaceList list = listFontFaces(path);
    QStringList labels;
    for (int index = 0; index < list.faces.size(); ++index)
        labels << fontFaceLabel(index, list.faces.at(index));
    QTEST(labels, "labels");
}

void TestCollectionFaces::windowFollowsTheFace()
{
    VectorFontClipDialog dialog(1);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto *selector = dialog.findChild<QWidget *>("faceSelector");
    auto *faces = dialog.findChild<QComboBox *>("faceList");
    auto *info = dialog.findChild<QLabel *>("fontInfoLabel");
    auto *preview = dialog.findChild<QLabel *>("previewLabel");
    dialog.findChild<QLineEdit *>("previewEdit")->setText("ABXZ");
    auto *path = dialog.findChild<QLineEdit *>("fontPathEdit");
    path->setText(pair);
    QVERIFY(!selector->isHidden());
    QCOMPARE(faces->count(), 2);
    QCOMPARE(info->text(), "Current font contains 2 usable Unicode characters.");
    QCOMPARE(preview->text(), "AB");

    faces->setCurrentIndex(1);
    QCOMPARE(info->text(), "Current font contains 3 usable Unicode characters.");
    QCOMPARE(preview->text(), "XZ");

    // The run cuts face 1, and its note speaks of face 1.
    dialog.findChild<QLineEdit *>("outputNameEdit")->setText("cut");
    dialog.findChild<QTextEdit *>("customTextEdit")->setPlainText("AXY");
    ModalDriver driver;
    QString done;
    driver.expect(ModalDriver::chooseFile(dir.path()));
    driver.expect(ModalDriver::pressAndKeep(QMessageBox::Ok, &done));
    dialog.findChild<QPushButton *>("generateButton")->click();
    QTRY_COMPARE_WITH_TIMEOUT(driver.pending(), 0, 60000);
    QVERIFY2(done.contains("Note: 1 requested characters"), qPrintable(done));
    QCOMPARE(TestFonts::readCharacterMap(dir.filePath("cut.ttf")), (QSet<uint>{'X', 'Y'}));

    // Another file starts at its face 0, drawn as that face: the second face
    // of WenQuanYi Micro Hei sets Latin in fixed widths.
    dialog.findChild<QLineEdit *>("previewEdit")->setText("iiiiiiii");
    path->setText(TestFonts::wqyMicroHei());
    QCOMPARE(faces->currentIndex(), 0);
    const int proportional = inkWidth(preview);
    faces->setCurrentIndex(1);
    QVERIFY2(proportional > 0 && inkWidth(preview) > 2 * proportional,
             qPrintable(QString::number(proportional)));

    // A single face needs no selector; a damaged collection says so.
    path->setText(TestFonts::dejaVuSans());
    QVERIFY(selector->isHidden());
    path->setText(dir.filePath("short.ttc"));
    QVERIFY(!selector->isHidden());
    QVERIFY(dialog.findChild<QLabel *>("faceProblem")->text().contains("damaged font collection"));
}

void TestCollectionFaces::installedFamilyBringsItsFace_data()
{
    QTest::addColumn<QString>("family");
    QTest::newRow("second face of a collection") << "WenQuanYi Micro Hei Mono";
    QTest::newRow("third of ten") << "Noto Sans CJK SC";
}

void TestCollectionFaces::installedFamilyBringsItsFace()
{
    QFETCH(QString, family);
    // Whichever file provides the family here, the face found must be it.
    const FontFace face = resolveFontFace(family);
    const FontFaceList list = listFontFaces(face.path);
    QVERIFY2(face.index < list.faces.size(), qPrintable(face.path));
    QCOMPARE(list.faces.at(face.index).family, family);

    VectorFontClipDialog dialog(1);
    ModalDriver driver;
    driver.expect([&](QWidget *picker) {
        auto *families = picker->findChild<QListWidget *>("fontFamilyList");
        const auto items = families->findItems(family, Qt::MatchExactly);
        if (!items.isEmpty())
            families->setCurrentItem(items.first());
        picker->findChild<QDialogButtonBox *>("fontPickerButtons")->button(QDialogButtonBox::Ok)->click();
    });
    dialog.findChild<QPushButton *>("systemFontButton")->click();
    QCOMPARE(driver.pending(), 0);
    QCOMPARE(dialog.findChild<QLineEdit *>("fontPathEdit")->text(), face.path);
    QCOMPARE(dialog.findChild<QComboBox *>("faceList")->currentIndex(), face.index);
}

void TestCollectionFaces::commandLine_data()
{
    QTest::addColumn<QStringList>("source");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said");   // on standard error, in English
    QTest::addColumn<QString>("family"); // of the subset, as fontconfig reads it
    QTest::addColumn<bool>("monospaced");

    const QString wqy = TestFonts::wqyMicroHei();
    const QString mono = "WenQuanYi Micro Hei Mono", far = dir.filePath("far.ttc");
    QTest::newRow("face 0 by default")
        << QStringList{wqy} << 0 << QString() << "WenQuanYi Micro Hei" << false;
    QTest::newRow("face 1") << QStringList{wqy, "--face-index=1"} << 0 << QString() << mono << true;
    QTest::newRow("installed family, its own face")
        << QStringList{"--family", mono} << 0 << QString() << mono << true;
    QTest::newRow("past the last face")
        << QStringList{wqy, "--face-index=2"} << 2
        << "There is no face 2 in " + wqy + ": the file holds 2 faces" << QString() << false;
    QTest::newRow("offset table cut short")
        << QStringList{dir.filePath("short.ttc")} << 1
        << dir.filePath("short.ttc") + " is a damaged font collection" << QString() << false;
    QTest::newRow("a face outside the file") << QStringList{far, "--face-index=1"} << 1
                                             << far + " is a damaged font collection" << QString() << false;
    QTest::newRow("claims 1001 faces")
        << QStringList{dir.filePath("crowd.ttc")} << 1
        << dir.filePath("crowd.ttc") + " claims to hold 1001 faces" << QString() << false;
    QTest::newRow("unknown family") << QStringList{"--family=No Such Family"} << 1
                                    << "No installed font family \"No Such Family\"" << QString() << false;
}

void TestCollectionFaces::commandLine()
{
    QFETCH(QStringList, source);
    QFETCH(int, exitCode);
    QFETCH(QString, said);
    QFETCH(QString, family);
    QFETCH(bool, monospaced);

    const QString output = dir.filePath("cli.ttf");
    QFile::remove(output);
    const ProgramRun run =
        runProgram("vfc-subset", source + QStringList{"--lang=en", "--text=iW直", "--output-file=" + output});
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.err.contains(said), qPrintable(run.err));
    QCOMPARE(QFile::exists(output), exitCode == 0);
    if (exitCode != 0)
        return;
    QCOMPARE(runProgram("ots-sanitize", {output}).exitCode, 0);
    QCOMPARE(QString::fromUtf8(runProgram("fc-query", {"-f", "%{family[0]}", output}).out), family);
    // How a consumer lays the subset out: hb-shape's advances of i and W.
    const QString read = QString::fromUtf8(runProgram("hb-shape", {output, "iW"}).out);
    const QRegularExpression advances(QStringLiteral("^\\[gid\\d+=0\\+(\\d+)\\|gid\\d+=1\\+(\\d+)\\]$"));
    const QRegularExpressionMatch match = advances.match(read.trimmed());
    QVERIFY2(match.hasMatch(), qPrintable(read));
    QCOMPARE(match.captured(1) == match.captured(2), monospaced);

    const ProgramRun listed =
        runProgram("vfc-subset", {"--lang=en", "--list-faces", TestFonts::wqyMicroHei()});
    QCOMPARE(listed.exitCode, 0);
    QCOMPARE(QString::fromUtf8(listed.out),
             "0\tWenQuanYi Micro Hei\tRegular\n1\tWenQuanYi Micro Hei Mono\tRegular\n");
}

void TestCollectionFaces::cleanup()
{
    QTRY_VERIFY(noWindowLeftOpen());
    QCOMPARE(TestFonts::registeredApplicationFonts(), 0);
}

QTEST_MAIN(TestCollectionFaces)
#include "tst_collectionfaces.moc"
