#include "LvglDecode.h"
#include "TestFiles.h"
#include "TestFonts.h"

#include "charset/StandardCharsets.h"
#include "font/FaceFontData.h"
#include "lvgl/LvglTextLine.h"
#include "window/LvglPixelPreview.h"
#include "window/VectorFontClipDialog.h"

#include "ModalDriver.h"

#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTextEdit>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString referenceConverter = QStringLiteral("/opt/lv_font_conv/node_modules/.bin/lv_font_conv");

QString notoSansCjk() // .ttc, CFF outlines; face 2 is Noto Sans CJK SC
{
    return QStringLiteral("/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc");
}

// ASCII and the first 200 characters of the common standard set, or Latin-1 for a
// font without them.
QString sampleText(bool hanzi)
{
    QString text;
    for (char16_t c = 0x20; c < 0x7f; ++c)
        text += QChar(c);
    for (uint c : standardCharsetCharacters(findStandardCharset("tgh1")).mid(0, 200))
        text += hanzi ? QString::fromUcs4(reinterpret_cast<const char32_t *>(&c), 1) : QString();
    for (char16_t c = 0xa1; c <= 0xff && !hanzi; ++c)
        text += QChar(c);
    return text;
}

int pixelCount(const DecodedFont &font)
{
    int count = 0;
    for (const DecodedGlyph &glyph : font.glyphs)
        count += int(glyph.pixels.size());
    return count;
}

// Every code point maps to a glyph of the same metrics and bitmap in both;
// bitmaps may differ by one level on at most `share` of the pixels, for
// FreeType versions apart.
void compareFonts(const DecodedFont &actual, const DecodedFont &expected, double share, bool sameAdvances = true)
{
    QVERIFY(actual.read && expected.read);
    QCOMPARE(actual.bpp, expected.bpp);
    QCOMPARE(actual.lineHeight, expected.lineHeight);
    QCOMPARE(actual.baseLine, expected.baseLine);
    QCOMPARE(QList<uint>(actual.glyphs.keyBegin(), actual.glyphs.keyEnd()).size(), expected.glyphs.size());
    int differing = 0;
    for (auto it = expected.glyphs.begin(); it != expected.glyphs.end(); ++it) {
        QVERIFY2(actual.glyphs.contains(it.key()), qPrintable(QString::number(it.key(), 16)));
        const DecodedGlyph &mine = actual.glyphs[it.key()], &theirs = it.value();
        const QString code = QStringLiteral("U+%1").arg(it.key(), 4, 16, QLatin1Char('0'));
        QVERIFY2(sameAdvances ? mine.advance == theirs.advance : qAbs(mine.advance - theirs.advance) <= 8,
                 qPrintable(code));
        QVERIFY2(mine.x == theirs.x && mine.y == theirs.y, qPrintable(code));
        QVERIFY2(mine.width == theirs.width && mine.height == theirs.height, qPrintable(code));
        for (qsizetype i = 0; i < theirs.pixels.size(); ++i) {
            const int step = qAbs(int(mine.pixels[i]) - int(theirs.pixels[i]));
            QVERIFY2(step <= 1, qPrintable(code));
            differing += step;
        }
    }
    QVERIFY2(differing <= share * pixelCount(expected), qPrintable(QString::number(differing)));
}

} // namespace

class TestLvglFonts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void matchesReference_data();
    void matchesReference();
    void refusesBadRequests_data();
    void refusesBadRequests();
    void windowShowsDevicePixels();
    void variableFaceAtPinnedInstance();

private:
    QTemporaryDir dir;
};

void TestLvglFonts::matchesReference_data()
{
    QTest::addColumn<QString>("font");
    QTest::addColumn<int>("face");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("bpp");
    const struct
    {
        const char *name;
        QString path;
        int face;
    } fonts[] = {{"wqy-microhei.ttc face 0", TestFonts::wqyMicroHei(), 0},
                 {"DejaVu Sans", TestFonts::dejaVuSans(), 0},
                 {"Noto Sans CJK SC (CFF, kerning classes)", notoSansCjk(), 2}};
    for (const auto &font : fonts) {
        for (int size : {12, 16, 24}) {
            for (int bpp : {1, 4})
                QTest::addRow("%s, %d px, %d bpp", font.name, size, bpp) << font.path << font.face << size << bpp;
        }
    }
    QTest::addRow("Nimbus Sans .otf (kerning pairs), 14 px, 2 bpp") << TestFonts::nimbusSansOtf() << 0 << 14 << 2;
}

// The reference converter's glyphs, decoded from its C file, against this
// program's C file, its uncompressed bitmaps and its binary font.
void TestLvglFonts::matchesReference()
{
    QFETCH(QString, font);
    QFETCH(int, face);
    QFETCH(int, size);
    QFETCH(int, bpp);
    QVERIFY2(QFileInfo::exists(referenceConverter), "lv_font_conv is missing: run scripts/setup.sh as root");
    const QByteArray source = readFile(font);
    QString referenceFont = font;
    if (source.startsWith("ttcf")) {
        referenceFont = dir.filePath("face.ttf");
        QVERIFY(writeFile(referenceFont, standaloneFaceData(source, face)));
    }
    const QString text = sampleText(font != TestFonts::dejaVuSans() && font != TestFonts::nimbusSansOtf());
    const ProgramRun reference =
        runProgram(referenceConverter, {"--font", referenceFont, "--symbols", text,
                                        "--size", QString::number(size), "--bpp", QString::number(bpp),
                                        "--format", "lvgl", "-o", dir.filePath("reference.c")});
    QVERIFY2(reference.exitCode == 0, qPrintable(reference.printed()));

    const QStringList common = {font,     "--face-index=" + QString::number(face), "--text=" + text, "--lang=en",
                                "--size=" + QString::number(size), "--bpp=" + QString::number(bpp), "--force"};
    const QList<QPair<QString, QStringList>> outputs = {
        {"mine.c", {"--format=lvgl", "--report"}}, {"plain.c", {"--format=lvgl", "--no-compress"}}, {"mine.bin", {"--format=lvgl-bin"}}};
    for (const auto &[name, options] : outputs) {
        const ProgramRun run = runProgram("vfc-subset", common + options + QStringList{"--output-file=" + dir.filePath(name)});
        QVERIFY2(run.exitCode == 0, qPrintable(run.printed()));
        QVERIFY2(!name.startsWith("mine.c") || QRegularExpression("Flash: [0-9.]+ K?B \\(bitmaps .*\\); TrueType "
                                                                  "subset: [0-9.]+ K?B").match(run.err).hasMatch(),
                 qPrintable(run.err));
    }
    const DecodedFont mine = decodeLvglC(readFile(dir.filePath("mine.c")));
    QVERIFY(mine.glyphs.size() >= 95 && pixelCount(mine) > 1000); // a font, not two empty ones alike
    compareFonts(mine, decodeLvglC(readFile(dir.filePath("reference.c"))), 0.01);
    QCOMPARE(mine.kerning, decodeLvglC(readFile(dir.filePath("reference.c"))).kerning);
    // Decompressed bitmaps are the uncompressed ones to the pixel.
    compareFonts(decodeLvglC(readFile(dir.filePath("plain.c"))), mine, 0);
    compareFonts(decodeLvglBinary(readFile(dir.filePath("mine.bin"))), mine, 0, false);
}

void TestLvglFonts::refusesBadRequests_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    // DejaVu Sans with its outlines' table renamed away: no outlines left.
    QByteArray outlineless = readFile(TestFonts::dejaVuSans());
    outlineless.replace(outlineless.indexOf("glyf"), 4, "glyq");
    QVERIFY(writeFile(dir.filePath("outlineless.ttf"), outlineless));
    QTest::newRow("size under 4") << QStringList{"--size=3"} << 2 << "The pixel size 3 is outside 4–255 px.";
    QTest::newRow("size over 255") << QStringList{"--size=256"} << 2 << "The pixel size 256 is outside 4–255 px.";
    QTest::newRow("no size") << QStringList{} << 2 << "--format=lvgl needs the pixel size: add --size=PX.";
    QTest::newRow("3 bpp") << QStringList{"--size=16", "--bpp=3"} << 2
                           << "3 bits per pixel is not one of 1, 2, 4 or 8.";
    QTest::newRow("symbol starting with a digit")
        << QStringList{"--size=16", "--symbol=9font"} << 2 << "\"9font\" is not a valid C identifier.";
    QTest::newRow("symbol a C keyword") << QStringList{"--size=16", "--symbol=int"} << 2
                                        << "\"int\" is not a valid C identifier.";
    QTest::newRow("LVGL option on a TrueType output")
        << QStringList{"--size=16", "--format=ttf", "--output-file=" + dir.filePath("refused.ttf")} << 2 << "Option --size needs --format=lvgl or --format=lvgl-bin.";
    QTest::newRow("face without outlines")
        << QStringList{"--size=16", dir.filePath("outlineless.ttf")} << 1 << "no glyph outlines";
    QTest::newRow("none of the request in the face")
        << QStringList{"--size=16", "--text=中文"} << 1
        << "None of the requested characters are in this font; nothing was written.";
}

void TestLvglFonts::refusesBadRequests()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    const QString target = arguments.filter("--output-file").value(0, "--output-file=" + dir.filePath("refused.c")).mid(14);
    if (arguments.filter("--text").isEmpty())
        arguments.append("--text=Abc");
    if (arguments.filter("--format").isEmpty())
        arguments.append("--format=lvgl");
    const QString font = arguments.filter(QRegularExpression("^[^-]")).value(0, TestFonts::dejaVuSans());
    const ProgramRun run = runProgram("vfc-subset", QStringList{font, "--lang=en", "--output-file=" + target} +
                                                        arguments.filter(QRegularExpression("^--(?!output)")));
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QVERIFY(!QFileInfo::exists(target));
}

// With an LVGL format chosen, the preview is the glyph's pixels as the
// written font holds them, at the chosen size and depth; the window writes
// the font the command line does, and says what it takes in flash.
void TestLvglFonts::windowShowsDevicePixels()
{
    VectorFontClipDialog dialog(1);
    dialog.findChild<QLineEdit *>("fontPathEdit")->setText(TestFonts::dejaVuSans());
    dialog.findChild<QLineEdit *>("previewEdit")->setText("g");
    dialog.findChild<QComboBox *>("outputFormatCombo")->setCurrentIndex(3);
    dialog.findChild<QSpinBox *>("lvglSizeSpin")->setValue(20);
    auto *bpp = dialog.findChild<QComboBox *>("lvglBppCombo");
    bpp->setCurrentIndex(bpp->findText("2"));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(dialog.findChild<QWidget *>("lvglSettings")->isVisible());
    QVERIFY(!dialog.findChild<QWidget *>("previewLabel")->isVisible());
    const auto *preview = dialog.findChild<LvglPixelPreview *>("lvglPreview");
    const QImage shown = preview->devicePixels();

    const ProgramRun run = runProgram("vfc-subset", {TestFonts::dejaVuSans(), "--text=g", "--format=lvgl", "--size=20",
                                                     "--bpp=2", "--output-file=" + dir.filePath("g.c"), "--force"});
    QVERIFY2(run.exitCode == 0, qPrintable(run.printed()));
    const DecodedFont written = decodeLvglC(readFile(dir.filePath("g.c")));
    const DecodedGlyph glyph = written.glyphs.value('g');
    QCOMPARE(shown.size(), QSize(qMax((glyph.advance + 8) / 16, glyph.x + glyph.width), written.lineHeight));
    const int top = written.lineHeight - written.baseLine - glyph.y - glyph.height;
    int inked = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const int col = x - glyph.x, row = y - top;
            const bool inside = col >= 0 && row >= 0 && col < glyph.width && row < glyph.height;
            const int value = inside ? glyph.pixels[row * glyph.width + col] : 0;
            QCOMPARE(qGray(shown.pixel(x, y)), 255 - lvglOpacity(value, 2));
            inked += value > 0;
        }
    }
    QVERIFY(inked > 20);

    const QString folder = dir.filePath("window");
    QVERIFY(QDir().mkpath(folder));
    dialog.findChild<QLineEdit *>("outputNameEdit")->setText("g");
    dialog.findChild<QTextEdit *>("customTextEdit")->setPlainText("g");
    QString done;
    ModalDriver driver;
    driver.expect(ModalDriver::chooseFile(folder));
    driver.expect(ModalDriver::pressAndKeep(QMessageBox::Ok, &done));
    dialog.findChild<QPushButton *>("generateButton")->click();
    QVERIFY(QTest::qWaitFor([&] { return driver.pending() == 0; }, 60000));
    QVERIFY2(done.contains(folder + "/g.c\nSize: ") && done.contains("\nFlash: "), qPrintable(done));
    QCOMPARE(readFile(folder + "/g.c"), readFile(dir.filePath("g.c")));
}

// The bitmaps come from the instance the subset is pinned to: the bold
// master inks more of the same glyph.
void TestLvglFonts::variableFaceAtPinnedInstance()
{
    const ProgramRun made = runProgram("/usr/bin/python3", {QFINDTESTDATA("make_variable_font.py"), dir.path()});
    QVERIFY2(made.exitCode == 0, qPrintable(made.printed()));
    QList<int> inked;
    for (const QString &pin : {QString("--instance=wght=100,wdth=100"), QString("--instance=wght=900,wdth=100")}) {
        const ProgramRun run = runProgram("vfc-subset", {dir.filePath("variable.ttf"), "--text=A", "--format=lvgl",
                                                         "--size=40", pin, "--output-file=" + dir.filePath("v.c"), "--force"});
        QVERIFY2(run.exitCode == 0, qPrintable(run.printed()));
        const QByteArray pixels = decodeLvglC(readFile(dir.filePath("v.c"))).glyphs.value('A').pixels;
        inked.append(int(std::count_if(pixels.begin(), pixels.end(), [](char value) { return value != 0; })));
    }
    QVERIFY2(inked[0] > 50 && inked[1] > inked[0] * 3 / 2, qPrintable(QString("%1 %2").arg(inked[0]).arg(inked[1])));
}

QTEST_MAIN(TestLvglFonts)
#include "tst_lvglfonts.moc"
