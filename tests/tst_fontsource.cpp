#include "TestFonts.h"
#include "font/FontFileState.h"
#include "font/FontInfo.h"
#include "font/PreviewCoverage.h"
#include "font/UsableCharacterCount.h"

#include <QFontDatabase>
#include <QRandomGenerator>
#include <QRawFont>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <sys/stat.h>

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Turns a font that hb-subset cut to a few BMP code points (one format 4
// subtable behind its Unicode records) into a Microsoft symbol font: one
// (3,0) record, every code moved up by 0xF000 as symbol fonts have them.
bool makeSymbolFont(const QString &source, const QString &output)
{
    QByteArray font = readFile(source);
    auto u16 = [&](qsizetype at) { return qFromBigEndian<quint16>(font.constData() + at); };
    auto u32 = [&](qsizetype at) { return qFromBigEndian<quint32>(font.constData() + at); };
    auto put16 = [&](qsizetype at, quint16 value) { qToBigEndian(value, font.data() + at); };
    if (font.size() < 12)
        return false;
    qsizetype cmap = -1;
    for (int t = 0; t < u16(4); ++t) {
        if (u32(12 + 16 * t) == 0x636D6170) // 'cmap'
            cmap = u32(12 + 16 * t + 8);
    }
    if (cmap < 0 || u16(cmap + u32(cmap + 8)) != 4)
        return false;
    const qsizetype table = cmap + u32(cmap + 8);
    put16(cmap + 2, 1);
    put16(cmap + 4, 3);
    put16(cmap + 6, 0);
    const int segments = u16(table + 6) / 2;
    const qsizetype ends = table + 14;
    const qsizetype starts = ends + 2 * segments + 2;
    const qsizetype deltas = starts + 2 * segments;
    for (int s = 0; s < segments; ++s) {
        if (u16(ends + 2 * s) == 0xFFFF)
            continue;
        put16(ends + 2 * s, u16(ends + 2 * s) + 0xF000);
        put16(starts + 2 * s, u16(starts + 2 * s) + 0xF000);
        put16(deltas + 2 * s, quint16(u16(deltas + 2 * s) - 0xF000));
    }
    return writeFile(output, font);
}

// The usable characters as the file's own character map has them, plus what
// Qt's lookup adds on purpose: a symbol font's U+F020..U+F0FF also answer
// for U+0020..U+00FF, and a missing U+00A0 is drawn with the space glyph.
int expectedUsableCount(const QSet<uint> &characterMap)
{
    QSet<uint> usable;
    for (uint codePoint : characterMap) {
        if (codePoint >= 0x20 && codePoint <= 0xFFFF && !QChar::isSurrogate(codePoint))
            usable.insert(codePoint);
    }
    const bool symbolFont =
        !characterMap.isEmpty() && std::all_of(characterMap.begin(), characterMap.end(),
                                               [](uint c) { return c >= 0xF000 && c <= 0xF0FF; });
    if (symbolFont) {
        for (uint codePoint : characterMap) {
            if (codePoint >= 0xF020)
                usable.insert(codePoint - 0xF000);
        }
    }
    if (usable.contains(0x20))
        usable.insert(0xA0);
    return int(usable.size());
}

// One lookup per code point, each one-character string built so that no
// code point is lost on the way (QString::fromUcs4 would drop U+FEFF).
int countOneByOne(const QRawFont &font)
{
    int count = 0;
    for (uint codePoint = 0x20; codePoint <= 0xFFFF; ++codePoint) {
        if (QChar::isSurrogate(codePoint))
            continue;
        const QList<quint32> glyphs = font.glyphIndexesForString(QString(QChar(char16_t(codePoint))));
        if (!glyphs.isEmpty() && glyphs.first() != 0)
            ++count;
    }
    return count;
}

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
    void pathsWithSpacesAndNonAscii();
    void coverage_data();
    void coverage();
    void texts_data();
    void texts();
    void cleanup();

private:
    QTemporaryDir dir;
    QString gapsFont;   // cut from DejaVu Sans, see initTestCase
    QString symbolFont; // U+F020, U+F041, U+F042 only, in a symbol cmap
};

void TestFontSource::initTestCase()
{
    QVERIFY(dir.isValid());
    QString error;
    gapsFont = dir.filePath(QStringLiteral("gaps.ttf"));
    QVERIFY2(TestFonts::cutFont(TestFonts::dejaVuSans(), QStringLiteral("U+20,U+41-43,U+EF00,U+FEFF,U+10300"),
                                gapsFont, &error),
             qPrintable(error));
    const QString latin = dir.filePath(QStringLiteral("latin.ttf"));
    QVERIFY2(TestFonts::cutFont(TestFonts::dejaVuSans(), QStringLiteral("U+20,U+41,U+42"), latin, &error),
             qPrintable(error));
    symbolFont = dir.filePath(QStringLiteral("symbol.ttf"));
    QVERIFY(makeSymbolFont(latin, symbolFont));
    QCOMPARE(TestFonts::readCharacterMap(symbolFont), (QSet<uint>{0xF020, 0xF041, 0xF042}));
}

void TestFontSource::usableCount_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("DejaVu Sans .ttf") << TestFonts::dejaVuSans();
    QTest::newRow("WenQuanYi Micro Hei .ttc, first face, maps U+0000") << TestFonts::wqyMicroHei();
    QTest::newRow("Nimbus Sans .otf with CFF outlines") << TestFonts::nimbusSansOtf();
    QTest::newRow("cut: private use, U+FEFF, no U+00A0, U+10300 above the BMP") << gapsFont;
    QTest::newRow("symbol cmap") << symbolFont;
}

void TestFontSource::usableCount()
{
    QFETCH(QString, path);
    const FontInfo info = readFontInfo(path);
    QCOMPARE(info.status, FontInfo::Status::Read);
    QCOMPARE(info.usableCharacters, expectedUsableCount(TestFonts::readCharacterMap(path)));
    // The single buffered lookup must agree with looking each code point up alone.
    QCOMPARE(info.usableCharacters, countOneByOne(QRawFont(path, 16.0)));
}

void TestFontSource::unusablePaths_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<FontInfo::Status>("infoStatus");
    QTest::addColumn<PreviewCoverage::Status>("previewStatus");

    const auto noFont = FontInfo::Status::NoFont;
    const auto unreadable = FontInfo::Status::Unreadable;
    const auto previewNoFont = PreviewCoverage::Status::NoFont;
    const auto previewUnreadable = PreviewCoverage::Status::Unreadable;

    QTest::newRow("empty path") << QString() << noFont << previewNoFont;
    QTest::newRow("nothing at the path")
        << dir.filePath(QStringLiteral("absent.ttf")) << noFont << previewNoFont;
    const QString dangling = dir.filePath(QStringLiteral("dangling.ttf"));
    QFile::link(dir.filePath(QStringLiteral("absent.ttf")), dangling);
    QTest::newRow("dangling symbolic link") << dangling << noFont << previewNoFont;

    const QString empty = dir.filePath(QStringLiteral("empty.ttf"));
    writeFile(empty, QByteArray());
    QTest::newRow("empty file") << empty << unreadable << previewUnreadable;
    const QString truncated = dir.filePath(QStringLiteral("truncated.ttf"));
    writeFile(truncated, readFile(TestFonts::dejaVuSans()).left(4096));
    QTest::newRow("truncated font") << truncated << unreadable << previewUnreadable;
    const QString random = dir.filePath(QStringLiteral("random.ttf"));
    QByteArray noise(64 * 1024, Qt::Uninitialized);
    QRandomGenerator generator(20240601);
    for (char &byte : noise)
        byte = char(generator.bounded(256));
    writeFile(random, noise);
    QTest::newRow("random bytes") << random << unreadable << previewUnreadable;
    QTest::newRow("directory") << dir.path() << unreadable << previewUnreadable;

    // Opening any of these would block or never end.
    const QString pipe = dir.filePath(QStringLiteral("pipe.ttf"));
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    QTest::newRow("named pipe") << pipe << unreadable << previewUnreadable;
    QTest::newRow("/dev/zero") << QStringLiteral("/dev/zero") << unreadable << previewUnreadable;
}

void TestFontSource::unusablePaths()
{
    QFETCH(QString, path);
    QFETCH(FontInfo::Status, infoStatus);
    QFETCH(PreviewCoverage::Status, previewStatus);

    QCOMPARE(readFontInfo(path).status, infoStatus);

    const QFont baseFont(QStringLiteral("Nimbus Sans"), 9);
    const PreviewCoverage coverage = checkPreviewCoverage(path, QStringLiteral("AB"), baseFont);
    QCOMPARE(coverage.status, previewStatus);
    QCOMPARE(coverage.shownText, QString());
    QCOMPARE(coverage.font, baseFont);
}

void TestFontSource::pathsWithSpacesAndNonAscii()
{
    const QString folder = dir.filePath(QStringLiteral("字体 目录"));
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/My Font é 思源.ttf");
    QVERIFY(QFile::copy(gapsFont, path));

    const FontInfo info = readFontInfo(path);
    QCOMPARE(info.status, FontInfo::Status::Read);
    QCOMPARE(info.usableCharacters, readFontInfo(gapsFont).usableCharacters);
    // White space around a typed path is not part of it.
    const PreviewCoverage coverage = checkPreviewCoverage(QStringLiteral("  ") + path + QStringLiteral("\t"),
                                                          QStringLiteral("AZ"), QFont());
    QCOMPARE(coverage.status, PreviewCoverage::Status::SomeSupported);
    QCOMPARE(coverage.shownText, QStringLiteral("A"));
}

void TestFontSource::coverage_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<PreviewCoverage::Status>("status");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("supported");
    QTest::addColumn<int>("total");

    using S = PreviewCoverage::Status;
    const QString oldItalicA = QString::fromUcs4(U"\U00010300", 1);
    const QString grinning = QString::fromUcs4(U"\U0001F600", 1);
    const QChar zeroWidthNoBreak(0xFEFF);

    QTest::newRow("empty text") << QString() << S::NoText << QString() << 0 << 0;
    QTest::newRow("white space only") << QStringLiteral(" \t ") << S::NoText << QString() << 0 << 0;
    QTest::newRow("two supported letters")
        << QStringLiteral("AB") << S::AllSupported << QStringLiteral("AB") << 2 << 2;
    QTest::newRow("space between letters: shown, not counted")
        << QStringLiteral("A B") << S::SomeSupported << QStringLiteral("A B") << 2 << 3;
    QTest::newRow("ideographic space shown, not counted")
        << QStringLiteral("A\u3000B") << S::SomeSupported << QStringLiteral("A\u3000B") << 2 << 3;
    QTest::newRow("a letter the font lacks") << QStringLiteral("Z") << S::NothingShown << QString() << 0 << 1;
    QTest::newRow("lacking letter then space: only space shown")
        << QStringLiteral("Z ") << S::OnlySpaceShown << QStringLiteral(" ") << 0 << 2;
    QTest::newRow("some supported") << QStringLiteral("AZC") << S::SomeSupported << QStringLiteral("AC") << 2
                                    << 3;
    QTest::newRow("private use character")
        << QStringLiteral("\uEF00") << S::AllSupported << QStringLiteral("\uEF00") << 1 << 1;
    QTest::newRow("U+FEFF at the start is a character")
        << QString(zeroWidthNoBreak) + QStringLiteral("A") << S::AllSupported
        << QString(zeroWidthNoBreak) + QStringLiteral("A") << 2 << 2;
    QTest::newRow("above U+FFFF: one character, shown")
        << oldItalicA << S::AllSupported << oldItalicA << 1 << 1;
    QTest::newRow("above U+FFFF among others")
        << QStringLiteral("A") + oldItalicA + QStringLiteral("Z") << S::SomeSupported
        << QStringLiteral("A") + oldItalicA << 2 << 3;
    QTest::newRow("above U+FFFF, lacking") << grinning << S::NothingShown << QString() << 0 << 1;
    QTest::newRow("lone high surrogate: a unit of its own, never drawn")
        << QStringLiteral("A") + QChar(0xD800) << S::SomeSupported << QStringLiteral("A") << 1 << 2;
    QTest::newRow("swapped surrogates: two units")
        << QString(oldItalicA.at(1)) + oldItalicA.at(0) << S::NothingShown << QString() << 0 << 2;
    QTest::newRow("null character: counted in the total only")
        << QStringLiteral("A") + QChar(0) << S::SomeSupported << QStringLiteral("A") << 1 << 2;
}

void TestFontSource::coverage()
{
    QFETCH(QString, text);
    QFETCH(PreviewCoverage::Status, status);
    QFETCH(QString, shown);
    QFETCH(int, supported);
    QFETCH(int, total);

    const QFont baseFont(QStringLiteral("Nimbus Sans"), 9);
    const PreviewCoverage coverage = checkPreviewCoverage(gapsFont, text, baseFont);
    QCOMPARE(coverage.status, status);
    QCOMPARE(coverage.shownText, shown);
    QCOMPARE(coverage.supported, supported);
    QCOMPARE(coverage.total, total);
    if (shown.isEmpty()) {
        QCOMPARE(coverage.font, baseFont);
    } else {
        QCOMPARE(coverage.font.family(), QStringLiteral("DejaVu Sans"));
        QCOMPARE(coverage.font.pointSize(), 32);
    }
}

void TestFontSource::texts_data()
{
    QTest::addColumn<int>("useEnglish");
    QTest::addColumn<QStringList>("texts"); // see texts() for the order

    QTest::newRow("English") << 1
                             << QStringList{
                                    "No valid font selected.",
                                    "Failed to read font information.",
                                    "Current font contains 34593 usable Unicode characters.",
                                    "No valid font selected.",
                                    "Please input characters to preview.",
                                    "Failed to read font information.",
                                    "Selected font does not contain the preview characters.",
                                    "Current font does not support any of the preview characters.",
                                    "Current font supports all preview characters (12).",
                                    "Current font supports 12/40 preview characters.",
                                };
    QTest::newRow("Chinese") << 0
                             << QStringList{
                                    "未选择有效字库。",
                                    "无法读取字库信息。",
                                    "当前字库包含 34593 个可用 Unicode 字符。",
                                    "未选择有效字库。",
                                    "请输入要预览的字符。",
                                    "无法读取字库信息。",
                                    "所选字库不包含上述预览字符。",
                                    "当前字库不支持预览输入的任何字符。",
                                    "当前字库支持全部预览字符（12 个）。",
                                    "当前字库支持 12/40 个预览字符。",
                                };
}

void TestFontSource::texts()
{
    QFETCH(int, useEnglish);
    QFETCH(QStringList, texts);

    QStringList shown;
    using I = FontInfo::Status;
    for (I status : {I::NoFont, I::Unreadable, I::Read})
        shown << fontInfoText({status, 34593}, useEnglish);
    using P = PreviewCoverage::Status;
    for (P status : {P::NoFont, P::NoText, P::Unreadable, P::NothingShown, P::OnlySpaceShown, P::AllSupported,
                     P::SomeSupported}) {
        PreviewCoverage coverage;
        coverage.status = status;
        coverage.supported = 12;
        coverage.total = 40;
        shown << previewStatusText(coverage, useEnglish);
    }
    QCOMPARE(shown, texts);
}

void TestFontSource::cleanup()
{
    QCOMPARE(TestFonts::registeredApplicationFonts(), 0);
}

QTEST_MAIN(TestFontSource)
#include "tst_fontsource.moc"
