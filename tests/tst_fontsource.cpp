#include "ModalDriver.h"
#include "TestFonts.h"
#include "window/FontInfo.h"
#include "window/PreviewCoverage.h"
#include "window/VectorFontClipDialog.h"

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

bool replaceFile(const QString &path, const QString &source)
{
    QFile::remove(path);
    return QFile::copy(source, path);
}

// The usable characters as the file's own character map has them, plus the
// U+00A0 that Qt draws with the space glyph when the font lacks it.
int expectedUsableCount(const QSet<uint> &characterMap)
{
    QSet<uint> usable;
    for (uint codePoint : characterMap) {
        if (codePoint >= 0x20 && codePoint <= 0xFFFF && !QChar::isSurrogate(codePoint))
            usable.insert(codePoint);
    }
    if (usable.contains(0x20))
        usable.insert(0xA0);
    return int(usable.size());
}

// The window and its font-source widgets, found by object name.
struct Window
{
    explicit Window(int english) : dialog(english) {}
    template <typename T> T *child(const char *name) { return dialog.findChild<T *>(QLatin1String(name)); }
    bool complete() const { return fontPath && outputName && sample && browse && preview && info && status; }

    VectorFontClipDialog dialog;
    QLineEdit *fontPath = child<QLineEdit>("fontPathEdit");
    QLineEdit *outputName = child<QLineEdit>("outputNameEdit");
    QLineEdit *sample = child<QLineEdit>("previewEdit"); // the preview text
    QPushButton *browse = child<QPushButton>("browseButton");
    QLabel *preview = child<QLabel>("previewLabel");
    QLabel *info = child<QLabel>("fontInfoLabel");
    QLabel *status = child<QLabel>("previewStatusLabel");
};

} // namespace

class TestFontSource : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void usableCount_data();
    void usableCount();
    void unusablePaths_data();
    void unusablePaths();
    void coverage_data();
    void coverage();
    void window();
    void browse_data();
    void browse();
    void cleanup();

private:
    QTemporaryDir dir;
    QString latinFont; // U+0020, U+0041, U+0042 only
    QString gapsFont;  // U+0020, U+0041..U+0043, U+EF00, U+FEFF, U+10300 only
};

void TestFontSource::initTestCase()
{
    QVERIFY(dir.isValid());
    QString error;
    latinFont = dir.filePath(QStringLiteral("latin.ttf"));
    QVERIFY2(TestFonts::cutFont(TestFonts::dejaVuSans(), QStringLiteral("U+20,U+41,U+42"), latinFont, &error),
             qPrintable(error));
    gapsFont = dir.filePath(QStringLiteral("gaps.ttf"));
    QVERIFY2(TestFonts::cutFont(TestFonts::dejaVuSans(), QStringLiteral("U+20,U+41-43,U+EF00,U+FEFF,U+10300"),
                                gapsFont, &error),
             qPrintable(error));
}

void TestFontSource::usableCount_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("DejaVu Sans .ttf") << TestFonts::dejaVuSans();
    QTest::newRow("WenQuanYi Micro Hei .ttc, first face, maps U+0000") << TestFonts::wqyMicroHei();
    QTest::newRow("Nimbus Sans .otf with CFF outlines") << TestFonts::nimbusSansOtf();
    QTest::newRow("cut: private use, U+FEFF, no U+00A0, U+10300 above the BMP") << gapsFont;
}

void TestFontSource::usableCount()
{
    QFETCH(QString, path);
    const FontInfo info = readFontInfo({path});
    QCOMPARE(info.status, FontInfo::Status::Read);
    QCOMPARE(info.usableCharacters, expectedUsableCount(TestFonts::readCharacterMap(path)));
}

void TestFontSource::unusablePaths_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("somethingThere");

    const QString absent = dir.filePath(QStringLiteral("absent.ttf"));
    QTest::newRow("nothing at the path") << absent << false;
    QVERIFY(QFile::link(absent, dir.filePath(QStringLiteral("dangling.ttf"))));
    QTest::newRow("dangling symbolic link") << dir.filePath(QStringLiteral("dangling.ttf")) << false;

    QByteArray noise(64 * 1024, Qt::Uninitialized);
    QRandomGenerator(20240601).fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
    QTest::newRow("empty file") << writeFile(dir.filePath(QStringLiteral("empty.ttf")), {}) << true;
    QTest::newRow("random bytes") << writeFile(dir.filePath(QStringLiteral("random.ttf")), noise) << true;
    QTest::newRow("directory") << dir.path() << true;
    // Reading it would never end.
    QTest::newRow("/dev/zero") << QStringLiteral("/dev/zero") << true;
}

void TestFontSource::unusablePaths()
{
    QFETCH(QString, path);
    QFETCH(bool, somethingThere);
    QCOMPARE(readFontInfo({path}).status,
             somethingThere ? FontInfo::Status::Unreadable : FontInfo::Status::NoFont);

    const QFont baseFont(QStringLiteral("Nimbus Sans"), 9);
    const PreviewCoverage coverage = checkPreviewCoverage({path}, QStringLiteral("AB"), baseFont);
    QCOMPARE(coverage.status,
             somethingThere ? PreviewCoverage::Status::Unreadable : PreviewCoverage::Status::NoFont);
    QCOMPARE(coverage.shownText, QString());
    QCOMPARE(coverage.font, baseFont);
}

void TestFontSource::coverage_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<PreviewCoverage::Status>("status");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("supported");
    QTest::addColumn<int>("total");

    using S = PreviewCoverage::Status;
    const QString oldItalicA = QString::fromUcs4(U"\U00010300", 1); // in the font
    const QString grinning = QString::fromUcs4(U"\U0001F600", 1);   // not in it
    const QString bomAB = QChar(0xFEFF) + QStringLiteral("AB");

    QTest::newRow("white space only") << QStringLiteral(" \t ") << S::NoText << QString() << 0 << 0;
    QTest::newRow("all supported, a leading U+FEFF included") << bomAB << S::AllSupported << bomAB << 3 << 3;
    QTest::newRow("some supported, spaces shown but not supported")
        << QStringLiteral("A Z\u3000C") << S::SomeSupported << QStringLiteral("A \u3000C") << 2 << 5;
    QTest::newRow("nothing supported") << QStringLiteral("Z") << S::NothingShown << QString() << 0 << 1;
    QTest::newRow("only white space shown")
        << QStringLiteral("Z ") << S::OnlySpaceShown << QStringLiteral(" ") << 0 << 2;
    QTest::newRow("above U+FFFF: one character each, shown when the font has it")
        << QStringLiteral("A") + oldItalicA + grinning << S::SomeSupported << QStringLiteral("A") + oldItalicA
        << 2 << 3;
    QTest::newRow("swapped surrogates and a null: units of their own, never shown")
        << QStringLiteral("A") + oldItalicA.at(1) + oldItalicA.at(0) + QChar(0) << S::SomeSupported
        << QStringLiteral("A") << 1 << 4;
}

void TestFontSource::coverage()
{
    QFETCH(QString, text);
    QFETCH(PreviewCoverage::Status, status);
    QFETCH(QString, shown);
    QFETCH(int, supported);
    QFETCH(int, total);

    const PreviewCoverage coverage = checkPreviewCoverage({gapsFont}, text, QFont());
    QCOMPARE(coverage.status, status);
    QCOMPARE(coverage.shownText, shown);
    QCOMPARE(coverage.supported, supported);
    QCOMPARE(coverage.total, total);
}

void TestFontSource::window()
{
    // The count and the preview follow the path and the preview text; the
    // numbers are what matters, the sentences around them are the window's.
    const auto number = [](int n) { return QStringLiteral(" %1").arg(n); };
    Window w(1);
    QVERIFY(w.complete());
    const QString noFont = w.status->text();
    QVERIFY(!noFont.isEmpty());
    const QString path = writeFile(dir.filePath(QStringLiteral("later.ttf")), "not a font at all");
    w.fontPath->setText(path);
    w.sample->setText(QStringLiteral("A"));
    const QString unreadable = w.info->text();
    QVERIFY(!unreadable.isEmpty());
    QCOMPARE(w.status->text(), unreadable);
    QCOMPARE(w.preview->text(), QString());

    // A path that failed is read again on the next refresh...
    QVERIFY(replaceFile(path, latinFont));
    w.sample->setText(QStringLiteral("AB"));
    const int latinCount = expectedUsableCount(TestFonts::readCharacterMap(latinFont));
    QVERIFY2(w.info->text().contains(number(latinCount)), qPrintable(w.info->text()));
    QVERIFY2(w.status->text().contains(QStringLiteral("(2)")), qPrintable(w.status->text()));
    w.sample->setText(QStringLiteral("A Z"));
    QCOMPARE(w.preview->text(), QStringLiteral("A "));
    QCOMPARE(w.preview->font().family(), QStringLiteral("DejaVu Sans"));
    QVERIFY2(w.status->text().contains(QStringLiteral("1/3")), qPrintable(w.status->text()));
    w.sample->setText(QStringLiteral("Z"));
    QCOMPARE(w.preview->text(), QString());
    QCOMPARE(w.preview->font(), w.dialog.font());

    // ...one that was read is not, until the path itself changes.
    QVERIFY(replaceFile(path, gapsFont));
    w.sample->setText(QStringLiteral("C"));
    QVERIFY(w.info->text().contains(number(latinCount)));
    w.fontPath->clear();
    QCOMPARE(w.info->text(), noFont);
    QCOMPARE(w.status->text(), noFont);
    w.fontPath->setText(path);
    QVERIFY(w.info->text().contains(number(expectedUsableCount(TestFonts::readCharacterMap(gapsFont)))));
}

void TestFontSource::browse_data()
{
    QTest::addColumn<int>("english");
    QTest::addColumn<QString>("outputName");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("expectedName");

    // clang-format off
    QTest::newRow("blank name takes the complete base name") << 1 << " \t " << "My.Font.ttf" << "My.Font";
    QTest::newRow("a given name is kept") << 1 << " keep " << "My.Font.ttf" << " keep ";
    QTest::newRow("Chinese, spaces and non-ASCII in the path") << 0 << QString() << "字体 目录/思源 黑体.ttf" << "思源 黑体";
    // clang-format on
}

void TestFontSource::browse()
{
    QFETCH(int, english);
    QFETCH(QString, outputName);
    QFETCH(QString, fileName);
    QFETCH(QString, expectedName);

    const QString path = dir.filePath(QStringLiteral("browse/") + fileName);
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QVERIFY(replaceFile(path, latinFont));
    Window w(english);
    QVERIFY(w.complete());
    w.outputName->setText(outputName);
    w.sample->setText(QStringLiteral("AC"));

    ModalDriver driver;
    driver.expect(ModalDriver::chooseFile(path));
    driver.expect(ModalDriver::chooseFile(path));
    driver.expect(ModalDriver::cancel());

    w.browse->click();
    QCOMPARE(w.fontPath->text(), path);
    QCOMPARE(w.outputName->text(), expectedName);
    QCOMPARE(w.info->text(), fontInfoText(readFontInfo({latinFont})));
    QCOMPARE(w.preview->text(), QStringLiteral("A"));

    // Picking the same file again changes no text, yet refreshes.
    QVERIFY(replaceFile(path, gapsFont));
    w.browse->click();
    QCOMPARE(w.preview->text(), QStringLiteral("AC"));

    // Cancelling changes nothing.
    w.browse->click();
    QCOMPARE(w.fontPath->text(), path);
    QCOMPARE(w.preview->text(), QStringLiteral("AC"));
    QCOMPARE(driver.pending(), 0);
    QVERIFY2(driver.unexpected().isEmpty(), qPrintable(driver.unexpected().join(", ")));
}

void TestFontSource::cleanup()
{
    QTRY_VERIFY(noWindowLeftOpen());
    QCOMPARE(TestFonts::registeredApplicationFonts(), 0);
}

QTEST_MAIN(TestFontSource)
#include "tst_fontsource.moc"
